#pragma once

#include <QString>
#include <QtGlobal>

// Connection settings of the register's serial port, kept in "ProgSett.ini" section "COM_PORT".
struct TPortSett {
    QString Name;          // "COM3", "ttyUSB0", "/dev/pts/4", ...
    qint32 Speed = 19200;  // bits per second
    qint32 TimeOut = 3500; // total read time-out, milliseconds
};

// The program settings the main window holds; "NumKKT" of section "COMMON" is the device number.
struct TStructSetting {
    quint32 NumKKT = 0;
    TPortSett Port;
};
