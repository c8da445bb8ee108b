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

QString RunDoneText(TRunDirection direction, int done, int count)
{
    return (direction == TRunDirection::Write ? QStringLiteral("Записано: %1 из %2")
                                              : QStringLiteral("Прочитано: %1 из %2"))
        .arg(done)
        .arg(count);
}

int ProgressPosition(qint64 done, qint64 total)
{
    if (total <= 0)
        return 0;
    const qint64 scaled = done * 100;
    qint64 position = scaled / total;
    const qint64 twiceRest = (scaled % total) * 2;
    if (twiceRest > total || (twiceRest == total && (position & 1)))
        ++position;
    return int(position);
}
