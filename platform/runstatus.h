#pragma once

#include <QString>
#include <QtGlobal>

// Whether a run with the register writes to it or reads from it.
enum class TRunDirection { Write, Read };

// The status bar text of a run at one record: "Запись: товар 1234 из 6000" over a range that
// starts at 1; over a range starting elsewhere the record's position within the range follows
// its number, "Запись: товар 4 (2 из 3)".
QString RunStatusText(TRunDirection direction, const QString &noun, int record, int first,
                      int last);
// Over records picked from a range (the changed ones), the record's position among them:
// "Запись: товар 4 (2 из 3)".
QString PickedRunStatusText(TRunDirection direction, const QString &noun, int record, int position,
                            int count);
// How far a run got once it has ended early: "Записано: 2055 из 6000", "Прочитано: 12 из 50".
QString RunDoneText(TRunDirection direction, int done, int count);
// Progress bar position after done of total exchanges: done * 100 / total rounded to the
// nearest whole number, halves to even (2 of 16 -> 12, 6 of 16 -> 38).
int ProgressPosition(qint64 done, qint64 total);
