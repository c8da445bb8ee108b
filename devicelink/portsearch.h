#pragma once

#include <QString>
#include <QStringList>

#include "portnames.h"

// The serial ports the connection dialog offers.

// The ports the system lists, in order, plus configuredPort at the end when that device exists
// but the system does not list it (a pseudo-terminal such as the register emulator's).
QStringList EnumeratePorts(const QString &configuredPort);
