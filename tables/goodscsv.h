#pragma once

#include "csvtext.h"
#include "goodsrecord.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The goods grid as a CSV table, for spreadsheets: "Код товара;Наименование;Тип шрифта;
// Штрих-код;Цена за единицу;Отдел/Услуга". Works on plain rows (rows[0] is item 1), so the
// frame only copies its grid in and out.

// An item with nothing in it: no name, and barcode, price and department empty or zero (as
// an item read from a register that never had it). The font does not count.
bool IsEmptyGoodsRow(const TConfig_PredmRasch &row);

// The export: the header line and one line per item that is not empty, or every item; ';',
// CR LF, in the encoding given.
QByteArray GoodsCsvBytes(const QVector<TConfig_PredmRasch> &rows, bool allRows,
                         TCsvEncoding encoding);

// One goods item an import sets, and one line it cannot use.
struct TGoodsCsvItem {
    int item = 0;
    TConfig_PredmRasch row;
};
struct TGoodsCsvProblem {
    int line = 0;
    QString reason;
};

// The unusable lines a plan lists; the others are only counted.
inline constexpr int kListedGoodsCsvProblems = 1000;

// What an import would do to the grid, worked out before anything changes.
struct TGoodsImportPlan {
    QVector<TGoodsCsvItem> items;       // in the order of the file's lines
    QVector<TGoodsCsvProblem> problems; // by line, the first kListedGoodsCsvProblems
    int problemCount = 0;               // every line that cannot be used
    int shortenedNames = 0;             // names cut to their font's limit
    // Not empty: the file is not imported at all (no items), and this message says why.
    QString refusal;
};

// Reads a file's bytes in one pass (code page and separator detected, an optional header of
// loosely matched column names, otherwise the export's columns) against the grid's current
// rows. Columns the file lacks keep the row's cells; a line without an item number takes the
// next empty row from the first, one that no numbered line names. Refused whole: a file
// without a header whose lines are mostly unusable (not a goods table), and one with more
// usable lines than the table has rows.
TGoodsImportPlan PlanGoodsImport(const QByteArray &bytes,
                                 const QVector<TConfig_PredmRasch> &current);

// The confirmation's text: how many items will be set, then the lines that cannot be used.
QString GoodsImportSummary(const TGoodsImportPlan &plan);
QString GoodsImportProblemText(const TGoodsImportPlan &plan);

// Files: the export is written whole through a temporary file (a failed save leaves the old
// file as it was); the import reads a regular file of sensible size. On failure errorText
// says why.
bool SaveGoodsCsvFile(const QString &path, const QByteArray &bytes, QString *errorText);
bool ReadGoodsCsvFile(const QString &path, QByteArray *bytes, QString *errorText);
