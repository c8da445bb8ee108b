#pragma once

#include "framesetz48.h"
#include "stringgrid.h"
#include "tablecells.h"

// The tables frame's grids as the runs and comparisons address cells.
class TFrameCells : public TTableCells
{
public:
    explicit TFrameCells(const TFrameSetZ48 &frame) : frame_(frame) {}

    QString Cell(TTableTab tab, int col, int row) const override
    {
        const TStringGrid *grid = frame_.GridOfTab(int(tab));
        return grid ? grid->Cells(col, row) : QString();
    }
    void SetCell(TTableTab tab, int col, int row, const QString &text) override
    {
        if (TStringGrid *grid = frame_.GridOfTab(int(tab)))
            grid->SetCells(col, row, text);
    }

private:
    const TFrameSetZ48 &frame_;
};
