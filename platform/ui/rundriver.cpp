#include "rundriver.h"

#include "dialogs.h"
#include "stringgrid.h"
#include "workhost.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>

TRunLock::TRunLock(QWidget *frame, TWorkHost *host, const QWidget *keep) : host_(host)
{
    QList<QWidget *> widgets;
    if (frame) {
        for (QPushButton *button : frame->findChildren<QPushButton *>())
            if (button != keep)
                widgets.append(button);
        for (QTabBar *tabs : frame->findChildren<QTabBar *>())
            widgets.append(tabs);
    }
    for (QWidget *widget : widgets) {
        if (widget->isEnabled()) {
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

namespace
{

int paintIntervalMs = 40;

} // namespace

void TRunDriver::SetPaintInterval(int ms)
{
    paintIntervalMs = qMax(ms, 0);
}

TRunDriver::TRunDriver(QWidget &frame, const TRunWidgets &widgets, TWorkHost *host)
    : frame_(&frame), host_(host), lock_(widgets.locked, host, widgets.stop),
      control_(widgets.stop, widgets.grid, host), progress_(widgets.progress), grid_(widgets.grid)
{
    if (grid_)
        grid_->GridModel()->HoldChanges(true);
}

TRunDriver::~TRunDriver()
{
    if (grid_)
        grid_->GridModel()->HoldChanges(false);
    if (progress_)
        progress_->setVisible(false);
    QCoreApplication::processEvents();
}

bool TRunDriver::Begin()
{
    ShowPlace(0);
    if (progress_) {
        progress_->setRange(0, 100);
        progress_->setValue(0);
        progress_->setVisible(true);
    }
    shown_.start();
    return Pump(true);
}

bool TRunDriver::Step(qint64 done, qint64 total, int record)
{
    if (!Alive())
        return false;
    done_ = done;
    total_ = total;
    const bool recordEnd = done % places_.exchangesPerRecord == 0;
    if (recordEnd) {
        recordsDone_ = int(done / places_.exchangesPerRecord);
        if (recordDone_)
            recordDone_(record);
    }
    const bool recordsLeft = done < total;
    // The user's keys and clicks first: a stop asked for while this exchange was on the line
    // ends the run before the next request. What was shown before the exchange was painted
    // while it awaited its answer; what is shown now is painted during the next exchange's wait,
    // after the last one at once.
    if (recordsLeft && !Pump(true))
        return false;
    if (!recordsLeft || !shown_.isValid() || shown_.elapsed() >= paintIntervalMs) {
        Show(done, total);
        rowsDue_ = true;
        shown_.start();
    }
    if (rowsDue_ && recordEnd) {
        ShowRows();
        rowsDue_ = false;
    }
    if (!recordsLeft)
        return Pump(false);
    // A stop or the main window's closing asked for while the state was being shown.
    if (!KeepGoing())
        return false;
    stopped_ = control_.StopRequested();
    return !stopped_;
}

bool TRunDriver::KeepGoing() const
{
    return Alive() && !(host_ && host_->Closing());
}

bool TRunDriver::Wait()
{
    QCoreApplication::processEvents();
    return KeepGoing() && !control_.StopRequested();
}

bool TRunDriver::Finish(const QString &error, const QString &notice)
{
    if (!KeepGoing())
        return false;
    // The run's state as it ended, also what the last interval had not shown yet: after a
    // stop how many records went through, else the record it ended in.
    if (progress_)
        progress_->setValue(ProgressPosition(done_, total_));
    if (stopped_)
        control_.ShowLastPlace(
            RunDoneText(places_.direction, recordsDone_, int(places_.records.size())));
    else if (done_ < total_)
        ShowPlace(int(done_ / places_.exchangesPerRecord));
    ShowRows();
    if (!error.isEmpty())
        ShowError(frame_, error);
    else if (!notice.isEmpty())
        ShowInformation(frame_, notice);
    else if (stopped_)
        ShowInformation(frame_, kRunStoppedText);
    else
        return true;
    return false;
}

void TRunDriver::Show(qint64 done, qint64 total)
{
    if (progress_)
        progress_->setValue(ProgressPosition(done, total));
    if (done < total)
        ShowPlace(int(done / places_.exchangesPerRecord));
}

void TRunDriver::ShowPlace(int index)
{
    const int record = places_.records.value(index);
    if (record == 0 || record == shownRecord_)
        return;
    shownRecord_ = record;
    const int count = int(places_.records.size());
    // Records picked from a range are counted among themselves.
    control_.ShowPlace(
        places_.picked
            ? PickedRunStatusText(places_.direction, places_.noun, record, index + 1, count)
            : RunStatusText(places_.direction, places_.noun, record, places_.records.first(),
                            places_.records.last()));
}

void TRunDriver::ShowRows()
{
    if (grid_)
        grid_->GridModel()->FlushChanges();
}

bool TRunDriver::Idle()
{
    QCoreApplication::processEvents();
    // The exchange on the line completes even while the main window closes (the run ends after
    // it); only a frame that is gone gives up the answer, which nothing may be filled into.
    return Alive();
}

bool TRunDriver::Pump(bool recordsLeft)
{
    QCoreApplication::processEvents();
    if (!KeepGoing())
        return false;
    // A stop asked for after the last exchange finds nothing left to stop.
    stopped_ = recordsLeft && control_.StopRequested();
    return !stopped_;
}
