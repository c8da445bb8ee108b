#pragma once

#include <QString>
#include <QStringList>

// Serial port names as the program offers them, for the register's and the scanner's port lists.

// Orders port names by their stem, then by the number they end in: COM1, COM2, COM12; all
// "ttyS" before "ttyUSB"; a name without a number before the numbered ones of its stem.
QStringList SortPortNames(QStringList names);

// True when the named device is there: a full path ("/dev/pts/4") or a name under /dev.
// Always false on Windows, which lists every COM port it has.
bool PortDeviceExists(const QString &name);
