#include "devicerequests.h"

#include "devicetext.h"
#include "win1251.h"

#include <algorithm>
#include <cstring>

namespace
{

// "T" request offsets.
constexpr int kGoodsModeAt = 8, kGoodsNumberAt = 9, kGoodsFontAt = 11, kGoodsNameAt = 12,
              kGoodsBarcodeAt = 36, kGoodsPriceAt = 42, kGoodsPriceSignAt = 46,
              kGoodsDepartmentAt = 47;
// "T" answer offsets.
constexpr int kGoodsAnsNumberAt = 4, kGoodsAnsFontAt = 6, kGoodsAnsNameAt = 7,
              kGoodsAnsBarcodeAt = 31, kGoodsAnsPriceAt = 37, kGoodsAnsDepartmentAt = 42;
// "p" request and answer offsets.
constexpr int kFieldModeAt = 8, kFieldTextAt = 13, kFieldAnsAttributeAt = 8, kFieldAnsTextAt = 9;
constexpr int kBarcodeSize = 6, kPriceSize = 5;

void PutText(DeviceFrame &frame, int offset, const QByteArray &text)
{
    const int n = std::min<int>(int(text.size()), kDeviceTextSize);
    std::memcpy(frame.bytes.data() + offset, text.constData(), size_t(n));
}

QByteArray TextAt(const DeviceFrame &frame, int offset)
{
    return QByteArray(reinterpret_cast<const char *>(frame.bytes.data() + offset), kDeviceTextSize);
}

} // namespace

bool ParseBarcode(const QString &text, qint64 &value)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

bool ParsePrice(const QString &text, qint32 &value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

QByteArray EncodeDeviceText(const QString &text, bool upperCase, int maxChars)
{
    QString source = upperCase ? AnsiUpper(text) : text;
    if (maxChars >= 0)
        source.truncate(maxChars);
    return ToDeviceText(ToWin1251(source));
}

QString DecodeDeviceText(const QByteArray &bytes)
{
    return FromWin1251(FromDeviceText(bytes));
}

bool PrepareGoodsItemWrite(quint16 itemNumber, quint8 fontType, const QString &name,
                           const QString &barcode, const QString &price, quint8 department,
                           TGoodsItemWire &wire)
{
    TGoodsItemWire w;
    if (!ParseBarcode(barcode, w.barcode) || !ParsePrice(price, w.price))
        return false;
    w.itemNumber = itemNumber;
    w.fontType = fontType;
    w.name = EncodeDeviceText(name, true, kDeviceTextSize);
    w.department = department;
    wire = w;
    return true;
}

void BuildGoodsItemRequest(DeviceFrame &frame, quint32 deviceNumber, quint8 mode,
                           const TGoodsItemWire &item)
{
    BeginRequest(frame, deviceNumber, kGoodsItemLetter, kGoodsItemRequestLength);
    frame.bytes[kGoodsModeAt] = mode;
    PutFrameNumber(frame, kGoodsNumberAt, item.itemNumber, 2);
    if (mode == kGoodsItemReadMode)
        return;
    frame.bytes[kGoodsFontAt] = item.fontType;
    PutText(frame, kGoodsNameAt, item.name);
    PutFrameNumber(frame, kGoodsBarcodeAt, quint64(item.barcode), kBarcodeSize);
    PutFrameNumber(frame, kGoodsPriceAt, quint32(item.price), 4);
    frame.bytes[kGoodsPriceSignAt] = item.price < 0 ? 0xFF : 0x00;
    frame.bytes[kGoodsDepartmentAt] = item.department;
}

void BuildTableFieldRequest(DeviceFrame &frame, quint32 deviceNumber, quint8 mode, quint8 table,
                            quint8 row, quint8 field, quint8 attribute, const QByteArray &text)
{
    BeginRequest(frame, deviceNumber, kTableFieldLetter, kTableFieldRequestLength);
    frame.bytes[kFieldModeAt] = mode;
    frame.bytes[kFieldModeAt + 1] = table;
    frame.bytes[kFieldModeAt + 2] = row;
    frame.bytes[kFieldModeAt + 3] = field;
    frame.bytes[kFieldModeAt + 4] = attribute;
    if (mode == kTableFieldWriteMode)
        PutText(frame, kFieldTextAt, text);
}

void BuildStatusRequest(DeviceFrame &frame, quint32 deviceNumber)
{
    BeginRequest(frame, deviceNumber, kStatusLetter, kStatusRequestLength);
}

void BuildClearGoodsRequest(DeviceFrame &frame, quint32 deviceNumber)
{
    BeginRequest(frame, deviceNumber, kClearGoodsLetter, kClearGoodsRequestLength);
}

TGoodsItemAnswer DecodeGoodsItemAnswer(const DeviceFrame &frame)
{
    TGoodsItemAnswer a;
    a.itemNumber = quint16(FrameNumber(frame, kGoodsAnsNumberAt, 2));
    a.fontType = frame.bytes[kGoodsAnsFontAt];
    a.name = DecodeDeviceText(TextAt(frame, kGoodsAnsNameAt));
    a.barcode = QString::number(FrameNumber(frame, kGoodsAnsBarcodeAt, kBarcodeSize));
    a.price = QString::number(FrameNumber(frame, kGoodsAnsPriceAt, kPriceSize));
    a.department = frame.bytes[kGoodsAnsDepartmentAt];
    return a;
}

void DecodeTableFieldAnswer(const DeviceFrame &frame, quint8 &attribute, QString &text)
{
    attribute = frame.bytes[kFieldAnsAttributeAt];
    text = DecodeDeviceText(TextAt(frame, kFieldAnsTextAt));
}

TDeviceStatus DecodeStatusAnswer(const DeviceFrame &frame)
{
    TDeviceStatus s;
    const auto byte = [&frame](int at) { return frame.bytes[size_t(at)]; };
    s.A = byte(4);
    s.B = byte(5);
    s.C = byte(6);
    s.D = byte(7);
    s.E = quint16(FrameNumber(frame, 8, 2));
    s.F = byte(10);
    s.G = byte(11);
    s.H = byte(12);
    s.I = byte(13);
    s.J = byte(14);
    s.K = byte(15);
    s.L = quint32(FrameNumber(frame, 16, 4));
    s.M = byte(20);
    s.N = byte(21);
    s.O = FrameNumber(frame, 22, 6);
    return s;
}
