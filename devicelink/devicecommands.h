#pragma once

#include <QString>
#include <QtGlobal>

class TRegisterLink;

// The four register commands. Each opens the port, runs one exchange (repeating while the
// register answers busy), closes the port and returns the one-byte result:
// 0 success, 1 port not opened, 2 no answer, 3 bad checksum, 5 a goods number field that is
// not a number (nothing sent), any other value the register's own status byte.
// The first five parameters of every command: port name, speed (bits per second), total read
// time-out (ms), delay before opening (ms, callers pass 0), device number. These run over a
// link of their own with the windows' observers; the overloads on a link take the port, speed,
// time-out and device number from its settings, and leave a link kept open open.

// Goods item "T": mode 1 reads item itemNumber, any other mode (callers use 0) writes it.
// barcode and price are decimal texts (price in kopecks). In/out parameters are updated from
// the answer only when the exchange ends with a status other than 20, 21 and 22.
quint8 GoodsItemCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                        quint32 deviceNumber, quint8 mode, quint16 &itemNumber, quint8 &fontType,
                        QString &name, QString &barcode, QString &price, quint8 &department);
quint8 GoodsItemCommand(TRegisterLink &link, quint8 mode, quint16 &itemNumber, quint8 &fontType,
                        QString &name, QString &barcode, QString &price, quint8 &department);

// Table field "p": mode 0 writes the field, 1 reads it. attribute carries the font flag
// ('0' narrow, '1' wide). upperCase upper-cases a written text first.
quint8 TableFieldCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                         quint32 deviceNumber, quint8 mode, quint8 table, quint8 row, quint8 field,
                         quint8 &attribute, QString &text, bool upperCase);
quint8 TableFieldCommand(TRegisterLink &link, quint8 mode, quint8 table, quint8 row, quint8 field,
                         quint8 &attribute, QString &text, bool upperCase);

// The status values A to O of the "u" answer; their meaning is the register's own.
struct TDeviceStatus {
    quint8 A = 0, B = 0, C = 0, D = 0;
    quint16 E = 0;
    quint8 F = 0, G = 0, H = 0, I = 0, J = 0, K = 0;
    quint32 L = 0;
    quint8 M = 0, N = 0;
    quint64 O = 0;
};

// Status "u": the connection check.
quint8 StatusCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                     quint32 deviceNumber, TDeviceStatus &status);
quint8 StatusCommand(TRegisterLink &link, TDeviceStatus &status);

// Clear goods "c": deviceStatus receives the status byte of every answer that passes the checksum.
quint8 ClearGoodsCommand(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                         quint32 deviceNumber, quint8 &deviceStatus);
// timeOut replaces the link's own: the register takes a while to clear.
quint8 ClearGoodsCommand(TRegisterLink &link, qint32 timeOut, quint8 &deviceStatus);
