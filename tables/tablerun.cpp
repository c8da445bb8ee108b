#include "tablerun.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "runcontrol.h"
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

TTableRun::TTableRun(TFrameSetZ48 &frame, TWorkHost *host) : frame_(&frame), host_(host) {}

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
    RunRecords(tab, range.first, range.last);
    progress_ = nullptr;
    control_ = nullptr;
    if (stopped_ && Alive())
        ShowInformation(frame_, kRunStoppedText);
}

bool TTableRun::Step(qint64 done, qint64 total)
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

void TTableRun::ShowPlace(int record)
{
    if (!control_ || record == shownRecord_)
        return;
    shownRecord_ = record;
    control_->ShowPlace(
        RunStatusText(Direction(), TabLayout(tab_).placeNoun, record, first_, last_));
}

const TStructSetting &TTableRun::Settings() const
{
    return host_->Settings();
}
