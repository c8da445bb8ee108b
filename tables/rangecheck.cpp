#include "rangecheck.h"

#include "tablecodes.h"

namespace
{

const QString kBadFrom = QStringLiteral("ВНИМАНИЕ!\r\nНеверно введено значение начала диапазона!");
const QString kBadTo = QStringLiteral("ВНИМАНИЕ!\r\nНеверно введено значение конца диапазона!");
const QString kFromZero =
    QStringLiteral("ВНИМАНИЕ!\r\nЗначение начала диапазона не может начинаться с 0!");

TRangeCheck Fail(const QString &message, TRangeCheck::Focus focus)
{
    TRangeCheck check;
    check.message = message;
    check.focus = focus;
    return check;
}

} // namespace

TRangeCheck CheckRangeTexts(const QString &fromText, const QString &toText, int maximum)
{
    using Focus = TRangeCheck::Focus;
    if (fromText.isEmpty())
        return Fail(kBadFrom, Focus::From);
    if (toText.isEmpty())
        return Fail(kBadTo, Focus::To);
    const std::optional<qint64> from = WholeNumber(fromText);
    const std::optional<qint64> to = WholeNumber(toText);
    if (!from || !to)
        return {}; // cannot be typed (digits only); refused without a message
    if (*from == 0)
        return Fail(kFromZero, Focus::From);
    // A pasted negative number is no record number either.
    if (*from < 0 || *from > maximum)
        return Fail(kBadFrom, Focus::From);
    if (*to < 0 || *to > maximum)
        return Fail(kBadTo, Focus::To);
    if (*from > *to)
        return Fail(kBadFrom, Focus::From);
    TRangeCheck check;
    check.ok = true;
    check.first = int(*from);
    check.last = int(*to);
    return check;
}

TItemNumberCheck CheckItemNumberText(const QString &text, int maximum)
{
    TItemNumberCheck check;
    if (text.isEmpty()) {
        check.message = QStringLiteral("ВНИМАНИЕ!\r\nНе введён номер товара!");
        return check;
    }
    const std::optional<qint64> number = WholeNumber(text);
    if (!number || *number < 0) {
        check.message = QStringLiteral("ВНИМАНИЕ!\r\nНеверно введен номер товара!");
        return check;
    }
    if (*number == 0) {
        check.message = QStringLiteral("ВНИМАНИЕ!\r\nНомер товара не может быть 0!");
        return check;
    }
    if (*number > maximum) {
        check.message = QStringLiteral("ВНИМАНИЕ!\r\nНомер товара не может быть больше ") +
                        QString::number(maximum) + QLatin1Char('!');
        return check;
    }
    check.ok = true;
    check.item = int(*number);
    return check;
}
