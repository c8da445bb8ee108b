#pragma once

#include "tablelayout.h"

#include <QString>

// The tables' values as the runs read and fill them: cell texts addressed like the grids,
// (column, row) of a tab, row 1 the first record, column 1 the first value column. The windows
// hand their grids over; other programs their own records.
class TTableCells
{
public:
    virtual ~TTableCells() = default;

    virtual QString Cell(TTableTab tab, int col, int row) const = 0;
    virtual void SetCell(TTableTab tab, int col, int row, const QString &text) = 0;
};
