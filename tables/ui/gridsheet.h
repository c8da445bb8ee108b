#pragma once

#include <QColor>
#include <QString>

// What Ctrl+Z says, once, after the cells were changed in a way that cannot be undone.
inline const QString kHistoryAfterLoad =
    QStringLiteral("Нечего отменять: после загрузки файла история правок начата заново");
inline const QString kHistoryAfterRead =
    QStringLiteral("Нечего отменять: после чтения из ККТ история правок начата заново");
inline const QString kHistoryAfterClear =
    QStringLiteral("Нечего отменять: после очистки базы в ККТ история правок начата заново");

// The marks of the records that differ from what the register is known to hold: changed after
// the last write or read, or not known at all since the program started.
inline const QString kMarkChangedTip =
    QStringLiteral("Изменено после последней записи в ККТ или чтения из неё");
inline const QString kMarkUnknownTip =
    QStringLiteral("Не записано в ККТ и не прочитано из неё с запуска программы");
inline const QColor kMarkChangedColor = QColor(255, 200, 90);
inline const QColor kMarkUnknownColor = QColor(255, 238, 190);
