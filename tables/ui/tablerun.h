#pragma once

#include "rangecheck.h"
#include "registermirror.h"
#include "runstatus.h"
#include "tabledifferences.h"
#include "tablelayout.h"
#include "tableruns.h"

#include <QList>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>

class QLineEdit;
class TFrameSetZ48;
class TRunControl;
class TWorkHost;
struct TStructSetting;

// The range check of a tab's "с" / "по" edits: on failure the user has been told and the focus
// moved to the faulty edit.
bool CheckRange(QLineEdit *fromEdit, QLineEdit *toEdit, int maximum, TRangeCheck *range = nullptr);

// While a run with the register is under way: the frame's buttons (but the stop button) and its
// tab bar are disabled and the main window's menu is locked, so no second run starts inside it.
// Everything is unlocked again however the run ends; widgets destroyed meanwhile are skipped.
class TRunLock
{
public:
    TRunLock(TFrameSetZ48 &frame, TWorkHost *host);
    ~TRunLock();
    TRunLock(const TRunLock &) = delete;
    TRunLock &operator=(const TRunLock &) = delete;

private:
    QList<QPointer<QWidget>> locked_;
    TWorkHost *host_;
};

// The progress bar of one run: shown at 0 on start, moved after each exchange, hidden at the
// end (pending window messages run at each step, so it repaints).
class TRunProgress
{
public:
    explicit TRunProgress(QProgressBar *bar);
    ~TRunProgress();
    TRunProgress(const TRunProgress &) = delete;
    TRunProgress &operator=(const TRunProgress &) = delete;

    void SetPosition(int position);

private:
    QPointer<QProgressBar> bar_;
};

// What a run of the open tab does: "Записать в ККТ" and "Прочитать из ККТ" over its range;
// writing only the records changed since the register last saw them; and reading the range
// back to list where the register differs from the grid, which it leaves as it is.
enum class TTableRunKind { Write, Read, WriteChanged, Verify };

// Told when no record of the range differs from what the register holds.
inline const QString kNothingChangedText =
    QStringLiteral("В диапазоне нет изменённых записей: ККТ уже содержит эти данные.");

// A run on the open tab: checks its range, locks the frame, runs the register's tables run
// over the tab's grid (cells read just before their own exchange, filled as each answer
// arrives), shows the progress, the stop by the user and the run's place in the status bar,
// keeps the frame's record of what the register holds, and turns a failure into the frame's
// message box.
class TTableRun : private TRunObserver, private TTableCells
{
public:
    TTableRun(TFrameSetZ48 &frame, TWorkHost *host, TTableRunKind kind);

    // Returns when done, on the first failure, when the user stopped it (he is told so), or
    // when the main window is closing.
    void Run();

private:
    // After one exchange: the progress position and the place of the next record, then pending
    // window messages. False when the run has to stop (the user stopped it, the main window is
    // closing, or the frame is gone).
    bool Step(qint64 done, qint64 total, int record) override;
    QString Cell(TTableTab tab, int col, int row) const override;
    void SetCell(TTableTab tab, int col, int row, const QString &text) override;
    TTableRunResult Execute(const TStructSetting &settings);
    // The register's side of a record after its last exchange, and of one a run ended in.
    void Learn(int record);
    void Settle(const TTableRunResult &result);
    void ShowPlace(int index);
    void Report(const TTableRunResult &result);
    // Whether the frame still exists (window messages run between exchanges).
    bool Alive() const { return !frame_.isNull(); }

    QPointer<TFrameSetZ48> frame_;
    TWorkHost *host_;
    TTableRunKind kind_;
    TRunDirection direction_;
    TRunProgress *progress_ = nullptr;
    TRunControl *control_ = nullptr;
    TTableTab tab_ = TTableTab::Operators;
    int first_ = 1;
    int last_ = 1;
    QList<int> records_;   // the records the run goes through, in order
    TRegisterId register_; // the register of the run's connection settings
    TTableTexts read_;     // a verifying read's answers
    int learnt_ = 0;       // the last record whose exchanges all went through
    int shownRecord_ = 0;
    bool stopped_ = false;
};
