#pragma once

#include <QString>
#include <QStringList>

// The port names the scanner settings offer. On Windows: "COM1" to "COM99" in order. Elsewhere
// those names mean nothing, so the list holds the serial ports found on the machine, in the
// order the connection settings dialog offers them, plus the configured port when that device
// exists but the system does not list it (a pseudo-terminal, for instance).
QStringList ScannerPortNames(const QString &configuredPort);

// Orders port names as the connection settings dialog does: by the name before the trailing
// number, then by that number ("ttyS2" before "ttyS10", "ttyS10" before "ttyUSB0").
void SortPortNamesByNumber(QStringList &names);
