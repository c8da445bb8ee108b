#include "devicecommands.h"

#include "deviceexchange.h"
#include "devicerequests.h"
#include "registerlink.h"

namespace
{

// Opens the port (unless the link keeps it open), runs one exchange over it (unless the request
// could not be built: then nothing is sent and the result is 5) and closes it whatever came of
// it (a link kept open only after a failure). Result 1 when the port did not open: nothing was
// sent and onAnswer never ran.
TExchangeOutcome RunCommand(TRegisterLink &link, qint32 timeOut, qint32 delay, bool requestValid,
                            int answerLength,
                            const std::function<void(DeviceFrame &)> &buildRequest,
                            const std::function<void(const DeviceFrame &)> &onAnswer)
{
    if (!link.BeginCommand(timeOut, delay))
        return TExchangeOutcome{kResultPortNotOpened, false, 0};
    TExchangeOutcome outcome{kResultNotANumber, false, 0};
    if (requestValid) {
        DeviceFrame frame;
        outcome = RunExchange(link.Transport(), frame, answerLength, buildRequest, onAnswer);
    }
    link.EndCommand(outcome.result);
    return outcome;
}

quint8 GoodsItem(TRegisterLink &link, qint32 timeOut, qint32 delay, quint8 mode,
                 quint16 &itemNumber, quint8 &fontType, QString &name, QString &barcode,
                 QString &price, quint8 &department)
{
    TGoodsItemWire wire;
    wire.itemNumber = itemNumber;
    // A read sends no texts, so only a write needs the barcode and price to be numbers.
    const bool valid =
        mode == kGoodsItemReadMode ||
        PrepareGoodsItemWrite(itemNumber, fontType, name, barcode, price, department, wire);
    const quint32 deviceNumber = link.Settings().deviceNumber;
    TGoodsItemAnswer answer;
    const TExchangeOutcome outcome = RunCommand(
        link, timeOut, delay, valid, kGoodsItemAnswerLength,
        [&](DeviceFrame &frame) { BuildGoodsItemRequest(frame, deviceNumber, mode, wire); },
        [&](const DeviceFrame &frame) { answer = DecodeGoodsItemAnswer(frame); });
    // The caller's values change only when the exchange ended with a real answer that is not
    // busy; after no answer, a bad checksum or ten busy answers they stay as they were.
    if (outcome.answered && !IsBusyStatus(outcome.result)) {
        itemNumber = answer.itemNumber;
        fontType = answer.fontType;
        name = answer.name;
        barcode = answer.barcode;
        price = answer.price;
        department = answer.department;
    }
    return outcome.result;
}

quint8 TableField(TRegisterLink &link, qint32 timeOut, qint32 delay, quint8 mode, quint8 table,
                  quint8 row, quint8 field, quint8 &attribute, QString &text, bool upperCase)
{
    // Converted once, so every attempt sends the same bytes and the caller's text stays as it is.
    const QByteArray deviceText =
        mode == kTableFieldWriteMode ? EncodeDeviceText(text, upperCase) : QByteArray();
    const quint8 sentAttribute = attribute;
    const quint32 deviceNumber = link.Settings().deviceNumber;
    return RunCommand(
               link, timeOut, delay, true, kTableFieldAnswerLength,
               [&](DeviceFrame &frame) {
                   BuildTableFieldRequest(frame, deviceNumber, mode, table, row, field,
                                          sentAttribute, deviceText);
               },
               [&](const DeviceFrame &frame) {
                   // A read takes every answer that passed the checksum, busy ones included.
                   if (mode == kTableFieldReadMode)
                       DecodeTableFieldAnswer(frame, attribute, text);
               })
        .result;
}

quint8 Status(TRegisterLink &link, qint32 timeOut, qint32 delay, TDeviceStatus &status)
{
    const quint32 deviceNumber = link.Settings().deviceNumber;
    return RunCommand(
               link, timeOut, delay, true, kStatusAnswerLength,
               [&](DeviceFrame &frame) { BuildStatusRequest(frame, deviceNumber); },
               [&](const DeviceFrame &frame) { status = DecodeStatusAnswer(frame); })
        .result;
}

quint8 ClearGoods(TRegisterLink &link, qint32 timeOut, qint32 delay, quint8 &deviceStatus)
{
    const quint32 deviceNumber = link.Settings().deviceNumber;
    return RunCommand(
               link, timeOut, delay, true, kClearGoodsAnswerLength,
               [&](DeviceFrame &frame) { BuildClearGoodsRequest(frame, deviceNumber); },
               [&](const DeviceFrame &frame) { deviceStatus = frame.bytes[kAnswerStatusOffset]; })
        .result;
}

} // namespace

quint8 GoodsItemCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                        quint32 deviceNumber, quint8 mode, quint16 &itemNumber, quint8 &fontType,
                        QString &name, QString &barcode, QString &price, quint8 &department)
{
    TWindowLink link({portName, speed, timeOut, deviceNumber});
    return GoodsItem(link, timeOut, delay, mode, itemNumber, fontType, name, barcode, price,
                     department);
}

quint8 GoodsItemCommand(TRegisterLink &link, quint8 mode, quint16 &itemNumber, quint8 &fontType,
                        QString &name, QString &barcode, QString &price, quint8 &department)
{
    return GoodsItem(link, link.Settings().timeOut, 0, mode, itemNumber, fontType, name, barcode,
                     price, department);
}

quint8 TableFieldCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                         quint32 deviceNumber, quint8 mode, quint8 table, quint8 row, quint8 field,
                         quint8 &attribute, QString &text, bool upperCase)
{
    TWindowLink link({portName, speed, timeOut, deviceNumber});
    return TableField(link, timeOut, delay, mode, table, row, field, attribute, text, upperCase);
}

quint8 TableFieldCommand(TRegisterLink &link, quint8 mode, quint8 table, quint8 row, quint8 field,
                         quint8 &attribute, QString &text, bool upperCase)
{
    return TableField(link, link.Settings().timeOut, 0, mode, table, row, field, attribute, text,
                      upperCase);
}

quint8 StatusCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                     quint32 deviceNumber, TDeviceStatus &status)
{
    TWindowLink link({portName, speed, timeOut, deviceNumber});
    return Status(link, timeOut, delay, status);
}

quint8 StatusCommand(TRegisterLink &link, TDeviceStatus &status)
{
    return Status(link, link.Settings().timeOut, 0, status);
}

quint8 ClearGoodsCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                         quint32 deviceNumber, quint8 &deviceStatus)
{
    TWindowLink link({portName, speed, timeOut, deviceNumber});
    return ClearGoods(link, timeOut, delay, deviceStatus);
}

quint8 ClearGoodsCommand(TRegisterLink &link, qint32 timeOut, quint8 &deviceStatus)
{
    return ClearGoods(link, timeOut, 0, deviceStatus);
}
