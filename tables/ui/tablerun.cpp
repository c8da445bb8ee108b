#include "tablerun.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "rundriver.h"
#include "serialline.h"
#include "stringgrid.h"
#include "tablecodes.h"
#include "tableverify.h"
#include "verifywindow.h"
#include "workhost.h"

#include <QLineEdit>

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

TTableRun::TTableRun(TFrameSetZ48 &frame, TWorkHost *host, TTableRunKind kind)
    : frame_(&frame), host_(host), kind_(kind),
      direction_(kind == TTableRunKind::Write || kind == TTableRunKind::WriteChanged
                     ? TRunDirection::Write
                     : TRunDirection::Read),
      cells_(frame)
{
}

void TTableRun::Run()
{
    if (!frame_ || !host_)
        return;
    // The connection settings as they are when the run starts.
    const TStructSetting settings = host_->Settings();
    register_ = RegisterOf(settings);
    if (!TakeRecords())
        return;

    TFrameSetZ48 &frame = *frame_;
    CloseDifferences(frame);
    TRunDriver driver(frame, {frame.RunProgress(), frame.RunStop(), frame.Grid(tab_), &frame},
                      host_);
    const TTabLayout &layout = TabLayout(tab_);
    driver.SetPlaces({direction_, layout.placeNoun, records_, layout.fieldsPerRecord,
                      kind_ == TTableRunKind::WriteChanged});
    driver.SetRecordDone([this](int record) { Learn(record); });
    if (!driver.Begin()) {
        driver.Finish(QString());
        return;
    }
    const TTableRunResult result = [&] {
        const TSerialLine::TScopedWaitHook pump([&driver] { return driver.Idle(); });
        return Execute(settings, driver);
    }();
    if (!driver.Alive())
        return;
    Settle(result);
    Report(driver, result);
}

bool TTableRun::TakeRecords()
{
    TFrameSetZ48 &frame = *frame_;
    tab_ = frame.OpenTab();
    const TRangeEdits edits = frame.Range(tab_);
    TRangeCheck range;
    if (!CheckRange(edits.from, edits.to, TabLayout(tab_).maximum, &range))
        return false;
    first_ = range.first;
    last_ = range.last;
    if (kind_ != TTableRunKind::WriteChanged) {
        for (int record = first_; record <= last_; ++record)
            records_.append(record);
        return true;
    }
    records_ = frame.Mirror.ChangedRecords(register_, tab_, first_, last_, cells_);
    if (records_.isEmpty())
        ShowInformation(&frame, kNothingChangedText);
    return !records_.isEmpty();
}

TTableRunResult TTableRun::Execute(const TStructSetting &settings, TRunObserver &observer)
{
    switch (kind_) {
    case TTableRunKind::Write:
    case TTableRunKind::WriteChanged:
        return WriteTableRecords(tab_, records_, cells_, settings, &observer);
    case TTableRunKind::Read:
        return ReadTables(tab_, first_, last_, cells_, settings, &observer);
    case TTableRunKind::Verify:
        break;
    }
    return ReadTables(tab_, first_, last_, read_, settings, &observer);
}

void TTableRun::Learn(int record)
{
    learnt_ = record;
    if (kind_ == TTableRunKind::Verify)
        frame_->Mirror.Learn(register_, tab_, record, read_);
    else
        frame_->Mirror.Learn(register_, tab_, record, cells_);
}

void TTableRun::Settle(const TTableRunResult &result)
{
    // A write that ended inside a record may have changed some of its fields.
    if (!result.Done() && direction_ == TRunDirection::Write && result.record != learnt_)
        frame_->Mirror.Forget(register_, tab_, result.record);
    frame_->Grid(tab_)->GridModel()->MarksChanged();
}

void TTableRun::Report(TRunDriver &driver, const TTableRunResult &result)
{
    const QString message = TableRunMessage(tab_, direction_ == TRunDirection::Write, result);
    const bool failed = result.outcome == TTableRunResult::TOutcome::Failed;
    // Told while the run's state is still on screen.
    if (driver.Finish(failed ? message : QString(), failed ? QString() : message) &&
        result.Done() && kind_ == TTableRunKind::Verify)
        ShowTableDifferences(*frame_, tab_, TableDifferences(tab_, first_, last_, cells_, read_));
}
