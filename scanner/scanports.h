#pragma once

#include <QString>
#include <QStringList>

// The port names the scanner settings offer. On Windows: "COM1" to "COM99" in order. Elsewhere
// those names mean nothing, so the list holds the serial ports found on the machine, in
// ascending order of the number in the name, plus the configured port when that device exists
// but the system does not list it (a pseudo-terminal, for instance).
QStringList ScannerPortNames(const QString &configuredPort);

// Orders port names by the number at the end of the name ("ttyS2" before "ttyS10"), then by name.
void SortPortNamesByNumber(QStringList &names);
