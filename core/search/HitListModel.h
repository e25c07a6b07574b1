// The hit list: the offsets of the hits, shown as address texts in the base of the search.
// Only the store of offsets is kept (at most 4 bytes a hit, less when they are dense); the
// texts are made when the view asks, so any number of hits costs no time until shown.
#pragma once

#include "core/search/HitStore.h"

#include <QAbstractListModel>

namespace zirpel {

class HitListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit HitListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    // The view asks for an index of every row when it lays the list out: answered
    // without the base class's virtual row and column counts.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void clear();
    // Replaces the list with the hits of a search, written in the given address base.
    void setHits(HitStore hits, bool decimal);
    // Rows stop below 2^31: offsets do, and so do the hits of a file under 2 GiB.
    [[nodiscard]] int count() const { return int(hits_.count()); }
    // The entry text of a row, as the list shows it, and the offset it stands for; empty
    // and -1 for a row the list does not have.
    [[nodiscard]] QString text(int row) const;
    [[nodiscard]] qint32 offset(int row) const { return hits_.at(row); }

private:
    HitStore hits_;
    bool decimal_ = false;
};

} // namespace zirpel
