#pragma once

#include "exchangelog.h"

#include <QAbstractListModel>

// The log's lines for its view: the records stay raw in a bounded ring and each line is
// made when the view asks for it, so 100 000 lines cost their frames and nothing more.
class TExchangeLogModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit TExchangeLogModel(int capacity = kExchangeLogCapacity, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Adds the records at the end; returns how many of the oldest rows dropped for them.
    int Append(std::vector<TExchangeRecord> &&records);
    void Clear();
    QString Line(int row) const { return ExchangeLogLine(store_.At(row)); }
    const TExchangeLogStore &Store() const { return store_; }

private:
    TExchangeLogStore store_;
};
