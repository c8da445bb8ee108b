#include "exchangelogmodel.h"

TExchangeLogModel::TExchangeLogModel(int capacity, QObject *parent)
    : QAbstractListModel(parent), store_(capacity)
{
}

int TExchangeLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : store_.Size();
}

QVariant TExchangeLogModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= store_.Size())
        return {};
    return Line(index.row());
}

int TExchangeLogModel::Append(std::vector<TExchangeRecord> &&records)
{
    const int count = int(records.size());
    if (count == 0)
        return 0;
    const int capacity = store_.Capacity();
    if (count >= capacity) {
        const int dropped = store_.Size();
        beginResetModel();
        store_.Clear();
        store_.Append(std::move(records));
        endResetModel();
        return dropped;
    }
    // The view hears of the rows that go and of those that come as two steps, so its selection
    // and scroll position follow the rows that stay.
    const int dropped = std::max(0, store_.Size() + count - capacity);
    if (dropped > 0) {
        beginRemoveRows(QModelIndex(), 0, dropped - 1);
        store_.DropOldest(dropped);
        endRemoveRows();
    }
    const int first = store_.Size();
    beginInsertRows(QModelIndex(), first, first + count - 1);
    store_.Append(std::move(records));
    endInsertRows();
    return dropped;
}

void TExchangeLogModel::Clear()
{
    beginResetModel();
    store_.Clear();
    endResetModel();
}
