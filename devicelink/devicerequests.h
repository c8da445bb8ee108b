#pragma once

#include "devicecommands.h"
#include "deviceframe.h"

#include <QByteArray>
#include <QString>

// Request layouts and answer fields of the four register commands, as plain functions over a
// frame, so they are checked byte by byte without a line.

inline constexpr char kGoodsItemLetter = 'T';
inline constexpr int kGoodsItemRequestLength = 51;
inline constexpr int kGoodsItemAnswerLength = 46;
inline constexpr char kTableFieldLetter = 'p';
inline constexpr int kTableFieldRequestLength = 40;
inline constexpr int kTableFieldAnswerLength = 36;
inline constexpr char kStatusLetter = 'u';
inline constexpr int kStatusRequestLength = 11;
inline constexpr int kStatusAnswerLength = 31;
inline constexpr char kClearGoodsLetter = 'c';
inline constexpr int kClearGoodsRequestLength = 11;
inline constexpr int kClearGoodsAnswerLength = 7;

inline constexpr quint8 kGoodsItemReadMode = 1;
inline constexpr quint8 kTableFieldWriteMode = 0;
inline constexpr quint8 kTableFieldReadMode = 1;
// Characters of a name and bytes of a text field on the register.
inline constexpr int kDeviceTextSize = 24;

// A goods item in the form the "T" request carries it.
struct TGoodsItemWire {
    quint16 itemNumber = 0;
    quint8 fontType = 0;
    QByteArray name; // device text, at most 24 bytes are sent
    qint64 barcode = 0;
    qint32 price = 0;
    quint8 department = 0;
};

// What a "T" answer hands back, already as the caller's texts.
struct TGoodsItemAnswer {
    quint16 itemNumber = 0;
    quint8 fontType = 0;
    QString name;
    QString barcode;
    QString price;
    quint8 department = 0;
};

// A whole number in decimal within the range of its type; false for anything else (empty text,
// a fraction, letters, out of range).
bool ParseBarcode(const QString &text, qint64 &value);
bool ParsePrice(const QString &text, qint32 &value);

// Text as the register gets it: optionally upper-cased by the ANSI rules, cut to maxChars
// characters when maxChars >= 0, in Windows-1251, then in device text.
QByteArray EncodeDeviceText(const QString &text, bool upperCase, int maxChars = -1);
// Device text (ending at a 0 or 128 byte) to the program's text.
QString DecodeDeviceText(const QByteArray &bytes);

// Fills the goods item fields of a write: the name is upper-cased, cut to 24 characters and
// converted. False (result 5) when the barcode or price text is not a whole number in range.
bool PrepareGoodsItemWrite(quint16 itemNumber, quint8 fontType, const QString &name,
                           const QString &barcode, const QString &price, quint8 department,
                           TGoodsItemWire &wire);

void BuildGoodsItemRequest(DeviceFrame &frame, quint32 deviceNumber, quint8 mode,
                           const TGoodsItemWire &item);
void BuildTableFieldRequest(DeviceFrame &frame, quint32 deviceNumber, quint8 mode, quint8 table,
                            quint8 row, quint8 field, quint8 attribute, const QByteArray &text);
void BuildStatusRequest(DeviceFrame &frame, quint32 deviceNumber);
void BuildClearGoodsRequest(DeviceFrame &frame, quint32 deviceNumber);

// Answer fields from their fixed offsets, whatever the number of bytes received.
TGoodsItemAnswer DecodeGoodsItemAnswer(const DeviceFrame &frame);
void DecodeTableFieldAnswer(const DeviceFrame &frame, quint8 &attribute, QString &text);
TDeviceStatus DecodeStatusAnswer(const DeviceFrame &frame);
