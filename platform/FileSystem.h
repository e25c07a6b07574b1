// The existence test used before a file is opened.
#pragma once

#include <QString>

namespace zirpel {

// True when the file system reports attributes for path: files and directories alike.
[[nodiscard]] bool fileExists(const QString& path);

} // namespace zirpel
