// Writing bytes into a file in place through a short-lived update stream.
#pragma once

#include <QString>
#include <QtGlobal>
#include <span>

namespace zirpel {

// Opens the existing file at path for update, writes bytes at offset (a file shorter
// than offset + size grows to that length) and flushes, syncs and closes the stream.
// False when opening, positioning, writing or syncing fails; the stream is closed then
// too, and a file that cannot be opened is left untouched.
[[nodiscard]] bool WriteInPlace(const QString& path, qint64 offset, std::span<const quint8> bytes);

} // namespace zirpel
