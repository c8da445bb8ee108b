#include "configgrids.h"

#include "config.h"
#include "configcells.h"
#include "framegsmsetting.h"
#include "framesetz48.h"
#include "gridsheet.h"
#include "stringgrid.h"

namespace
{

constexpr int kGsmValueColumn = 1;

} // namespace

void ConfigFromGrids(TConfig &config, const TFrameGsmSetting &gsm, const TFrameSetZ48 &tables)
{
    for (int i = 0; i < kConfigGsmCount; ++i)
        config.Gsm.Values[i] = gsm.Grid()->Cells(kGsmValueColumn, i + 1);
    TConfigCells cells(config.Tables);
    for (int tab = 0; tab < kTableTabCount; ++tab) {
        const TTableTab t = TTableTab(tab);
        const TStringGrid &grid = *tables.Grid(t);
        for (int row = 1; row <= TabLayout(t).maximum; ++row)
            for (int col = 1; col <= TConfigCells::BoundColumns(t); ++col)
                cells.SetCell(t, col, row, grid.Cells(col, row));
    }
}

void ConfigToGrids(const TConfig &config, TFrameGsmSetting &gsm, TFrameSetZ48 &tables)
{
    TStringGrid &gsmGrid = *gsm.Grid();
    gsmGrid.BeginUpdate();
    for (int i = 0; i < kConfigGsmCount; ++i)
        gsmGrid.SetCells(kGsmValueColumn, i + 1, config.Gsm.Values[i]);
    gsmGrid.EndUpdate();
    const TConfigCells cells(config.Tables);
    for (int tab = 0; tab < kTableTabCount; ++tab) {
        const TTableTab t = TTableTab(tab);
        TStringGrid &grid = *tables.Grid(t);
        // One change announcement for the whole grid instead of one per cell.
        grid.BeginUpdate();
        for (int row = 1; row <= TabLayout(t).maximum; ++row)
            for (int col = 1; col <= TConfigCells::BoundColumns(t); ++col)
                grid.SetCells(col, row, cells.Cell(t, col, row));
        grid.EndUpdate();
        grid.NewHistory(kHistoryAfterLoad);
    }
}
