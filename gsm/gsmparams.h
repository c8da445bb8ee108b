#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// The seven GSM module parameters as the frame's grid and the register hold them.

// Which characters a parameter's cell takes.
enum class TGsmCharSet {
    Any,
    Digits,       // 0-9
    DigitsAndDot, // 0-9 and "."
};

struct TGsmParam {
    int GridRow;         // row of the grid sgGsm (1..7)
    quint8 DeviceRow;    // row of device table 5 (1..7)
    const char *Caption; // column 0 of the grid
    TGsmCharSet Chars;
    int MaxLength;           // characters a cell holds at most
    bool UpperCase;          // written to the register in capitals
    const char *MessageName; // the parameter's name in error messages
};

inline constexpr int kGsmParamCount = 7;
inline constexpr quint8 kGsmTable = 5;            // the register's table of GSM parameters
inline constexpr int kGsmServerNameDeviceRow = 3; // the name fills fields 0, 1 and 2 of it
inline constexpr int kGsmServerNameFields = 3;
inline constexpr int kGsmFieldLength = 24;   // characters of one device field
inline constexpr quint8 kGsmAttribute = '0'; // the narrow font flag sent with every value
inline constexpr int kGsmPortGridRow = 3; // "Порт сервера ОФД", used by the connection test

// The parameter shown in grid row gridRow (1..7), nullptr for any other row.
const TGsmParam *GsmParamAtGridRow(int gridRow);
// The parameter kept in device row deviceRow (1..7), nullptr for any other row.
const TGsmParam *GsmParamAtDeviceRow(int deviceRow);

// The key filter of a value cell: the character to put into the cell, or nothing when it is
// refused. Backspace always passes; a full cell (current holds MaxLength characters) takes no
// further character; the address, port and PIN rows take only their own characters.
std::optional<QChar> GsmKeyFilter(int gridRow, QChar typed, const QString &current);

// The server name cut into the texts of its three device fields: 24 characters each from the
// front, the fields after the end of the name empty (a longer name loses its tail).
QStringList SplitServerName(const QString &name);
