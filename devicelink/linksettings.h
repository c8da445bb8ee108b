#pragma once

#include "progsettings.h"

#include <QString>
#include <QtGlobal>

// What the link needs to reach one register: its port, the line speed, the total read time-out
// and the device number every request carries.
struct TLinkSettings {
    QString portName;      // "COM3", "ttyUSB0", "/dev/pts/4", ...
    qint32 speed = 19200;  // bits per second
    qint32 timeOut = 3500; // total read time-out, milliseconds
    quint32 deviceNumber = 0;
};

// The link settings of the program settings the main window holds.
inline TLinkSettings LinkSettingsOf(const TStructSetting &settings)
{
    return {settings.Port.Name, settings.Port.Speed, settings.Port.TimeOut, settings.NumKKT};
}
