// Questions to the file system outside an open file: whether a path exists, what
// allocation a reservation of room for a write sets, and the long form of a path on
// Windows.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace zirpel {

// True when the file system reports attributes for path: files and directories alike.
[[nodiscard]] bool fileExists(const QString& path);

// The allocation size that reserving the bytes up to end sets in a file of endOfFile bytes
// with allocated bytes allocated, or none. Windows moves the end of file down to an
// allocation size set below it, and a sparse or compressed file has less allocated than it
// holds: the allocation is raised only for a write that reaches past the end of file, so
// that it then lies past that end too. A reservation never changes the file's size.
[[nodiscard]] std::optional<std::int64_t> RaisedAllocation(std::int64_t end, std::int64_t endOfFile,
                                                           std::int64_t allocated);

#ifdef _WIN32
// The form that opens a path of any length, also beyond MAX_PATH on a system without the
// long-path setting: "\\?\C:\..." or, for a share, "\\?\UNC\server\share\...". The name is
// read as Windows reads a plain path first (trailing dots and blanks dropped, "." and ".."
// resolved), since the long form skips those rules: whatever opens in the short form opens
// in the long one, and the same file.
[[nodiscard]] QString LongPathForm(const QString& path);
#endif

} // namespace zirpel
