#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Blocks of cells as spreadsheets put them on the clipboard and read them back: one line per
// row, the cells separated by tabs. A cell that holds a tab, a line break or starts with a
// quote is quoted, with its quotes doubled.

// Rows joined by line feeds; a block of more than one cell ends in one too, as spreadsheets
// write it, a single cell is its bare text.
QString TsvText(const QVector<QStringList> &rows);

// The rows of a text: lines end in CR LF, LF or CR, and a line break at the very end ends the
// last row rather than starting an empty one. A quote that opens a cell quotes it only when
// it closes right before a tab or the end of a line; otherwise it is part of the text.
QVector<QStringList> ReadTsv(const QString &text);
