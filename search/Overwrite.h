// Overwriting bytes inside a file through a short-lived update stream of its own.
#pragma once

#include <QString>
#include <QtGlobal>
#include <span>

namespace zirpel {

// Opens the existing regular file at path for update, writes bytes at offset, then
// flushes, syncs and closes the stream. The file keeps its length: bytes that would reach
// past its end are refused before anything is written. False when opening, sizing,
// positioning, writing or syncing fails, or when the bytes do not fit.
[[nodiscard]] bool OverwriteInPlace(const QString& path, qint64 offset,
                                    std::span<const quint8> bytes);

} // namespace zirpel
