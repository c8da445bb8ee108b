#pragma once

#include "runcontrol.h"
#include "runobserver.h"
#include "runstatus.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QProgressBar;
class QPushButton;
class QWidget;
class TStringGrid;
class TWorkHost;

// While a run with the register is under way: the frame's buttons (but keep, its stop button)
// and its tab bars are disabled, and the main window's menu is locked, so no second run starts
// inside it. Everything is unlocked again however the run ends; widgets destroyed meanwhile are
// skipped. Without a frame only the menu is locked.
class TRunLock
{
public:
    TRunLock(QWidget *frame, TWorkHost *host, const QWidget *keep = nullptr);
    ~TRunLock();
    TRunLock(const TRunLock &) = delete;
    TRunLock &operator=(const TRunLock &) = delete;

private:
    QList<QPointer<QWidget>> locked_;
    TWorkHost *host_;
};

// The widgets a frame shows a run with; any may be missing.
struct TRunWidgets {
    QProgressBar *progress = nullptr;
    QPushButton *stop = nullptr;
    TStringGrid *grid = nullptr; // read-only for the run's length
    QWidget *locked = nullptr;   // the frame whose buttons and tabs are disabled meanwhile
};

// The records a run goes through, in order, as the status bar names them.
struct TRunPlaces {
    TRunDirection direction = TRunDirection::Write;
    QString noun;       // "товар", "параметр"
    QList<int> records; // a range, or the records picked from one
    int exchangesPerRecord = 1;
    bool picked = false; // picked from a range: counted among themselves
};

// One run with the register as a window shows it, and how the user follows and stops it: the
// run's observer. It shows the progress bar, the place of the record about to go in the status
// bar and the stop control; after each exchange it lets pending window messages run, and ends
// the run when the frame is gone, the main window is closing or the user stopped it. The
// progress, the place and the grid's rows are brought up to date at most every paint interval
// (a row once its record is complete) and at the end, so that painting does not slow the line;
// the window still answers between any two exchanges. At the end it tells the outcome while the
// run's state is still on screen (after a stop the status bar keeps how many records went
// through), then gives everything back. The frame supplies the cells the run reads and fills
// and the words of its failure.
class TRunDriver final : public TRunObserver
{
public:
    TRunDriver(QWidget &frame, const TRunWidgets &widgets, TWorkHost *host);
    ~TRunDriver() override;
    TRunDriver(const TRunDriver &) = delete;
    TRunDriver &operator=(const TRunDriver &) = delete;

    void SetPlaces(const TRunPlaces &places) { places_ = places; }
    // Told of each record whose exchanges all went through, before any window message runs.
    void SetRecordDone(std::function<void(int record)> recordDone)
    {
        recordDone_ = std::move(recordDone);
    }

    // Before the first exchange: the progress bar at 0 and the first record's place, then
    // pending window messages. False when the run must not start (see Step).
    bool Begin();
    // After an exchange: false when the run has to end there (the user stopped it, the main
    // window is closing, or the frame is gone).
    bool Step(qint64 done, qint64 total, int record) override;
    bool KeepGoing() const override;
    // Within one long exchange (the register clearing its base): pending window messages run;
    // false once the user stops or the main window is closing.
    bool Wait();
    // While an exchange of the run awaits its answer: pending window messages run there, off
    // the line's time; false once the frame is gone. A stop or the main window's closing asked
    // for meanwhile ends the run after the exchange.
    bool Idle();
    // Tells how the run ended: error in the error box, else notice in the information box,
    // else the user's stop. Nothing while the main window is closing or once the frame is gone.
    // True when nothing was told and the frame is still there.
    bool Finish(const QString &error, const QString &notice = QString());

    bool Alive() const { return !frame_.isNull(); }
    // The interval of bringing a run's state up to date: 40 ms unless set; 0 shows every
    // exchange (tests that follow each one).
    static void SetPaintInterval(int ms);
    // The records whose exchanges all went through.
    int RecordsDone() const { return recordsDone_; }

private:
    // The progress, place and grid rows after done of total exchanges; the grid's rows only at
    // a record's end.
    void Show(qint64 done, qint64 total);
    void ShowPlace(int index);
    void ShowRows();
    // Lets pending window messages run; then whether the run goes on.
    bool Pump(bool recordsLeft);

    QPointer<QWidget> frame_;
    TWorkHost *host_;
    TRunLock lock_;
    TRunControl control_;
    QPointer<QProgressBar> progress_;
    QPointer<TStringGrid> grid_;
    QElapsedTimer shown_; // since the progress and place were last brought up to date
    TRunPlaces places_;
    std::function<void(int)> recordDone_;
    qint64 done_ = 0;
    qint64 total_ = 0;
    bool rowsDue_ = false; // the grid's rows are shown at the next record's end
    int shownRecord_ = 0;
    int recordsDone_ = 0;
    bool stopped_ = false; // by the user, with records left
};
