#pragma once

#include "framecells.h"
#include "rangecheck.h"
#include "registermirror.h"
#include "runstatus.h"
#include "tabledifferences.h"
#include "tablelayout.h"
#include "tableruns.h"

#include <QList>
#include <QPointer>

class QLineEdit;
class TFrameSetZ48;
class TRunDriver;
class TWorkHost;
struct TStructSetting;

// The range check of a tab's "с" / "по" edits: on failure the user has been told and the focus
// moved to the faulty edit.
bool CheckRange(QLineEdit *fromEdit, QLineEdit *toEdit, int maximum, TRangeCheck *range = nullptr);

// What a run of the open tab does: "Записать в ККТ" and "Прочитать из ККТ" over its range;
// writing only the records changed since the register last saw them; and reading the range
// back to list where the register differs from the grid, which it leaves as it is.
enum class TTableRunKind { Write, Read, WriteChanged, Verify };

// Told when no record of the range differs from what the register holds.
inline const QString kNothingChangedText =
    QStringLiteral("В диапазоне нет изменённых записей: ККТ уже содержит эти данные.");

// A run on the open tab: checks its range, runs the register's tables run over the tab's grid
// (cells read just before their own exchange, filled as each answer arrives) through the
// window's run driver, keeps the frame's record of what the register holds, and words a
// failure as the frame's message.
class TTableRun
{
public:
    TTableRun(TFrameSetZ48 &frame, TWorkHost *host, TTableRunKind kind);

    // Returns when done, on the first failure, when the user stopped it (he is told so), or
    // when the main window is closing.
    void Run();

private:
    // The range of the open tab and the records of it the run goes through; false (the user
    // told) when there is nothing to run.
    bool TakeRecords();
    TTableRunResult Execute(const TStructSetting &settings, TRunObserver &observer);
    // The register's side of a record after its last exchange, and of one a run ended in.
    void Learn(int record);
    void Settle(const TTableRunResult &result);
    void Report(TRunDriver &driver, const TTableRunResult &result);

    QPointer<TFrameSetZ48> frame_;
    TWorkHost *host_;
    TTableRunKind kind_;
    TRunDirection direction_;
    TFrameCells cells_;
    TTableTab tab_ = TTableTab::Operators;
    int first_ = 1;
    int last_ = 1;
    QList<int> records_;   // the records the run goes through, in order
    TRegisterId register_; // the register of the run's connection settings
    TTableTexts read_;     // a verifying read's answers
    int learnt_ = 0;       // the last record whose exchanges all went through
};
