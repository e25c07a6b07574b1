#include "edit/EditRowState.h"

#include "edit/EditCell.h"
#include "platform/WriteInPlace.h"

#include <algorithm>

namespace zirpel {

namespace {

// Offsets and sizes are signed 32-bit: a longer file could not be opened again.
constexpr qint64 kMaxFileSize = 2147483647;

} // namespace

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

EditRowState::Plan EditRowState::compose(qint64 fileSize, std::span<const quint8> current) const {
    if (offset_ > fileSize)
        return {Result::BehindEnd, {}};
    const qint64 inside =
        std::min<qint64>({qint64(cells_.size()), fileSize - offset_, qint64(current.size())});
    qint64 length = inside;
    for (qint64 i = inside; i < cells_.size(); ++i) {
        if (typed_[i])
            length = i + 1;
    }
    if (length > inside && offset_ + length > kMaxFileSize)
        return {Result::CannotWrite, {}};
    QByteArray bytes(length, Qt::Uninitialized);
    for (qint64 i = 0; i < length; ++i)
        bytes[i] = char(typed_[i] || i >= inside ? ByteCellValue(cells_[i]) : current[i]);
    return {Result::Ok, bytes};
}

EditRowState::Result EditRowState::write(const QString& path, const FileIdentity& shown) const {
    Result refused = Result::CannotWrite;
    const bool written = WriteInPlace(
        path, shown, offset_, cells_.size(),
        [&](qint64 fileSize, std::span<const quint8> current) -> std::optional<QByteArray> {
            Plan plan = compose(fileSize, current);
            if (plan.result != Result::Ok) {
                refused = plan.result;
                return std::nullopt;
            }
            return std::move(plan.bytes);
        });
    return written ? Result::Ok : refused;
}

} // namespace zirpel
