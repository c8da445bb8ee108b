#pragma once

#include "cellfilters.h"

#include <QString>

// Finding goods items in the goods grid by a text: case aside, in the names and the barcodes,
// and as the item number when the text is a number.

// Where a match lies: the row (0: none), the column to show (the name, or the barcode when
// only the barcode matches), and whether the search went past the end (or the start) of the
// grid to reach it.
struct TGoodsMatch {
    int row = 0;
    int col = 0;
    bool wrapped = false;
};

class TGoodsFind
{
public:
    explicit TGoodsFind(const QString &text);

    bool IsEmpty() const { return text_.isEmpty(); }
    // The column of row that matches (see TGoodsMatch), or 0.
    int MatchColumn(int row, const QString &name, const QString &barcode) const;
    // The next match after row from (before it when not forward) among rows 1..rows, going
    // round the ends; row from itself comes last. With fromIncluded it comes first instead.
    TGoodsMatch Next(const TCellTexts &cells, int rows, int from, bool forward,
                     bool fromIncluded = false) const;

private:
    QString text_;
    int item_ = 0; // the text as an item number, 0 when it is none
};
