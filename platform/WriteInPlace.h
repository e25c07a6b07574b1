// Writing bytes into an existing file in place, through a short-lived update stream.
#pragma once

#include "platform/BinaryFile.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <span>

namespace zirpel {

// What a write puts at its offset, decided from the file as it is at the moment of the
// write: its size now and its bytes from the offset on (as many as the write covers,
// fewer where the file ends). Nothing refuses the write.
using ComposeWrite =
    std::function<std::optional<QByteArray>(qint64 size, std::span<const quint8> current)>;

// Opens the existing regular file at path for update and, when it is still the file
// shown, reads the count bytes at offset (fewer where the file ends), writes what compose
// makes of them at offset, then flushes, syncs and closes the stream. False when the file
// is another one, opening, sizing, reading, reserving, writing or syncing fails, or
// compose refuses; a write that fails partway puts the old bytes and length back. The
// bytes are read and written through the same stream, so nothing of this process comes
// between them.
[[nodiscard]] bool WriteInPlace(const QString& path, const FileIdentity& shown, qint64 offset,
                                qint64 count, const ComposeWrite& compose);

} // namespace zirpel
