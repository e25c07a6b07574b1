// Writing bytes into an existing file in place, through a short-lived update stream.
#pragma once

#include "platform/BinaryFile.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <span>

namespace zirpel {

enum class Growth {
    Typed,  // past the end go only the bytes up to typedEnd: those the user typed
    Refused // bytes that would reach past the end are refused before anything is written
};

// How many of count bytes at offset go into a file now fileSize long: those inside the
// file, and with Growth::Typed those up to typedEnd past its end. Nothing when the write
// is refused: it starts past the end (it would leave a gap), or with Growth::Refused it
// does not fit.
[[nodiscard]] std::optional<qint64> WriteLength(qint64 offset, qint64 count, qint64 typedEnd,
                                                qint64 fileSize, Growth growth);

// Opens the existing regular file at path for update and, when it is still the file
// shown, writes the bytes WriteLength allows at offset, then flushes, syncs and closes the
// stream. False when the file is another one or opening, sizing, reserving, writing or
// syncing fails, or the write is refused; a write that fails partway puts the old bytes
// and length back.
[[nodiscard]] bool WriteInPlace(const QString& path, const FileIdentity& shown, qint64 offset,
                                std::span<const quint8> bytes, Growth growth, qint64 typedEnd = 0);

} // namespace zirpel
