#include "tablerun.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "runcontrol.h"
#include "stringgrid.h"
#include "tablecodes.h"
#include "verifywindow.h"
#include "workhost.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

bool CheckRange(QLineEdit *fromEdit, QLineEdit *toEdit, int maximum, TRangeCheck *range)
{
    const TRangeCheck check = CheckRangeTexts(fromEdit->text(), toEdit->text(), maximum);
    if (!check.message.isEmpty())
        ShowInformation(fromEdit->window(), check.message);
    if (check.focus == TRangeCheck::Focus::From)
        fromEdit->setFocus();
    else if (check.focus == TRangeCheck::Focus::To)
        toEdit->setFocus();
    if (range)
        *range = check;
    return check.ok;
}

TRunLock::TRunLock(TFrameSetZ48 &frame, TWorkHost *host) : host_(host)
{
    QList<QWidget *> widgets;
    for (QPushButton *button : frame.findChildren<QPushButton *>())
        if (button != frame.ButtonStop)
            widgets.append(button);
    if (frame.PageControl1)
        widgets.append(frame.PageControl1->tabBar());
    for (QWidget *widget : widgets) {
        if (widget && widget->isEnabled()) {
            widget->setEnabled(false);
            locked_.append(widget);
        }
    }
    if (host_)
        host_->SetRunLock(true);
}

TRunLock::~TRunLock()
{
    for (const QPointer<QWidget> &widget : std::as_const(locked_))
        if (widget)
            widget->setEnabled(true);
    if (host_)
        host_->SetRunLock(false);
}

TRunProgress::TRunProgress(QProgressBar *bar) : bar_(bar)
{
    if (bar_) {
        bar_->setRange(0, 100);
        bar_->setValue(0);
        bar_->setVisible(true);
    }
    QCoreApplication::processEvents();
}

TRunProgress::~TRunProgress()
{
    if (bar_)
        bar_->setVisible(false);
    QCoreApplication::processEvents();
}

void TRunProgress::SetPosition(int position)
{
    if (bar_)
        bar_->setValue(position);
}

TTableRun::TTableRun(TFrameSetZ48 &frame, TWorkHost *host, TTableRunKind kind)
    : frame_(&frame), host_(host), kind_(kind),
      direction_(kind == TTableRunKind::Write || kind == TTableRunKind::WriteChanged
                     ? TRunDirection::Write
                     : TRunDirection::Read)
{
}

void TTableRun::Run()
{
    if (!frame_ || !host_)
        return;
    TFrameSetZ48 &frame = *frame_;
    const int index = frame.PageControl1 ? frame.PageControl1->currentIndex() : -1;
    if (!IsTableTab(index))
        return;
    const TTableTab tab = TTableTab(index);
    QLineEdit *fromEdit = frame.RangeFromEdit(index);
    QLineEdit *toEdit = frame.RangeToEdit(index);
    if (!fromEdit || !toEdit || !frame.GridOfTab(index))
        return;
    TRangeCheck range;
    if (!CheckRange(fromEdit, toEdit, TabLayout(tab).maximum, &range))
        return;

    tab_ = tab;
    first_ = range.first;
    last_ = range.last;
    // The connection settings as they are when the run starts.
    const TStructSetting settings = host_->Settings();
    register_ = RegisterOf(settings);
    if (kind_ == TTableRunKind::WriteChanged) {
        records_ = frame.Mirror.ChangedRecords(register_, tab_, first_, last_, *this);
        if (records_.isEmpty()) {
            ShowInformation(&frame, kNothingChangedText);
            return;
        }
    } else {
        for (int record = first_; record <= last_; ++record)
            records_.append(record);
    }

    CloseDifferences(frame);
    TRunLock lock(frame, host_);
    TRunControl control(frame.ButtonStop, frame.GridOfTab(index), host_);
    control_ = &control;
    ShowPlace(0);
    TRunProgress progress(frame.ProgressBar1);
    progress_ = &progress;
    const TTableRunResult result = Execute(settings);
    if (Alive()) {
        Settle(result);
        // Told while the run's state is still on screen.
        Report(result);
    }
    progress_ = nullptr;
    control_ = nullptr;
}

TTableRunResult TTableRun::Execute(const TStructSetting &settings)
{
    switch (kind_) {
    case TTableRunKind::Write:
    case TTableRunKind::WriteChanged:
        return WriteTableRecords(tab_, records_, *this, settings, this);
    case TTableRunKind::Read:
        return ReadTables(tab_, first_, last_, *this, settings, this);
    case TTableRunKind::Verify:
        break;
    }
    return ReadTables(tab_, first_, last_, read_, settings, this);
}

void TTableRun::Learn(int record)
{
    learnt_ = record;
    if (kind_ == TTableRunKind::Verify)
        frame_->Mirror.Learn(register_, tab_, record, read_);
    else
        frame_->Mirror.Learn(register_, tab_, record, *this);
}

void TTableRun::Settle(const TTableRunResult &result)
{
    // A write that ended inside a record may have changed some of its fields.
    if (!result.Done() && direction_ == TRunDirection::Write && result.record != learnt_)
        frame_->Mirror.Forget(register_, tab_, result.record);
    if (TStringGrid *grid = frame_->GridOfTab(int(tab_)))
        grid->GridModel()->MarksChanged();
}

void TTableRun::Report(const TTableRunResult &result)
{
    const QString message = TableRunMessage(tab_, direction_ == TRunDirection::Write, result);
    if (result.outcome == TTableRunResult::TOutcome::Failed)
        ShowError(frame_, message);
    else if (!message.isEmpty())
        ShowInformation(frame_, message);
    else if (result.outcome == TTableRunResult::TOutcome::Stopped && stopped_)
        ShowInformation(frame_, kRunStoppedText);
    else if (result.Done() && kind_ == TTableRunKind::Verify)
        ShowDifferences(*frame_, tab_, TableDifferences(tab_, first_, last_, *this, read_));
}

bool TTableRun::Step(qint64 done, qint64 total, int record)
{
    if (!Alive())
        return false;
    const int fieldsPerRecord = TabLayout(tab_).fieldsPerRecord;
    if (done % fieldsPerRecord == 0)
        Learn(record);
    if (progress_)
        progress_->SetPosition(ProgressPosition(done, total));
    if (done < total)
        ShowPlace(int(done / fieldsPerRecord));
    QCoreApplication::processEvents();
    if (!Alive() || (host_ && host_->Closing()))
        return false;
    // A stop asked for after the last exchange finds nothing left to stop.
    stopped_ = done < total && control_ && control_->StopRequested();
    return !stopped_;
}

QString TTableRun::Cell(TTableTab tab, int col, int row) const
{
    const TStringGrid *grid = frame_ ? frame_->GridOfTab(int(tab)) : nullptr;
    return grid ? grid->Cells(col, row) : QString();
}

void TTableRun::SetCell(TTableTab tab, int col, int row, const QString &text)
{
    if (TStringGrid *grid = frame_ ? frame_->GridOfTab(int(tab)) : nullptr)
        grid->SetCells(col, row, text);
}

void TTableRun::ShowPlace(int index)
{
    const int record = records_.value(index);
    if (!control_ || record == shownRecord_)
        return;
    shownRecord_ = record;
    const QString &noun = TabLayout(tab_).placeNoun;
    // Changed records picked from the range are counted among themselves.
    control_->ShowPlace(
        kind_ == TTableRunKind::WriteChanged
            ? PickedRunStatusText(direction_, noun, record, index + 1, int(records_.size()))
            : RunStatusText(direction_, noun, record, first_, last_));
}
