#pragma once

#include "framesetz48.h"
#include "stringgrid.h"
#include "tablecells.h"

#include <QPointer>

// The tables frame's grids as the runs and comparisons address cells. Window messages run
// between a run's exchanges: once the frame is gone, its cells read empty and take nothing.
class TFrameCells : public TTableCells
{
public:
    explicit TFrameCells(const TFrameSetZ48 &frame) : frame_(&frame) {}

    QString Cell(TTableTab tab, int col, int row) const override
    {
        const TStringGrid *grid = frame_ ? frame_->Grid(tab) : nullptr;
        return grid ? grid->Cells(col, row) : QString();
    }
    void SetCell(TTableTab tab, int col, int row, const QString &text) override
    {
        if (TStringGrid *grid = frame_ ? frame_->Grid(tab) : nullptr)
            grid->SetCells(col, row, text);
    }

private:
    QPointer<const TFrameSetZ48> frame_;
};
