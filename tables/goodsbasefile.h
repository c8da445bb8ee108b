#pragma once

#include "goodsrecord.h"

#include <QString>
#include <QVector>

class TIniDocument;

// The goods base file (".dbZ48"): one INI section "ТОВАР_#n" per goods item with five keys.
// Works on plain rows, so the frame only copies its grid in and out.

// The file dialogs' filter and default extension.
QString GoodsBaseFilter();
QString GoodsBaseExtension();

// "ТОВАР_#" + n.
QString GoodsSectionName(int item);

// Sets the five keys of every row (rows[0] is item 1) in the document, in place or appended.
void PutGoodsRows(TIniDocument &document, const QVector<TConfig_PredmRasch> &rows);
// count rows read from the document, with the defaults for missing sections and keys.
QVector<TConfig_PredmRasch> TakeGoodsRows(const TIniDocument &document, int count);

// Merges the rows into the file (other sections and keys it holds stay) and writes it whole;
// a file that does not exist is created. On failure the file is left as it was and errorText
// says why.
bool SaveGoodsBaseFile(const QString &path, const QVector<TConfig_PredmRasch> &rows,
                       QString *errorText);
// Reads count rows from the file. A file that does not exist is created empty and gives the
// defaults; a link to nothing and a name that is no regular file (a folder, a pipe, a device)
// are refused without being opened. On failure rows is untouched and errorText says why.
bool LoadGoodsBaseFile(const QString &path, int count, QVector<TConfig_PredmRasch> *rows,
                       QString *errorText);

// The steps of a load, so the user can be asked in between. Reading, refused as above: a name
// with nothing there gives an empty document and *missing set.
bool ReadGoodsBaseDocument(const QString &path, TIniDocument *document, bool *missing,
                           QString *errorText);
// Creates the missing file empty, as a load of a name that does not exist does.
bool CreateGoodsBaseFile(const QString &path, QString *errorText);
// Whether the document holds at least one of the sections of items 1 to count.
bool HoldsGoods(const TIniDocument &document, int count);
