#pragma once

#include "clioptions.h"
#include "config.h"

#include <QString>
#include <QStringList>

// What kkt-cli refuses before the first exchange, so a wrong file or name never reaches a
// register and a run never ends in a failure it could have foreseen. Each gives the message
// (empty when usable).

// "what "path": reason".
QString CliFileError(const char *what, const QString &path, const QString &reason);

// write, verify: the file's values into config, refused when it holds nothing the run would
// use (none of the configuration's sections, none of the --only tables, no goods items).
// read: what the file already holds (merged into, as the save does), refused when the file
// read could not be saved there.
QString LoadInput(const TCliOptions &options, TConfig &config);

// The ports in the order given, each device once: "ttyUSB0" and "/dev/ttyUSB0" are one
// register, which would otherwise seem held by another program.
QStringList DistinctPorts(const QStringList &ports);
// Why one of the names is plainly no serial port (a folder, a plain file).
QString PortsRefusal(const QStringList &ports);
