// The existence test used before a file is opened, and the long form of a path on Windows.
#pragma once

#include <QString>

namespace zirpel {

// True when the file system reports attributes for path: files and directories alike.
[[nodiscard]] bool fileExists(const QString& path);

#ifdef _WIN32
// The form that opens a path of any length, also beyond MAX_PATH on a system without the
// long-path setting: "\\?\C:\..." or, for a share, "\\?\UNC\server\share\...".
[[nodiscard]] QString LongPathForm(const QString& path);
#endif

} // namespace zirpel
