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
                                         const TTableCells &grid, const TTableCells &read)
{
    QList<TTableDifference> differences;
    for (int record = first; record <= last; ++record) {
        for (int col : RunColumns(tab)) {
            const QString device = read.Cell(tab, col, record);
            if (RegisterShown(grid, tab, col, record) != device)
                differences.append({record, col, grid.Cell(tab, col, record), device});
        }
    }
    return differences;
}
