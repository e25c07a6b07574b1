// The search panel as a document: the patterns to search for and to write, the hits of
// the last search and whether they are listed, and the checks a replace passes before
// the user is asked.
#pragma once

#include "core/file/BinaryFile.h"
#include "core/file/WriteInPlace.h"
#include "core/search/HitListModel.h"
#include "core/search/Pattern.h"

#include <QByteArray>
#include <QString>
#include <span>

namespace zirpel {

class SearchState {
public:
    // Ready: a search can start. Listed: the hits of a search are shown, and the texts
    // they were found for cannot change.
    enum class Phase { Ready, Listed };
    // What stops a replace before the user is asked, in the order of the checks.
    enum class ReplaceCheck { Ok, LengthsDiffer, NoSelection, PastEnd };

    [[nodiscard]] Phase phase() const { return phase_; }
    [[nodiscard]] HitListModel& hits() { return hits_; }
    [[nodiscard]] const HitListModel& hits() const { return hits_; }

    // Parses a pattern entry and keeps its bytes; a failed parse keeps the pattern before.
    [[nodiscard]] PatternError takeSearchPattern(const QString& text, PatternBase base);
    // The same for the replacement. One longer than any search pattern is not kept: the
    // length check stops the replace.
    [[nodiscard]] PatternError takeReplacePattern(const QString& text, PatternBase base);
    [[nodiscard]] const QByteArray& searchPattern() const { return search_; }
    [[nodiscard]] const QByteArray& replacePattern() const { return replacement_; }

    // Lists the hits of the search pattern in the file, read at explicit offsets, with
    // their texts in the given address base: Listed when there are any, else Ready. The
    // file held size bytes when it was opened.
    void search(BinaryFile& file, qint64 size, bool decimal);
    // The last search's file ended before that size (a read failed, or it was cut
    // short): the list holds the hits before the first position that could not be read.
    [[nodiscard]] bool readFailed() const { return readFailed_; }
    // A search ran since the last reset: its count stands, even of no hits, and even when
    // the entries were emptied since.
    [[nodiscard]] bool searched() const { return searched_; }
    // Ready with an empty list, and no search run.
    void reset();
    // The entries are emptied, and nothing else: Listed stays listed, and a replace then
    // finds no entry selected.
    void clearHits();

    // The checks before the question, for the two entries' texts (compared by their
    // lengths), the selected row (-1: none) and the file's size now.
    [[nodiscard]] ReplaceCheck checkReplace(const QString& search, const QString& replacement,
                                            int row, qint64 fileSize) const;
    // Writes the replacement at offset into the file shown (see WriteInPlace), never past
    // its end as it is at that moment.
    [[nodiscard]] WriteResult replace(const QString& path, const FileIdentity& shown,
                                      qint64 offset) const;

private:
    Phase phase_ = Phase::Ready;
    bool readFailed_ = false;
    bool searched_ = false;
    QByteArray search_;
    QByteArray replacement_;
    HitListModel hits_;
};

} // namespace zirpel
