#pragma once

#include <QString>
#include <QStringList>

// The port names the scanner settings offer. On Windows: "COM1" to "COM99" in order. Elsewhere
// those names mean nothing, so the list holds the serial ports found on the machine, in the
// order the connection settings dialog offers them, plus the configured port when that device
// exists but the system does not list it (a pseudo-terminal, for instance).
QStringList ScannerPortNames(const QString &configuredPort);
