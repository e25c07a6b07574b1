#include "core/file/FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace zirpel {

bool fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

#ifdef _WIN32
QString LongPathForm(const QString& path) {
    const QString device = QStringLiteral("\\\\?\\");
    QString p = QDir::toNativeSeparators(path);
    if (p.startsWith(device) || p.startsWith(QLatin1String("\\\\.\\")))
        return p;
    // The system takes such a path as it is: absolute, with backslashes, without "." or "..".
    p = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (p.startsWith(QLatin1String("\\\\")))
        return device + QStringLiteral("UNC\\") + p.mid(2);
    return device + p;
}
#endif

} // namespace zirpel
