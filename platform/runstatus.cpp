#include "runstatus.h"

QString RunStatusText(TRunDirection direction, const QString &noun, int record, int first, int last)
{
    QString text =
        direction == TRunDirection::Write ? QStringLiteral("Запись: ") : QStringLiteral("Чтение: ");
    text += noun + QLatin1Char(' ') + QString::number(record);
    if (first == 1)
        return text + QStringLiteral(" из ") + QString::number(last);
    return text + QStringLiteral(" (%1 из %2)").arg(record - first + 1).arg(last - first + 1);
}
