#include "gsmframerun.h"

#include "dialogs.h"
#include "framegsmsetting.h"
#include "rundriver.h"
#include "serialline.h"
#include "stringgrid.h"
#include "verifywindow.h"
#include "workhost.h"

namespace
{

constexpr int kValueColumn = 1;

QList<int> AllDeviceRows()
{
    QList<int> rows;
    for (int row = 1; row <= kGsmParamCount; ++row)
        rows.append(row);
    return rows;
}

} // namespace

TGsmFrameRun::TGsmFrameRun(TFrameGsmSetting &frame, TWorkHost *host, TGsmRunKind kind)
    : frame_(&frame), grid_(frame.Grid()), host_(host), kind_(kind)
{
}

void TGsmFrameRun::Run()
{
    if (!frame_ || !host_)
        return;
    TFrameGsmSetting &frame = *frame_;
    // The connection settings as they are when the run starts.
    const TStructSetting settings = host_->Settings();
    register_ = RegisterOf(settings);
    rows_ = kind_ == TGsmRunKind::WriteChanged ? frame.Mirror.ChangedDeviceRows(register_, *this)
                                               : AllDeviceRows();
    if (rows_.isEmpty()) {
        ShowInformation(&frame, kNoGsmChangeText);
        return;
    }
    CloseDifferences(frame);
    // The frame's own buttons stay enabled; the main menu is locked, so that neither a tables
    // run nor loading a configuration into the grid can start inside this run.
    TRunDriver driver(frame, {frame.RunProgress(), frame.RunStop(), grid_, nullptr}, host_);
    driver.SetPlaces({Writing() ? TRunDirection::Write : TRunDirection::Read,
                      QStringLiteral("параметр"), rows_, 1, kind_ == TGsmRunKind::WriteChanged});
    driver.SetRecordDone([this](int deviceRow) { Learn(deviceRow); });
    TGsmRunResult result;
    if (driver.Begin()) {
        const TSerialLine::TScopedWaitHook pump([&driver] { return driver.Idle(); });
        result = Execute(settings, driver);
    }
    if (!driver.Alive())
        return;
    Settle(result);
    Report(driver, result);
}

bool TGsmFrameRun::Writing() const
{
    return kind_ == TGsmRunKind::Write || kind_ == TGsmRunKind::WriteChanged;
}

TGsmRunResult TGsmFrameRun::Execute(const TStructSetting &settings, TRunObserver &observer)
{
    if (Writing())
        return WriteGsmRows(*this, rows_, settings, &observer);
    return ReadGsm(*this, settings, &observer);
}

QString TGsmFrameRun::Value(int gridRow) const
{
    return grid_ ? grid_->Cells(kValueColumn, gridRow) : QString();
}

void TGsmFrameRun::SetValue(int gridRow, const QString &value)
{
    if (!frame_)
        return;
    if (kind_ == TGsmRunKind::Verify) {
        read_.SetValue(gridRow, value);
        frame_->Mirror.Learn(register_, gridRow, read_);
    } else if (grid_) {
        grid_->SetCells(kValueColumn, gridRow, value);
        frame_->Mirror.Learn(register_, gridRow, *this);
    }
}

void TGsmFrameRun::Learn(int deviceRow)
{
    learnt_ = deviceRow;
    // A read's value is learnt as it reaches the grid, after its step.
    if (Writing())
        frame_->Mirror.Learn(register_, GsmParamAtDeviceRow(deviceRow)->GridRow, *this);
}

void TGsmFrameRun::Settle(const TGsmRunResult &result)
{
    // A write that ended inside the server name may have changed some of its fields.
    if (!result.Done() && Writing() && result.param && result.param->DeviceRow != learnt_)
        frame_->Mirror.Forget(register_, result.param->GridRow);
}

void TGsmFrameRun::Report(TRunDriver &driver, const TGsmRunResult &result)
{
    if (driver.Finish(GsmRunMessage(Writing(), result)) && result.Done() &&
        kind_ == TGsmRunKind::Verify)
        ShowGsmDifferences();
}

void TGsmFrameRun::ShowGsmDifferences()
{
    const QString column = grid_->Cells(kValueColumn, 0);
    QList<TVerifyLine> lines;
    for (const TGsmDifference &d : GsmDifferences(*this, read_))
        lines.append({QString::fromUtf8(GsmParamAtGridRow(d.gridRow)->Caption), column, d.grid,
                      d.device, kValueColumn, d.gridRow});
    TStringGrid *grid = grid_;
    // The window is the frame's child, as the grid is: it never outlives them.
    ShowDifferences(*frame_, QStringLiteral("Параметры GSM"), lines, [grid](int col, int row) {
        grid->SetCurrentCell(col, row);
        grid->window()->activateWindow();
        grid->setFocus();
        return grid;
    });
}
