// Writing bytes into an existing file in place, through a short-lived update stream.
#pragma once

#include "core/file/BinaryFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <span>

namespace zirpel {

// Bytes that go in at a place counted from the write's offset.
struct WriteRun {
    qint64 at = 0;
    QByteArray bytes;
    friend bool operator==(const WriteRun&, const WriteRun&) = default;
};
// In ascending order, apart from each other; only these bytes are written.
using WriteRuns = QList<WriteRun>;

// What a write puts into the file, decided from the file as it is at the moment of the
// write: its size now and its bytes from the offset on (as many as the write covers,
// fewer where the file ends). Nothing refuses the write.
using ComposeWrite =
    std::function<std::optional<WriteRuns>(qint64 size, std::span<const quint8> current)>;

// Opens the existing regular file at path for update and, when it is still the file
// shown, reads the count bytes at offset (fewer where the file ends) and writes the runs
// compose makes of them, each inside those count bytes, then flushes, syncs and closes
// the stream. The range is set aside first without changing the file's length, so the
// file grows only as the bytes go in. False when the file is another one, opening,
// sizing, reading, reserving, writing, syncing or closing fails, or compose refuses; once
// a byte may have gone in, a failure puts the old bytes and length back. The bytes are
// read and written through the same open file, so nothing of this process comes between
// them.
[[nodiscard]] bool WriteInPlace(const QString& path, const FileIdentity& shown, qint64 offset,
                                qint64 count, const ComposeWrite& compose);

} // namespace zirpel
