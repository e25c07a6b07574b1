#include "core/edit/EditRowState.h"

#include "core/edit/EditCell.h"
#include "core/view/Page.h"

#include <algorithm>

namespace zirpel {

void EditRowState::load(qint32 offset, const QStringList& cells, const QString& text) {
    enabled_ = true;
    offset_ = offset;
    cells_ = cells;
    typed_ = QList<bool>(cells.size(), false);
    text_ = text;
}

bool EditRowState::editText(int index, const QString& text) {
    if (!enabled_ || index < 0 || index >= cells_.size())
        return false;
    if (text == cells_[index])
        return true;
    typed_[index] = true;
    cells_[index] = NormaliseByteCell(text);
    text_ = ReplaceTextChar(text_, index + 1, EditTextChar(ByteCellValue(cells_[index])));
    return true;
}

EditRowState::Plan EditRowState::compose(qint64 fileSize) const {
    if (offset_ > fileSize)
        return {Result::BehindEnd, {}};
    const qint64 inside = std::min<qint64>(cells_.size(), fileSize - offset_);
    const qint64 length = typed_.lastIndexOf(true) + 1;
    if (length > inside && offset_ + length > kMaxFileSize)
        return {Result::CannotWrite, {}};
    WriteRuns runs;
    for (qint64 i = 0; i < length; ++i) {
        // Inside the file only typed cells go in; past its end every cell up to the last
        // typed one, so that the file has no gap.
        if (!typed_[i] && i < inside)
            continue;
        if (runs.isEmpty() || runs.last().at + runs.last().bytes.size() != i)
            runs.append(WriteRun{i, {}});
        runs.last().bytes.append(char(ByteCellValue(cells_[i])));
    }
    return {Result::Ok, runs};
}

EditRowState::Result EditRowState::write(const QString& path, const FileIdentity& shown) const {
    Result refused = Result::CannotWrite;
    const WriteResult result =
        WriteInPlace(path, shown, offset_, cells_.size(),
                     [&](qint64 fileSize, std::span<const quint8>) -> std::optional<WriteRuns> {
                         Plan plan = compose(fileSize);
                         if (plan.result != Result::Ok) {
                             refused = plan.result;
                             return std::nullopt;
                         }
                         return std::move(plan.runs);
                     });
    if (result == WriteResult::NotRestored)
        return Result::NotRestored;
    return result == WriteResult::Written ? Result::Ok : refused;
}

} // namespace zirpel
