#pragma once

#include "goodsfind.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class TStringGrid;

// The find bar under the goods grid (Ctrl+F): the text typed is looked up in the names and
// barcodes, case aside, and as an item number; Enter or F3 goes to the next match, Shift+Enter
// or Shift+F3 to the previous one, round the ends of the grid; Esc closes the bar and gives the
// keyboard back to the grid.
class TGoodsFindBar : public QFrame
{
    Q_OBJECT
public:
    TGoodsFindBar(TStringGrid *grid, QWidget *parent);

    // Shows the bar with the keyboard in its text, selected.
    void Open();
    void Close();
    // Makes the next (previous) match the grid's current cell; false when nothing matches.
    // An empty text opens the bar instead.
    bool FindNext(bool forward);

    QLineEdit *Edit() const { return edit_; }
    // "Не найдено" when nothing matches, a word when the search went round the end.
    QLabel *Status() const { return status_; }

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    // As the text is typed: the first match from the current row on.
    void TextEdited();
    bool Find(bool forward, bool fromIncluded);

    TStringGrid *grid_;
    QLineEdit *edit_ = nullptr;
    QLabel *status_ = nullptr;
};
