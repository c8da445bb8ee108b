#include "clicompare.h"

#include "configcells.h"
#include "devicerequests.h"
#include "goodsrecord.h"
#include "gsmparams.h"
#include "tablecodes.h"
#include "win1251.h"

namespace
{

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString DeviceShown(const QString &text, bool upperCase, int maxChars)
{
    return DecodeDeviceText(EncodeDeviceText(text, upperCase, maxChars));
}

QString GoodsShown(int col, const QString &cell)
{
    switch (col) {
    case GoodsColumn::Name:
        return DeviceShown(cell, true, kDeviceTextSize);
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

// The register's GSM value as a read shows it: capitals where it is written so, at most the
// characters its fields hold.
QString GsmShown(const TGsmParam &param, const QString &value)
{
    const int fields = param.DeviceRow == kGsmServerNameDeviceRow ? kGsmServerNameFields : 1;
    QString shown;
    for (const QString &part : fields > 1 ? SplitServerName(value) : QStringList{value})
        shown += DeviceShown(part, param.UpperCase, kGsmFieldLength);
    return shown;
}

// The groups grid's columns of the payment-item sign, VAT and tax system.
constexpr int kGroupSign = 3, kGroupVat = 4, kGroupTax = 5;

// A group's sign or VAT as a read of its codes fills them.
QString GroupShown(const TConfigCells &cells, int row, int col)
{
    const TTableTab groups = TTableTab::Groups;
    const std::optional<QString> codes =
        EncodeGroupCodes(cells.Cell(groups, kGroupSign, row), cells.Cell(groups, kGroupVat, row),
                         cells.Cell(groups, kGroupTax, row));
    if (!codes)
        return cells.Cell(groups, col, row);
    const TGroupCells shown = DecodeGroupCodes(*codes);
    return col == kGroupSign ? shown.paymentItem : shown.vat;
}

QString Difference(const QString &where, const QString &field, const QString &file,
                   const QString &device)
{
    return where + Text(", ") + field + Text(": в файле \"") + file + Text("\", в ККТ \"") +
           device + QLatin1Char('"');
}

void CompareTab(TCliPart part, const TConfig &file, const TConfig &read, const TCliOptions &o,
                QStringList &lines)
{
    const TTableTab tab = CliPartTab(part);
    const bool goods = tab == TTableTab::Goods;
    const int first = goods ? o.goodsFirst : 1;
    const int last = goods ? o.goodsLast : TabLayout(tab).maximum;
    const TConfigCells fileCells(file.Tables);
    const TConfigCells readCells(read.Tables);
    for (int row = first; row <= last; ++row) {
        for (int col = 1; col <= TConfigCells::BoundColumns(tab); ++col) {
            QString expected = ShownAfterWrite(tab, col, fileCells.Cell(tab, col, row));
            if (tab == TTableTab::Groups && (col == kGroupSign || col == kGroupVat))
                expected = GroupShown(fileCells, row, col);
            const QString actual = readCells.Cell(tab, col, row);
            if (expected != actual)
                lines += Difference(CliPartTitle(part) + Text(", ") + RecordTitle(part, row),
                                    GridColumnOf(tab, col).header.trimmed(), expected, actual);
        }
    }
}

} // namespace

TTableTab CliPartTab(TCliPart part)
{
    return TTableTab(int(part));
}

QString CliPartTitle(TCliPart part)
{
    switch (part) {
    case TCliPart::Oper:
        return Text("Операторы");
    case TCliPart::Goods:
        return Text("Предмет расчета");
    case TCliPart::Groups:
        return Text("Группы предметов расчета");
    case TCliPart::Cliche:
        return Text("Клише");
    case TCliPart::Agents:
        return Text("Параметры агентов");
    case TCliPart::Gsm:
        break;
    }
    return Text("Параметры GSM");
}

QString RecordTitle(TCliPart part, int record)
{
    const char *noun = part == TCliPart::Goods ? "товар "
                       : part == TCliPart::Gsm ? "параметр "
                                               : "строка ";
    return Text(noun) + QString::number(record);
}

const TGridColumn &GridColumnOf(TTableTab tab, int col)
{
    switch (tab) {
    case TTableTab::Operators:
        return GridTexts::OperColumns().at(col);
    case TTableTab::Goods:
        return GridTexts::GoodsColumns().at(col);
    case TTableTab::Groups:
        return GridTexts::GroupColumns().at(col);
    case TTableTab::Cliche:
        return GridTexts::ClicheColumns().at(col);
    case TTableTab::Agents:
        break;
    }
    return GridTexts::AgentColumns().at(col);
}

QString ShownAfterWrite(TTableTab tab, int col, const QString &cell)
{
    if (tab == TTableTab::Goods)
        return GoodsShown(col, cell);
    for (int f = 0; f < TabLayout(tab).fieldsPerRecord; ++f) {
        const TFieldCells cells = FieldCells(tab, f);
        if (cells.groupCodes)
            continue;
        if (col == cells.textColumn)
            return DeviceShown(cell, true, kDeviceTextSize);
        if (col == cells.fontColumn)
            return FontText(FontFlag(cell));
    }
    return cell;
}

QStringList CompareConfigs(const TConfig &file, const TConfig &read, const QList<TCliPart> &parts,
                           const TCliOptions &options)
{
    QStringList lines;
    for (TCliPart part : parts) {
        if (part != TCliPart::Gsm) {
            CompareTab(part, file, read, options, lines);
            continue;
        }
        for (int row = 1; row <= kConfigGsmCount; ++row) {
            const TGsmParam &param = *GsmParamAtGridRow(row);
            const QString expected = GsmShown(param, file.Gsm.Values[std::size_t(row - 1)]);
            const QString actual = read.Gsm.Values[std::size_t(row - 1)];
            if (expected != actual)
                lines += Difference(CliPartTitle(part), QString::fromUtf8(param.Caption), expected,
                                    actual);
        }
    }
    return lines;
}
