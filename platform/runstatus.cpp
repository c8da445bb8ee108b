#include "runstatus.h"

namespace
{

QString PlaceText(TRunDirection direction, const QString &noun, int record)
{
    const QString text =
        direction == TRunDirection::Write ? QStringLiteral("Запись: ") : QStringLiteral("Чтение: ");
    return text + noun + QLatin1Char(' ') + QString::number(record);
}

} // namespace

QString RunStatusText(TRunDirection direction, const QString &noun, int record, int first, int last)
{
    if (first == 1)
        return PlaceText(direction, noun, record) + QStringLiteral(" из ") + QString::number(last);
    return PickedRunStatusText(direction, noun, record, record - first + 1, last - first + 1);
}

QString PickedRunStatusText(TRunDirection direction, const QString &noun, int record, int position,
                            int count)
{
    return PlaceText(direction, noun, record) +
           QStringLiteral(" (%1 из %2)").arg(position).arg(count);
}
