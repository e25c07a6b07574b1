#include "FileBytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#ifndef _WIN32
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
    return path;
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
