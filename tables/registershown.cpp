#include "registershown.h"

#include "devicerequests.h"
#include "goodsrecord.h"
#include "tablecodes.h"

#include <array>

namespace
{

QString DeviceShown(const QString &text)
{
    return DecodeDeviceText(EncodeDeviceText(text, true, kDeviceTextSize));
}

QString GoodsShown(int col, const QString &cell)
{
    switch (col) {
    case GoodsColumn::Name:
        return DeviceShown(cell);
    case GoodsColumn::Font:
        return FontText(FontFlag(cell));
    case GoodsColumn::Barcode: {
        const std::optional<qint64> n = WholeNumber(BarcodeText(cell));
        return n ? QString::number(*n) : cell;
    }
    case GoodsColumn::Price:
        return DecodePrice(EncodePrice(cell));
    default:
        return QString::number(DepartmentByte(cell));
    }
}

QList<int> ColumnsOf(TTableTab tab)
{
    if (tab == TTableTab::Goods)
        return {GoodsColumn::Name, GoodsColumn::Font, GoodsColumn::Barcode, GoodsColumn::Price,
                GoodsColumn::Department};
    QList<int> columns;
    for (int f = 0; f < TabLayout(tab).fieldsPerRecord; ++f) {
        const TFieldCells cells = FieldCells(tab, f);
        if (cells.groupCodes)
            columns << GroupColumn::Sign << GroupColumn::Vat << GroupColumn::TaxSystem;
        else
            columns << cells.textColumn;
        if (!cells.groupCodes && cells.fontColumn >= 0)
            columns << cells.fontColumn;
    }
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    return columns;
}

} // namespace

QString ShownAfterWrite(TTableTab tab, int col, const QString &cell)
{
    if (tab == TTableTab::Goods)
        return GoodsShown(col, cell);
    for (int f = 0; f < TabLayout(tab).fieldsPerRecord; ++f) {
        const TFieldCells cells = FieldCells(tab, f);
        if (cells.groupCodes)
            continue;
        if (col == cells.textColumn)
            return DeviceShown(cell);
        if (col == cells.fontColumn)
            return FontText(FontFlag(cell));
    }
    return cell;
}

QString RegisterShown(const TTableCells &cells, TTableTab tab, int col, int row)
{
    QString cell = cells.Cell(tab, col, row);
    if (tab != TTableTab::Groups || col < GroupColumn::Sign || col > GroupColumn::TaxSystem)
        return ShownAfterWrite(tab, col, cell);
    const std::optional<QString> codes = EncodeGroupCodes(
        cells.Cell(tab, GroupColumn::Sign, row), cells.Cell(tab, GroupColumn::Vat, row),
        cells.Cell(tab, GroupColumn::TaxSystem, row));
    // A group without a sign of the list is never sent: its cells stand as they are.
    if (!codes)
        return cell;
    const TGroupCells shown = DecodeGroupCodes(*codes);
    return col == GroupColumn::Sign  ? shown.paymentItem
           : col == GroupColumn::Vat ? shown.vat
                                     : shown.taxSystem;
}

const QList<int> &RunColumns(TTableTab tab)
{
    static const std::array<QList<int>, kTableTabCount> columns = {
        ColumnsOf(TTableTab::Operators), ColumnsOf(TTableTab::Goods), ColumnsOf(TTableTab::Groups),
        ColumnsOf(TTableTab::Cliche), ColumnsOf(TTableTab::Agents)};
    return columns[std::size_t(tab)];
}

const QVector<TGridColumn> &GridColumnsOf(TTableTab tab)
{
    switch (tab) {
    case TTableTab::Operators:
        return GridTexts::OperColumns();
    case TTableTab::Goods:
        return GridTexts::GoodsColumns();
    case TTableTab::Groups:
        return GridTexts::GroupColumns();
    case TTableTab::Cliche:
        return GridTexts::ClicheColumns();
    case TTableTab::Agents:
        break;
    }
    return GridTexts::AgentColumns();
}

const TGridColumn &GridColumnOf(TTableTab tab, int col)
{
    return GridColumnsOf(tab).at(col);
}
