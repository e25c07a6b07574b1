#include "core/search/SearchState.h"

#include "core/search/HitScanner.h"

namespace zirpel {

PatternError SearchState::takeSearchPattern(const QString& text, PatternBase base) {
    ParsedPattern parsed = ParsePattern(text, base);
    if (parsed.ok())
        search_ = parsed.bytes;
    return parsed.error;
}

PatternError SearchState::takeReplacePattern(const QString& text, PatternBase base) {
    ParsedPattern parsed = ParsePattern(text, base);
    if (parsed.ok() && parsed.bytes.size() <= kMaxPatternBytes)
        replacement_ = parsed.bytes;
    return parsed.error;
}

void SearchState::search(BinaryFile& file, qint64 size, bool decimal) {
    HitStore hits;
    readFailed_ = !ScanHits(
        {reinterpret_cast<const quint8*>(search_.constData()), std::size_t(search_.size())}, file,
        hits, size);
    hits_.setHits(std::move(hits), decimal);
    phase_ = hits_.count() > 0 ? Phase::Listed : Phase::Ready;
    searched_ = true;
}

void SearchState::reset() {
    phase_ = Phase::Ready;
    searched_ = false;
    hits_.clear();
}

void SearchState::clearHits() {
    hits_.clear();
}

SearchState::ReplaceCheck SearchState::checkReplace(const QString& search,
                                                    const QString& replacement, int row,
                                                    qint64 fileSize) const {
    // In one base equal text lengths mean equal byte counts. A replacement too long for
    // any search text was not kept and ends here.
    if (replacement.size() != search.size() || replacement.size() > kMaxPatternChars)
        return ReplaceCheck::LengthsDiffer;
    if (row < 0 || row >= hits_.count())
        return ReplaceCheck::NoSelection;
    // A replace never lengthens the file, which may have been cut since the search.
    if (hits_.offset(row) + qint64(replacement_.size()) > fileSize)
        return ReplaceCheck::PastEnd;
    return ReplaceCheck::Ok;
}

WriteResult SearchState::replace(const QString& path, const FileIdentity& shown,
                                 qint64 offset) const {
    return WriteInPlace(
        path, shown, offset, replacement_.size(),
        [this](qint64, std::span<const quint8> current) -> std::optional<WriteRuns> {
            if (qint64(current.size()) != replacement_.size())
                return std::nullopt;
            return WriteRuns{{0, replacement_}};
        },
        WriteKind::Replace);
}

} // namespace zirpel
