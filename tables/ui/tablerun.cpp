#include "tablerun.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "runcontrol.h"
#include "stringgrid.h"
#include "tablecodes.h"
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

TTableRun::TTableRun(TFrameSetZ48 &frame, TWorkHost *host, TRunDirection direction)
    : frame_(&frame), host_(host), direction_(direction)
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
    TRunLock lock(frame, host_);
    TRunControl control(frame.ButtonStop, frame.GridOfTab(index), host_);
    control_ = &control;
    ShowPlace(first_);
    TRunProgress progress(frame.ProgressBar1);
    progress_ = &progress;
    // The connection settings as they are when the run starts.
    const TStructSetting settings = host_->Settings();
    const TTableRunResult result = direction_ == TRunDirection::Write
                                       ? WriteTables(tab, first_, last_, *this, settings, this)
                                       : ReadTables(tab, first_, last_, *this, settings, this);
    // Told while the run's state is still on screen.
    if (Alive())
        Report(result);
    progress_ = nullptr;
    control_ = nullptr;
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
}

bool TTableRun::Step(qint64 done, qint64 total, int)
{
    if (progress_)
        progress_->SetPosition(ProgressPosition(done, total));
    if (done < total)
        ShowPlace(first_ + int(done / TabLayout(tab_).fieldsPerRecord));
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

void TTableRun::ShowPlace(int record)
{
    if (!control_ || record == shownRecord_)
        return;
    shownRecord_ = record;
    control_->ShowPlace(
        RunStatusText(direction_, TabLayout(tab_).placeNoun, record, first_, last_));
}
