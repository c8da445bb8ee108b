#include "goodsfind.h"

#include "goodsrecord.h"

TGoodsFind::TGoodsFind(const QString &text) : text_(text.trimmed())
{
    bool number = !text_.isEmpty() && text_.size() <= 9;
    for (QChar c : std::as_const(text_))
        number = number && c >= u'0' && c <= u'9';
    item_ = number ? text_.toInt() : 0;
}

int TGoodsFind::MatchColumn(int row, const QString &name, const QString &barcode) const
{
    if (text_.isEmpty())
        return 0;
    if (row == item_ || name.contains(text_, Qt::CaseInsensitive))
        return GoodsColumn::Name;
    if (barcode.contains(text_, Qt::CaseInsensitive))
        return GoodsColumn::Barcode;
    return 0;
}

TGoodsMatch TGoodsFind::Next(const TCellTexts &cells, int rows, int from, bool forward,
                             bool fromIncluded) const
{
    if (text_.isEmpty() || rows < 1 || !cells)
        return {};
    from = qBound(1, from, rows);
    const int step = forward ? 1 : -1;
    const int first = fromIncluded ? 0 : 1;
    for (int i = first; i < first + rows; ++i) {
        // Row from, then on to the end, then round from the other end.
        const int offset = from - 1 + step * i;
        const int row = (offset % rows + rows) % rows + 1;
        const int col =
            MatchColumn(row, cells(GoodsColumn::Name, row), cells(GoodsColumn::Barcode, row));
        if (col > 0)
            return {row, col, row == from ? i > 0 : (row < from) == forward};
    }
    return {};
}
