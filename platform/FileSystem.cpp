#include "platform/FileSystem.h"

#include <QFileInfo>

namespace zirpel {

bool fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

} // namespace zirpel
