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

// How a write ended.
enum class WriteResult {
    Written,
    // Not written, and the file holds nothing of it: refused, failed before a byte went
    // in, or failed later with the old bytes put back.
    Unchanged,
    // Failed after bytes went in, and putting the old ones back failed too: the file may
    // hold some of the bytes written.
    NotRestored,
};

// What is written: a row's typed bytes may lengthen a file that another program cut
// meanwhile, a replacement never.
enum class WriteKind { Row, Replace };

// Test seam, never set by the program: called before run k (from 0) is checked and
// written, where another program may act on the file.
inline std::function<void(qsizetype run)> testBeforeRun;

// Opens the existing regular file at path for update and, when it is still the file
// shown, reads the count bytes at offset (fewer where the file ends) and writes the runs
// compose makes of them, each inside those count bytes, then flushes, syncs and closes
// the stream. The range is set aside first without changing the file's length, so the
// file grows only as the bytes go in. Fails when the file is another one, opening,
// sizing, reading, reserving, writing, syncing or closing fails, or compose refuses; and
// stops before a run whose place another program cut meanwhile: one inside the old size
// needs the file to hold its first byte (a replacement: its last too), one past it the
// old size. Once a byte has gone in, a failure puts back the old bytes of exactly what
// went in where the file still holds them, and cuts the file back to the size it had
// before this write lengthened it. The bytes are read and written through the same open
// file, so nothing of this process comes between them.
[[nodiscard]] WriteResult WriteInPlace(const QString& path, const FileIdentity& shown,
                                       qint64 offset, qint64 count, const ComposeWrite& compose,
                                       WriteKind kind = WriteKind::Row);

} // namespace zirpel
