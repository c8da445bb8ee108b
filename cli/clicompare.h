#pragma once

#include "clioptions.h"
#include "config.h"
#include "registershown.h"
#include "tablelayout.h"

#include <QList>
#include <QStringList>

// Names of what a run works on, and the comparison of a file's values with the register's.

// The tab of a table part (not for TCliPart::Gsm).
TTableTab CliPartTab(TCliPart part);
// The tab's caption, or "Параметры GSM".
QString CliPartTitle(TCliPart part);
// "строка 3", "товар 12", "параметр 2".
QString RecordTitle(TCliPart part, int record);

// One line per field of the parts whose register value (read) differs from the file's (file),
// both as the grids would show them.
QStringList CompareConfigs(const TConfig &file, const TConfig &read, const QList<TCliPart> &parts,
                           const TCliOptions &options);
