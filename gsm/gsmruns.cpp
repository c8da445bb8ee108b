#include "gsmruns.h"

#include "devicecommands.h"
#include "registerlink.h"

#include <QList>

namespace
{

constexpr quint8 kModeWrite = 0;
constexpr quint8 kModeRead = 1;

quint8 FieldCommand(TRegisterLink &link, quint8 mode, const TGsmParam &param, int field,
                    QString &text)
{
    quint8 attribute = kGsmAttribute;
    return TableFieldCommand(link, mode, kGsmTable, param.DeviceRow, quint8(field), attribute, text,
                             param.UpperCase);
}

} // namespace

QString GsmRunMessage(bool writing, const TGsmRunResult &result)
{
    if (result.outcome != TGsmRunResult::TOutcome::Failed || !result.param)
        return QString();
    return (writing ? QStringLiteral("ВНИМАНИЕ!\r\nНе удалось записать параметр ")
                    : QStringLiteral("ВНИМАНИЕ!\r\nНе удалось прочитать параметр ")) +
           QString::fromUtf8(result.param->MessageName) + QStringLiteral("!");
}

TGsmRunResult WriteGsm(const TGsmValues &source, TRegisterLink &link, TRunObserver *observer)
{
    QList<int> rows;
    for (int r = 1; r <= kGsmParamCount; ++r)
        rows.append(r);
    return WriteGsmRows(source, rows, link, observer);
}

TGsmRunResult WriteGsmRows(const TGsmValues &source, const QList<int> &deviceRows,
                           TRegisterLink &link, TRunObserver *observer)
{
    using TOutcome = TGsmRunResult::TOutcome;
    const qint64 total = deviceRows.size();
    qint64 done = 0;
    for (int r : deviceRows) {
        const TGsmParam *param = GsmParamAtDeviceRow(r);
        if (!param)
            continue;
        const QString value = source.Value(param->GridRow);
        const QStringList texts =
            r == kGsmServerNameDeviceRow ? SplitServerName(value) : QStringList{value};
        for (int field = 0; field < texts.size(); ++field) {
            if (field > 0 && observer && !observer->KeepGoing())
                return {TOutcome::Stopped, 0, param};
            QString text = texts.at(field);
            if (const quint8 code = FieldCommand(link, kModeWrite, *param, field, text))
                return {TOutcome::Failed, code, param};
        }
        if (observer && !observer->Step(++done, total, r))
            return {TOutcome::Stopped, 0, param};
    }
    return {};
}

TGsmRunResult ReadGsm(TGsmValues &sink, TRegisterLink &link, TRunObserver *observer)
{
    using TOutcome = TGsmRunResult::TOutcome;
    for (int r = 1; r <= kGsmParamCount; ++r) {
        const TGsmParam *param = GsmParamAtDeviceRow(r);
        const int fields = r == kGsmServerNameDeviceRow ? kGsmServerNameFields : 1;
        QString value;
        for (int field = 0; field < fields; ++field) {
            if (field > 0 && observer && !observer->KeepGoing())
                return {TOutcome::Stopped, 0, param};
            QString text;
            if (const quint8 code = FieldCommand(link, kModeRead, *param, field, text))
                return {TOutcome::Failed, code, param};
            value += text;
        }
        // The value shows once its step is through; a stopped run keeps what it read.
        const bool go = !observer || observer->Step(r, kGsmParamCount, r);
        sink.SetValue(param->GridRow, value);
        if (!go)
            return {TOutcome::Stopped, 0, param};
    }
    return {};
}

TGsmRunResult WriteGsm(const TGsmValues &source, const TStructSetting &settings,
                       TRunObserver *observer)
{
    TWindowLink link(LinkSettingsOf(settings));
    return WriteGsm(source, link, observer);
}

TGsmRunResult WriteGsmRows(const TGsmValues &source, const QList<int> &deviceRows,
                           const TStructSetting &settings, TRunObserver *observer)
{
    TWindowLink link(LinkSettingsOf(settings));
    return WriteGsmRows(source, deviceRows, link, observer);
}

TGsmRunResult ReadGsm(TGsmValues &sink, const TStructSetting &settings, TRunObserver *observer)
{
    TWindowLink link(LinkSettingsOf(settings));
    return ReadGsm(sink, link, observer);
}
