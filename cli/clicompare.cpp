#include "clicompare.h"

#include "configcells.h"
#include "gsmcompare.h"
#include "tabledifferences.h"

namespace
{

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
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
    QList<int> columns;
    for (int col = 1; col <= TConfigCells::BoundColumns(tab); ++col)
        columns.append(col);
    const QList<TTableDifference> differences = TableDifferences(
        tab, first, last, TConfigCells(file.Tables), TConfigCells(read.Tables), columns);
    for (const TTableDifference &d : differences)
        lines += Difference(CliPartTitle(part) + Text(", ") + RecordTitle(part, d.record),
                            GridColumnOf(tab, d.col).header.trimmed(), d.expected, d.device);
}

// The record's GSM values, grid rows 1..6.
TGsmTexts GsmValuesOf(const TConfig &config)
{
    TGsmTexts values;
    for (int row = 1; row <= kConfigGsmCount; ++row)
        values.SetValue(row, config.Gsm.Values[std::size_t(row - 1)]);
    return values;
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

QStringList CompareConfigs(const TConfig &file, const TConfig &read, const QList<TCliPart> &parts,
                           const TCliOptions &options)
{
    QStringList lines;
    for (TCliPart part : parts) {
        if (part != TCliPart::Gsm) {
            CompareTab(part, file, read, options, lines);
            continue;
        }
        for (const TGsmDifference &d :
             GsmDifferences(GsmValuesOf(file), GsmValuesOf(read), kConfigGsmCount))
            lines += Difference(CliPartTitle(part),
                                QString::fromUtf8(GsmParamAtGridRow(d.gridRow)->Caption),
                                d.expected, d.device);
    }
    return lines;
}
