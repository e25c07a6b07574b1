#include "FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QByteArray ReadWholeFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QString MakeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    WriteWholeFile(path, bytes);
    return QDir::toNativeSeparators(path);
}

bool RunningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

bool SaveOver(const QString& from, const QString& to) {
#ifdef _WIN32
    if (MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                    reinterpret_cast<const wchar_t*>(to.utf16()), MOVEFILE_REPLACE_EXISTING))
        return true;
    qWarning("SaveOver: MoveFileExW failed with error %lu", GetLastError());
    return false;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

#ifdef _WIN32
// Windows has named pipes only under \\.\pipe\, never at a path in a folder.
PipeAtPath::PipeAtPath(const QString&) {}
#else
PipeAtPath::PipeAtPath(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    made_ = mkfifo(name.constData(), 0600) == 0;
    writer_ = std::jthread([this, name](std::stop_token stop) {
        const auto due = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (; !stop.stop_requested(); std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
            if (std::chrono::steady_clock::now() < due)
                continue;
            // Succeeds only while a reader has the pipe open.
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                waited_ = true;
                ::close(fd);
            }
        }
    });
}
#endif
