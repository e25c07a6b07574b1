// The hit list: the offsets of the hits, shown as address texts in the base of the search.
#pragma once

#include <QAbstractListModel>
#include <vector>

class HitListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit HitListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void clear();
    // Replaces the list with offsets, written in the given address base.
    void setHits(std::vector<qint32> offsets, bool decimal);
    [[nodiscard]] int count() const { return int(offsets_.size()); }
    [[nodiscard]] QString text(int row) const;

private:
    std::vector<qint32> offsets_;
    bool decimal_ = false;
};
