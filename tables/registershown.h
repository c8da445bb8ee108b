#pragma once

#include "gridtexts.h"
#include "tablecells.h"
#include "tablelayout.h"

#include <QList>
#include <QString>

// Cell texts as the register gives them back: what a read of a written cell fills it with.
// Comparing cells with the register goes through these, so a name typed in small letters or a
// price without kopecks does not count as a difference.

// A value as a read of what was written shows it: the texts in the register's capitals and
// length, prices in roubles and kopecks, fonts and codes as their list entries.
QString ShownAfterWrite(TTableTab tab, int col, const QString &cell);
// The same for the cell (col, row) of cells; a group's sign, VAT and tax system go to the
// register as one field, so each follows from the three cells together.
QString RegisterShown(const TTableCells &cells, TTableTab tab, int col, int row);

// The columns a run of the tab sends and fills, ascending.
const QList<int> &RunColumns(TTableTab tab);
// The columns of the tab's grid, and column col of them.
const QVector<TGridColumn> &GridColumnsOf(TTableTab tab);
const TGridColumn &GridColumnOf(TTableTab tab, int col);
