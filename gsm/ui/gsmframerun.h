#pragma once

#include "gsmcompare.h"
#include "gsmruns.h"

#include <QList>
#include <QPointer>

class TFrameGsmSetting;
class TRunDriver;
class TRunObserver;
class TStringGrid;
class TWorkHost;

// What a run of the GSM frame does: "Записать в ККТ" and "Прочитать из ККТ" over the seven
// parameters; writing only those changed since the register last saw them; and reading them
// back to list where the register differs from the grid, which it leaves as it is.
enum class TGsmRunKind { Write, Read, WriteChanged, Verify };

// Told when no parameter differs from what the register holds.
inline const QString kNoGsmChangeText =
    QStringLiteral("Нет изменённых параметров: ККТ уже содержит эти данные.");

// A run of the GSM frame through the window's run driver: the grid's values read just before
// they are sent and filled as each parameter's step is through, the frame's record of what the
// register holds kept, and a failure worded as the frame's message.
class TGsmFrameRun final : private TGsmValues
{
public:
    TGsmFrameRun(TFrameGsmSetting &frame, TWorkHost *host, TGsmRunKind kind);

    void Run();

private:
    // The grid's values; a read's answer goes into the grid (kept apart when verifying) and is
    // learnt as the register's.
    QString Value(int gridRow) const override;
    void SetValue(int gridRow, const QString &value) override;

    bool Writing() const;
    TGsmRunResult Execute(const TStructSetting &settings, TRunObserver &observer);
    void Learn(int deviceRow);
    void Settle(const TGsmRunResult &result);
    void Report(TRunDriver &driver, const TGsmRunResult &result);
    void ShowGsmDifferences();

    QPointer<TFrameGsmSetting> frame_;
    QPointer<TStringGrid> grid_;
    TWorkHost *host_;
    TGsmRunKind kind_;
    TRegisterId register_; // the register of the run's connection settings
    QList<int> rows_;      // the device rows the run goes through, in order
    TGsmTexts read_;       // a verifying read's answers
    int learnt_ = 0;       // the last device row whose exchanges all went through
};
