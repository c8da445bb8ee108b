#include "gsmcompare.h"

#include "devicerequests.h"

namespace
{

constexpr int kGsmTableOfMemory = 0; // the one table the GSM mirror keeps

QString DeviceShown(const QString &text, bool upperCase, int maxChars)
{
    return DecodeDeviceText(EncodeDeviceText(text, upperCase, maxChars));
}

QStringList ShownParam(int gridRow, const TGsmValues &values)
{
    return {GsmShown(*GsmParamAtGridRow(gridRow), values.Value(gridRow))};
}

} // namespace

QString GsmShown(const TGsmParam &param, const QString &value)
{
    const int fields = param.DeviceRow == kGsmServerNameDeviceRow ? kGsmServerNameFields : 1;
    QString shown;
    for (const QString &part : fields > 1 ? SplitServerName(value) : QStringList{value})
        shown += DeviceShown(part, param.UpperCase, kGsmFieldLength);
    return shown;
}

QString TGsmTexts::Value(int gridRow) const
{
    return gridRow >= 1 && gridRow <= kGsmParamCount ? values_[std::size_t(gridRow - 1)]
                                                     : QString();
}

void TGsmTexts::SetValue(int gridRow, const QString &value)
{
    if (gridRow >= 1 && gridRow <= kGsmParamCount)
        values_[std::size_t(gridRow - 1)] = value;
}

QList<TGsmDifference> GsmDifferences(const TGsmValues &grid, const TGsmValues &read, int lastRow)
{
    QList<TGsmDifference> differences;
    for (int row = 1; row <= qMin(lastRow, kGsmParamCount); ++row) {
        const QString expected = GsmShown(*GsmParamAtGridRow(row), grid.Value(row));
        const QString device = read.Value(row);
        if (expected != device)
            differences.append({row, grid.Value(row), expected, device});
    }
    return differences;
}

void TGsmMirror::Learn(const TRegisterId &id, int gridRow, const TGsmValues &values)
{
    if (GsmParamAtGridRow(gridRow))
        memory_.Learn(id, kGsmTableOfMemory, kGsmParamCount, gridRow, ShownParam(gridRow, values));
}

void TGsmMirror::Forget(const TRegisterId &id, int gridRow)
{
    memory_.Forget(id, kGsmTableOfMemory, gridRow);
}

bool TGsmMirror::Changed(const TRegisterId &id, int gridRow, const TGsmValues &values) const
{
    const QStringList *held = memory_.Known(id, kGsmTableOfMemory, gridRow);
    return !held || *held != ShownParam(gridRow, values);
}

QList<int> TGsmMirror::ChangedDeviceRows(const TRegisterId &id, const TGsmValues &values) const
{
    QList<int> rows;
    for (int deviceRow = 1; deviceRow <= kGsmParamCount; ++deviceRow)
        if (Changed(id, GsmParamAtDeviceRow(deviceRow)->GridRow, values))
            rows.append(deviceRow);
    return rows;
}
