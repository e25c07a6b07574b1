#include "core/search/HitListModel.h"

#include "core/system/ReleaseMemory.h"
#include "core/text/ByteText.h"

namespace zirpel {

HitListModel::HitListModel(QObject* parent) : QAbstractListModel(parent) {}

int HitListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QModelIndex HitListModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= count() || parent.isValid())
        return {};
    return createIndex(row, 0);
}

QVariant HitListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count())
        return {};
    return text(index.row());
}

Qt::ItemFlags HitListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void HitListModel::clear() {
    if (hits_.count() == 0)
        return;
    beginResetModel();
    hits_.clear();
    endResetModel();
    // The scan's second thread allocated part of the list: without this its pages would
    // stay resident until the next search reuses them.
    ReleaseFreedMemory();
}

void HitListModel::setHits(HitStore hits, bool decimal) {
    beginResetModel();
    hits_ = std::move(hits);
    decimal_ = decimal;
    endResetModel();
}

QString HitListModel::text(int row) const {
    const qint32 at = hits_.at(row);
    return at < 0 ? QString() : AddressText(at, decimal_);
}

} // namespace zirpel
