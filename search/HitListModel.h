// The hit list: the offsets of the hits, shown as address texts in the base of the search.
// Only the offsets are kept (4 bytes a hit); the texts are made when the view asks, so
// millions of hits cost little memory and no time until they are shown.
#pragma once

#include <QAbstractListModel>
#include <vector>

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
    // Replaces the list with offsets (ascending), written in the given address base.
    void setHits(std::vector<qint32> offsets, bool decimal);
    [[nodiscard]] int count() const { return int(offsets_.size()); }
    // The entry text of a row, as the list shows it.
    [[nodiscard]] QString text(int row) const;

private:
    std::vector<qint32> offsets_;
    bool decimal_ = false;
};
