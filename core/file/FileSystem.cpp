#include "core/file/FileSystem.h"

#include <QDir>
#include <QFileInfo>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>
#include <windows.h>
#endif

namespace zirpel {

bool fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

std::optional<std::int64_t> RaisedAllocation(std::int64_t end, std::int64_t endOfFile,
                                             std::int64_t allocated) {
    if (end <= endOfFile || end <= allocated)
        return std::nullopt;
    return end;
}

#ifdef _WIN32
QString LongPathForm(const QString& path) {
    const QString device = QStringLiteral("\\\\?\\");
    QString p = QDir::toNativeSeparators(path);
    if (p.startsWith(device) || p.startsWith(QLatin1String("\\\\.\\")))
        return p;
    // The system takes such a path as it is: it must be absolute, with backslashes, without
    // "." or "..", and each name as Windows would read it in the short form.
    const std::wstring shortForm = p.toStdWString();
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(shortForm.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(shortForm.c_str(), DWORD(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        p = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    else
        p = QString::fromWCharArray(full.data(), int(length));
    if (p.startsWith(QLatin1String("\\\\")))
        return device + QStringLiteral("UNC\\") + p.mid(2);
    return device + p;
}
#endif

} // namespace zirpel
