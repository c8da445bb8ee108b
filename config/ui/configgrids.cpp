#include "configgrids.h"

#include "config.h"
#include "framegsmsetting.h"
#include "framesetz48.h"
#include "stringgrid.h"

#include <array>

namespace
{

// The record fields of one grid row, column 1 first.
template <typename R, std::size_t N> using TColumns = std::array<QString R::*, N>;

constexpr TColumns<TConfig_Oper, 8> kOperColumns = {
    &TConfig_Oper::Position,     &TConfig_Oper::PositionFont, &TConfig_Oper::Surname1,
    &TConfig_Oper::Surname1Font, &TConfig_Oper::Surname2,     &TConfig_Oper::Surname2Font,
    &TConfig_Oper::Password,     &TConfig_Oper::Inn,
};
constexpr TColumns<TConfig_PredmRasch, 5> kGoodsColumns = {
    &TConfig_PredmRasch::Name,  &TConfig_PredmRasch::Font,       &TConfig_PredmRasch::Barcode,
    &TConfig_PredmRasch::Price, &TConfig_PredmRasch::Department,
};
// Column 5, the tax system, has no field.
constexpr TColumns<TConfig_RpiznPredmRasch, 4> kGroupColumns = {
    &TConfig_RpiznPredmRasch::Name,
    &TConfig_RpiznPredmRasch::NameFont,
    &TConfig_RpiznPredmRasch::ItemSign,
    &TConfig_RpiznPredmRasch::TaxNumber,
};
constexpr TColumns<TConfig_Klishe, 2> kClicheColumns = {&TConfig_Klishe::Text,
                                                        &TConfig_Klishe::Font};
constexpr TColumns<TConfig_Agent, 2> kAgentColumns = {&TConfig_Agent::Value, &TConfig_Agent::Font};

// Element i of records is row i + 1 of the grid.
template <typename R, std::size_t Count, std::size_t N>
void FromGrid(std::array<R, Count> &records, const TStringGrid &grid, const TColumns<R, N> &columns)
{
    for (std::size_t i = 0; i < Count; ++i)
        for (std::size_t c = 0; c < N; ++c)
            records[i].*columns[c] = grid.Cells(int(c) + 1, int(i) + 1);
}

template <typename R, std::size_t Count, std::size_t N>
void ToGrid(const std::array<R, Count> &records, TStringGrid &grid, const TColumns<R, N> &columns)
{
    // One change announcement for the whole grid instead of one per cell.
    grid.BeginUpdate();
    for (std::size_t i = 0; i < Count; ++i)
        for (std::size_t c = 0; c < N; ++c)
            grid.SetCells(int(c) + 1, int(i) + 1, records[i].*columns[c]);
    grid.EndUpdate();
}

constexpr int kGsmValueColumn = 1;

} // namespace

void ConfigFromGrids(TConfig &config, const TFrameGsmSetting &gsm, const TFrameSetZ48 &tables)
{
    for (int i = 0; i < kConfigGsmCount; ++i)
        config.Gsm.Values[i] = gsm.Grid()->Cells(kGsmValueColumn, i + 1);
    TConfig_Z48 &t = config.Tables;
    FromGrid(t.Oper, *tables.sgOper, kOperColumns);
    FromGrid(t.PredmRasch, *tables.SGBase, kGoodsColumns);
    FromGrid(t.RpiznPredmRasch, *tables.sgUsl, kGroupColumns);
    FromGrid(t.Klishe, *tables.sgKl, kClicheColumns);
    FromGrid(t.Agent, *tables.sgAgents, kAgentColumns);
}

void ConfigToGrids(const TConfig &config, TFrameGsmSetting &gsm, TFrameSetZ48 &tables)
{
    TStringGrid &gsmGrid = *gsm.Grid();
    gsmGrid.BeginUpdate();
    for (int i = 0; i < kConfigGsmCount; ++i)
        gsmGrid.SetCells(kGsmValueColumn, i + 1, config.Gsm.Values[i]);
    gsmGrid.EndUpdate();
    const TConfig_Z48 &t = config.Tables;
    ToGrid(t.Oper, *tables.sgOper, kOperColumns);
    ToGrid(t.PredmRasch, *tables.SGBase, kGoodsColumns);
    ToGrid(t.RpiznPredmRasch, *tables.sgUsl, kGroupColumns);
    ToGrid(t.Klishe, *tables.sgKl, kClicheColumns);
    ToGrid(t.Agent, *tables.sgAgents, kAgentColumns);
}
