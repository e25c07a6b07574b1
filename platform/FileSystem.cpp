#include "platform/FileSystem.h"

#include <QFileInfo>

bool fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}
