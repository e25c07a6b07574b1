// The edit row as a document: the row loaded from the table, which of its byte cells the
// user typed, and what writing it may change in the file.
#pragma once

#include "core/file/BinaryFile.h"
#include "core/file/WriteInPlace.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zirpel {

class EditRowState {
public:
    enum class Result {
        Ok,
        BehindEnd,   // the row starts behind the file's end: a write would leave a gap
        CannotWrite, // the file is another one or cannot be written, or would grow too long
        NotRestored  // the write failed partway and the old bytes could not all be put back
    };
    struct Plan {
        Result result = Result::Ok;
        WriteRuns runs; // what goes in, counted from the row's offset, when the result is Ok
    };

    // The row of the table at offset: the texts of its byte cells and of its text cell.
    // Nothing of it counts as typed yet.
    void load(qint32 offset, const QStringList& cells, const QString& text);
    // Nothing can be typed or written until the next load; the texts stay.
    void disable() { enabled_ = false; }
    [[nodiscard]] bool isEnabled() const { return enabled_; }
    [[nodiscard]] qint32 offset() const { return offset_; }
    // The text of byte cell index (from 0); empty for an index the row does not have.
    [[nodiscard]] QString cell(int index) const { return cells_.value(index); }
    [[nodiscard]] const QString& text() const { return text_; }
    [[nodiscard]] bool typed(int index) const { return typed_.value(index); }

    // The editor of byte cell index (from 0) holds text, after a change or as it closes.
    // Only a text other than the cell's makes the cell typed: an editor opened and closed,
    // Tab or a focus change over an unchanged cell reports the cell's own text, while
    // typing 00 over 00 passes through 0. The cell keeps the text normalised, and the
    // text cell shows its byte. False when the row is disabled or has no such cell.
    bool editText(int index, const QString& text);

    // What a write puts into a file now fileSize long, from the row's offset on: the runs
    // of typed cells, so that no other byte is written. Past the end, untyped cells go in
    // only where needed to reach a typed one. Refused for a row starting behind the end,
    // and for a write that would make the file longer than 2^31 - 1 bytes.
    [[nodiscard]] Plan compose(qint64 fileSize) const;
    // Writes the row into the file shown (see WriteInPlace), composed for the file's size
    // at the moment of the write.
    [[nodiscard]] Result write(const QString& path, const FileIdentity& shown) const;

private:
    bool enabled_ = false;
    qint32 offset_ = 0;
    QStringList cells_;
    QList<bool> typed_;
    QString text_;
};

} // namespace zirpel
