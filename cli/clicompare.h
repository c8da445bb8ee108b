#pragma once

#include "clioptions.h"
#include "config.h"
#include "gridtexts.h"
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
// Column col of the tab's grid.
const TGridColumn &GridColumnOf(TTableTab tab, int col);

// A value as a read of what was written shows it: the texts in the register's capitals and
// length, prices in roubles and kopecks, fonts and codes as their list entries.
QString ShownAfterWrite(TTableTab tab, int col, const QString &cell);

// One line per field of the parts whose register value (read) differs from the file's (file),
// both as the grids would show them.
QStringList CompareConfigs(const TConfig &file, const TConfig &read, const QList<TCliPart> &parts,
                           const TCliOptions &options);
