#pragma once

#include "tablecells.h"
#include "tablelayout.h"

#include <QHash>
#include <QList>
#include <QString>

// Cells kept apart from any grid: what a read of the register fills when the grid itself must
// stay as it is. Cells never set read as empty.
class TTableTexts : public TTableCells
{
public:
    QString Cell(TTableTab tab, int col, int row) const override;
    void SetCell(TTableTab tab, int col, int row, const QString &text) override;

private:
    static quint64 Key(TTableTab tab, int col, int row);
    QHash<quint64, QString> texts_;
};

// One field whose register value differs from the grid's.
struct TTableDifference {
    int record = 0;
    int col = 0;
    QString grid;     // the grid's text as it stands
    QString device;   // the register's, as the grid shows it after a read
    QString expected; // what the grid's text becomes in the register
    bool operator==(const TTableDifference &) const = default;
};

// The fields of records first..last in the given columns whose register text (in read) is not
// what the grid's text becomes in the register, in record and column order.
QList<TTableDifference> TableDifferences(TTableTab tab, int first, int last,
                                         const TTableCells &grid, const TTableCells &read,
                                         const QList<int> &columns);
// The same over the columns a run of the tab sends and fills.
QList<TTableDifference> TableDifferences(TTableTab tab, int first, int last,
                                         const TTableCells &grid, const TTableCells &read);
