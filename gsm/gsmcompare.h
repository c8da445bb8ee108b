#pragma once

#include "gsmparams.h"
#include "gsmruns.h"
#include "registermemory.h"

#include <QList>
#include <QString>

#include <array>

// Comparing GSM values with the register, and what this session knows the register holds.

// The register's GSM value as a read shows it: capitals where it is written so, at most the
// characters its fields hold.
QString GsmShown(const TGsmParam &param, const QString &value);

// Values kept apart from any grid: what a read of the register fills when the grid itself must
// stay as it is. Values never set read as empty.
class TGsmTexts : public TGsmValues
{
public:
    QString Value(int gridRow) const override;
    void SetValue(int gridRow, const QString &value) override;

private:
    std::array<QString, kGsmParamCount> values_;
};

// One parameter whose register value differs from the grid's.
struct TGsmDifference {
    int gridRow = 0;
    QString grid;     // the grid's text as it stands
    QString expected; // what the grid's text becomes in the register
    QString device;   // the register's, as a read shows it
    bool operator==(const TGsmDifference &) const = default;
};

// The parameters of grid rows 1..lastRow whose register value (in read) is not what the grid's
// value becomes in the register, in grid row order; the server name is compared whole.
QList<TGsmDifference> GsmDifferences(const TGsmValues &grid, const TGsmValues &read,
                                     int lastRow = kGsmParamCount);

// What this session knows a register holds of its GSM parameters, from writing and reading
// them. A parameter not written or read on that register counts as changed.
class TGsmMirror
{
public:
    // The parameter of the grid row went to the register or came from it, as values hold it.
    void Learn(const TRegisterId &id, int gridRow, const TGsmValues &values);
    // Not known any longer (a write broke off inside it).
    void Forget(const TRegisterId &id, int gridRow);
    bool Changed(const TRegisterId &id, int gridRow, const TGsmValues &values) const;
    // The device rows of the changed parameters, in the order they are written.
    QList<int> ChangedDeviceRows(const TRegisterId &id, const TGsmValues &values) const;

private:
    TRegisterMemory memory_;
};
