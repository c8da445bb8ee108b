#include "tabledifferences.h"

#include "registershown.h"

quint64 TTableTexts::Key(TTableTab tab, int col, int row)
{
    return (quint64(tab) << 48) | (quint64(quint16(col)) << 32) | quint32(row);
}

QString TTableTexts::Cell(TTableTab tab, int col, int row) const
{
    return texts_.value(Key(tab, col, row));
}

void TTableTexts::SetCell(TTableTab tab, int col, int row, const QString &text)
{
    texts_.insert(Key(tab, col, row), text);
}

QList<TTableDifference> TableDifferences(TTableTab tab, int first, int last,
                                         const TTableCells &grid, const TTableCells &read,
                                         const QList<int> &columns)
{
    QList<TTableDifference> differences;
    for (int record = first; record <= last; ++record) {
        for (int col : columns) {
            const QString expected = RegisterShown(grid, tab, col, record);
            const QString device = read.Cell(tab, col, record);
            if (expected != device)
                differences.append({record, col, grid.Cell(tab, col, record), device, expected});
        }
    }
    return differences;
}

QList<TTableDifference> TableDifferences(TTableTab tab, int first, int last,
                                         const TTableCells &grid, const TTableCells &read)
{
    return TableDifferences(tab, first, last, grid, read, RunColumns(tab));
}
