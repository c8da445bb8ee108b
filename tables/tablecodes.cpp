#include "tablecodes.h"

#include "gridtexts.h"

std::optional<qint64> WholeNumber(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    // toLongLong skips surrounding blanks; a cell or an edit with blanks is no number.
    if (!ok || text.trimmed() != text)
        return std::nullopt;
    return value;
}

quint8 FontFlag(const QString &fontCell)
{
    return fontCell == GridTexts::kNarrowFont ? kFlagNarrow : kFlagWide;
}

QString FontText(quint8 flag)
{
    return flag == kFlagNarrow ? GridTexts::kNarrowFont : GridTexts::kWideFont;
}

QString EncodePrice(const QString &cell)
{
    if (cell.isEmpty())
        return QStringLiteral("0");
    const qsizetype point = cell.indexOf(QLatin1Char('.'));
    if (point < 0)
        return cell + QStringLiteral("00");
    QString whole = cell.left(point);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString fraction = cell.mid(point + 1, 2);
    while (fraction.size() < 2)
        fraction += QLatin1Char('0');
    return whole + fraction;
}

QString DecodePrice(const QString &kopecks)
{
    const std::optional<qint64> value = WholeNumber(kopecks);
    if (!value)
        return kopecks;
    const qint64 v = *value;
    const qint64 whole = v / 100;
    const qint64 hundredths = v - whole * 100; // same sign as v
    const QString sign = (v < 0 && whole == 0) ? QStringLiteral("-") : QString();
    return sign + QString::number(whole) + QLatin1Char('.') +
           QStringLiteral("%1").arg(qAbs(hundredths), 2, 10, QLatin1Char('0'));
}

QString BarcodeText(const QString &cell)
{
    return cell.isEmpty() ? QStringLiteral("0") : cell;
}

quint8 DepartmentByte(const QString &cell)
{
    const std::optional<qint64> value = WholeNumber(cell);
    return value ? quint8(quint64(*value) & 0xFF) : 0;
}

std::optional<QString> EncodeGroupCodes(const QString &paymentItem, const QString &vat,
                                        const QString &taxSystem)
{
    const qsizetype item = GridTexts::SignList().indexOf(paymentItem);
    if (item < 0)
        return std::nullopt;
    const qsizetype vatIndex = GridTexts::VatList().indexOf(vat);
    const qsizetype taxIndex = GridTexts::TaxSystemList().indexOf(taxSystem);
    return QStringLiteral("%1").arg(item, 2, 10, QLatin1Char('0')) +
           (vatIndex < 0 ? QStringLiteral("0") : QString::number(vatIndex + 1)) +
           (taxIndex < 0 ? QStringLiteral("9") : QString::number(taxIndex + 1));
}

TGroupCells DecodeGroupCodes(const QString &text)
{
    // One code from its characters: digits only, within 1-based (or 0-based) list bounds.
    auto decode = [&text](qsizetype from, qsizetype length, const QStringList &list,
                          int first) -> QString {
        const QString code = text.mid(from, length);
        if (code.size() != length)
            return QString();
        for (const QChar c : code)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return QString();
        const int index = code.toInt() - first;
        return index >= 0 && index < list.size() ? list.at(index) : QString();
    };
    TGroupCells cells;
    cells.paymentItem = decode(0, 2, GridTexts::SignList(), 0);
    cells.vat = decode(2, 1, GridTexts::VatList(), 1);
    cells.taxSystem = decode(3, 1, GridTexts::TaxSystemList(), 1);
    return cells;
}
