#include "configcells.h"

#include "gridtexts.h"
#include "registershown.h"

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

// Element row - 1 of records, field col - 1 of columns; nullptr outside them. Records may be
// const, and so is the field then.
template <typename Records, typename R, std::size_t N>
auto *FieldOf(Records &records, const TColumns<R, N> &columns, int col, int row)
{
    decltype(&(records[0].*columns[0])) none = nullptr;
    if (row < 1 || row > int(records.size()) || col < 1 || col > int(N))
        return none;
    return &(records[std::size_t(row - 1)].*columns[std::size_t(col - 1)]);
}

// The field behind a cell of the record, const as the record is.
template <typename Z> auto *FieldIn(Z &tables, TTableTab tab, int col, int row)
{
    switch (tab) {
    case TTableTab::Operators:
        return FieldOf(tables.Oper, kOperColumns, col, row);
    case TTableTab::Goods:
        return FieldOf(tables.PredmRasch, kGoodsColumns, col, row);
    case TTableTab::Groups:
        return FieldOf(tables.RpiznPredmRasch, kGroupColumns, col, row);
    case TTableTab::Cliche:
        return FieldOf(tables.Klishe, kClicheColumns, col, row);
    case TTableTab::Agents:
        break;
    }
    return FieldOf(tables.Agent, kAgentColumns, col, row);
}

} // namespace

int TConfigCells::BoundColumns(TTableTab tab)
{
    switch (tab) {
    case TTableTab::Operators:
        return int(kOperColumns.size());
    case TTableTab::Goods:
        return int(kGoodsColumns.size());
    case TTableTab::Groups:
        return int(kGroupColumns.size());
    case TTableTab::Cliche:
        return int(kClicheColumns.size());
    case TTableTab::Agents:
        break;
    }
    return int(kAgentColumns.size());
}

QString TConfigCells::Cell(TTableTab tab, int col, int row) const
{
    if (const QString *field = FieldIn(*tables_, tab, col, row))
        return *field;
    return GridColumnsOf(tab).value(col).defaultText;
}

void TConfigCells::SetCell(TTableTab tab, int col, int row, const QString &text)
{
    if (!writable_)
        return;
    if (QString *field = FieldIn(*writable_, tab, col, row))
        *field = text;
}
