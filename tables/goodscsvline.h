#pragma once

#include "csvtext.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// One line of a goods CSV file: the columns a header names, the rules of each cell, and the
// line read and checked. A huge file is mostly lines that are only checked and counted, so
// checking a line allocates nothing unless a cell needs decoding.

// The table's columns, in the export's order.
namespace GoodsCsvRole
{
enum : int { Code, Name, Font, Barcode, Price, Department, Count };
}
// The file's field of each role, -1 where the file has none.
using TGoodsCsvColumns = std::array<int, GoodsCsvRole::Count>;

// The export's columns, for a file without a header.
TGoodsCsvColumns ExportGoodsCsvColumns();
// The columns a header line names (captions loosely matched: "Штрих-код", "штрихкод ",
// "Цена за ед."); none when the line names no column or holds a number.
std::optional<TGoodsCsvColumns> GoodsCsvHeader(const QStringList &fields);

// A record of blanks only: a spreadsheet leaves such lines below its table.
bool IsBlankCsvRecord(const TCsvReader &reader, const TCsvSource &source);
// Every field of the record as text.
QStringList CsvRecordFields(const TCsvReader &reader, const TCsvSource &source);

// A line as read, before it is given a row; one object serves line after line.
struct TGoodsCsvLine {
    int line = 0;
    int item = 0; // 0: takes the next empty row
    // The cells as the grid would hold them, where the file has the column (present).
    std::array<QString, GoodsCsvRole::Count> values;
    std::array<bool, GoodsCsvRole::Count> present = {};
    QStringList reasons; // empty: the line can be used
    QString spare;       // a cell's text on its way into values
};

// Reads and checks the record's cells, all but the name, which has no rules of its own (see
// ReadGoodsCsvName). An item number is taken only once: firstLineOf[item] is the line that
// took it.
void ReadGoodsCsvLine(const TCsvReader &reader, const TCsvSource &source,
                      const TGoodsCsvColumns &columns, QVector<int> &firstLineOf,
                      TGoodsCsvLine &line);
void ReadGoodsCsvName(const TCsvReader &reader, const TCsvSource &source,
                      const TGoodsCsvColumns &columns, TGoodsCsvLine &line);

// A name as the grid holds it: upper case, on one line, within the font's limit.
QString GoodsCsvName(const QString &field, const QString &font, bool *shortened);
