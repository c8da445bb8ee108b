#include "tableverify.h"

#include "framesetz48.h"
#include "registershown.h"
#include "stringgrid.h"
#include "verifywindow.h"

namespace
{

TStringGrid *GoToDifference(TFrameSetZ48 &frame, TTableTab tab, int col, int row)
{
    // The tabs are locked while a run is under way; the cell waits for it.
    if (frame.RunLocked())
        return nullptr;
    frame.ShowTab(tab);
    TStringGrid *grid = frame.Grid(tab);
    grid->SetCurrentCell(col, row);
    grid->window()->activateWindow();
    grid->setFocus();
    return grid;
}

} // namespace

void ShowTableDifferences(TFrameSetZ48 &frame, TTableTab tab,
                          const QList<TTableDifference> &differences)
{
    const QString &noun = TabLayout(tab).placeNoun;
    QList<TVerifyLine> lines;
    for (const TTableDifference &d : differences)
        lines.append({noun + QLatin1Char(' ') + QString::number(d.record),
                      GridColumnOf(tab, d.col).header.trimmed(), d.grid, d.device, d.col,
                      d.record});
    // The window is the frame's child: it never outlives it.
    ShowDifferences(frame, frame.TabCaption(tab), lines, [&frame, tab](int col, int row) {
        return GoToDifference(frame, tab, col, row);
    });
}
