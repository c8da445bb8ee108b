#pragma once

#include "gsmparams.h"
#include "progsettings.h"
#include "registerlink.h"
#include "runobserver.h"

#include <QString>

// Writing the seven GSM parameters to the register and reading them back: plain runs over the
// device link, one table-5 field per exchange. Values are addressed by the grid row that shows
// them (1..7, see gsmparams.h); each is read just before it is sent and filled right after its
// own progress step.

class TGsmValues
{
public:
    virtual ~TGsmValues() = default;
    virtual QString Value(int gridRow) const = 0;
    virtual void SetValue(int gridRow, const QString &value) = 0;
};

struct TGsmRunResult {
    enum class TOutcome { Done, Failed, Stopped };
    TOutcome outcome = TOutcome::Done;
    quint8 code = 0;                  // the failed exchange's result
    const TGsmParam *param = nullptr; // the parameter the run ended at (Failed, Stopped)

    bool Done() const { return outcome == TOutcome::Done; }
};

// "ВНИМАНИЕ!\r\nНе удалось записать параметр ...!" (or "прочитать") for a failed run; empty
// otherwise.
QString GsmRunMessage(bool writing, const TGsmRunResult &result);

// The observer is told after each parameter: done = the device row (1..7), total 7. The runs
// go over the given link; those on the program settings over the windows' link.
TGsmRunResult WriteGsm(const TGsmValues &source, TRegisterLink &link,
                       TRunObserver *observer = nullptr);
TGsmRunResult ReadGsm(TGsmValues &sink, TRegisterLink &link, TRunObserver *observer = nullptr);
TGsmRunResult WriteGsm(const TGsmValues &source, const TStructSetting &settings,
                       TRunObserver *observer = nullptr);
// The parameters of the given device rows, in that order (those changed since the register was
// last written or read); the observer counts these parameters only, record the device row.
TGsmRunResult WriteGsmRows(const TGsmValues &source, const QList<int> &deviceRows,
                           TRegisterLink &link, TRunObserver *observer = nullptr);
TGsmRunResult WriteGsmRows(const TGsmValues &source, const QList<int> &deviceRows,
                           const TStructSetting &settings, TRunObserver *observer = nullptr);
TGsmRunResult ReadGsm(TGsmValues &sink, const TStructSetting &settings,
                      TRunObserver *observer = nullptr);
