// Writing bytes into an existing file in place, through a short-lived update stream.
#pragma once

#include <QString>
#include <QtGlobal>
#include <span>

namespace zirpel {

enum class Growth {
    Allowed, // a file shorter than offset + size grows to that length
    Refused  // bytes that would reach past the end are refused before anything is written
};

// Opens the existing regular file at path for update, writes bytes at offset, then
// flushes, syncs and closes the stream. False when opening, sizing, positioning,
// writing or syncing fails, or when growth is refused and the bytes do not fit; a file
// that cannot be opened is left untouched.
[[nodiscard]] bool WriteInPlace(const QString& path, qint64 offset, std::span<const quint8> bytes,
                                Growth growth);

} // namespace zirpel
