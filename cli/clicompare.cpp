#include "clicompare.h"

#include "configcells.h"
#include "devicerequests.h"
#include "gsmparams.h"
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
            const QString expected = RegisterShown(fileCells, tab, col, row);
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
