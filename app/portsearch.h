#pragma once

#include <QString>
#include <QStringList>

// The serial ports the connection dialog offers.

// Orders port names by their stem, then by the number they end in: COM1, COM2, COM12.
QStringList SortPortNames(QStringList names);

// True when the named device is there: a full path ("/dev/pts/4") or a name under /dev.
bool PortDeviceExists(const QString &name);

// The ports the system lists, in order, plus configuredPort at the end when that device exists
// but the system does not list it (a pseudo-terminal such as the register emulator's).
QStringList EnumeratePorts(const QString &configuredPort);
