#include "search/HitListModel.h"

#include "app/ByteText.h"

HitListModel::HitListModel(QObject* parent) : QAbstractListModel(parent) {}

int HitListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(offsets_.size());
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
    if (offsets_.empty())
        return;
    beginResetModel();
    offsets_.clear();
    offsets_.shrink_to_fit();
    endResetModel();
}

void HitListModel::setHits(std::vector<qint32> offsets, bool decimal) {
    beginResetModel();
    offsets_ = std::move(offsets);
    decimal_ = decimal;
    endResetModel();
}

QString HitListModel::text(int row) const {
    return zirpel::AddressText(offsets_[std::size_t(row)], decimal_);
}
