#include "stringgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolTip>

namespace
{

const char *const kColProperty = "gridCol";
const char *const kRowProperty = "gridRow";
// The text the cell had when it was entered, which Escape brings back.
const char *const kEnteredProperty = "enteredText";

// A key whose text the editor would insert (not Backspace, Tab, Enter and the like).
bool IsTypedCharacter(QChar c)
{
    return c.isPrint();
}

} // namespace

TStringGridDelegate::TStringGridDelegate(TStringGrid *grid) : QStyledItemDelegate(grid), grid_(grid)
{
}

QWidget *TStringGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                           const QModelIndex &index) const
{
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    // Text reaches the cell only through typing and the filtered paste below.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setAcceptDrops(false);
    edit->setProperty(kColProperty, index.column() + 1);
    edit->setProperty(kRowProperty, index.row() + 1);
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    TStringGrid *grid = grid_;
    // The cell follows the editor as it changes, so Cells() always shows what the user sees.
    connect(edit, &QLineEdit::textChanged, grid,
            [grid, col, row](const QString &text) { grid->TypedText(col, row, text); });
    grid->editor_ = edit;
    return edit;
}

void TStringGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit)
        return;
    const QString text = index.data(Qt::EditRole).toString();
    // The cell changed behind the editor (a scanned barcode, say): show the new text whole.
    // What did not come from typing is what Escape goes back to.
    if (edit->text() != text) {
        edit->setText(text);
        edit->selectAll();
        edit->setProperty(kEnteredProperty, text);
    }
}

void TStringGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                       const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        model->setData(index, edit->text(), Qt::EditRole);
}

bool TStringGridDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                    const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    // Some room for the cell's own margins.
    if (!text.isEmpty() && option.fontMetrics.horizontalAdvance(text) + 6 > option.rect.width())
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}

bool TStringGridDelegate::EditorMouse(QLineEdit *edit, QEvent *event) const
{
    if (event->type() == QEvent::MouseButtonPress) {
        // A click into the cell being edited makes it a block of one again.
        const int col = edit->property(kColProperty).toInt();
        const int row = edit->property(kRowProperty).toInt();
        if (grid_->Selection().size() != QSize(1, 1))
            grid_->SelectBlock(col, row, col, row);
        return false;
    }
    if (event->type() != QEvent::MouseMove)
        return false;
    // Dragged out of the cell being edited: the drag selects cells instead of text.
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint at = edit->mapToParent(mouse->position().toPoint());
    if (!(mouse->buttons() & Qt::LeftButton) || edit->geometry().contains(at))
        return false;
    grid_->DragTo(at);
    return true;
}

void TStringGridDelegate::Insert(QLineEdit *edit, int col, int row, QChar key) const
{
    const QChar out = grid_->FilterKey(col, row, key, edit->text());
    if (out.isNull())
        return;
    QString result = edit->text();
    if (edit->hasSelectedText())
        result.replace(edit->selectionStart(), edit->selectedText().size(), out);
    else
        result.insert(edit->cursorPosition(), out);
    if (grid_->TextAcceptable(col, row, result))
        edit->insert(QString(out));
}

bool TStringGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(object);
    if (!grid_)
        return QStyledItemDelegate::eventFilter(object, event);
    if (edit && grid_->SheetMode() && EditorMouse(edit, event))
        return true;
    // Typing that goes on after the user was elsewhere (a run, another control) is a new step.
    if (edit && event->type() == QEvent::FocusOut)
        grid_->history_.EndTyping();
    if (!edit || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);

    auto *key = static_cast<QKeyEvent *>(event);
    if (grid_->KeyDown(key->key(), key->modifiers()))
        return true;
    if (grid_->SheetKey(key))
        return true;

    const int col = edit->property(kColProperty).toInt();
    const int row = edit->property(kRowProperty).toInt();

    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        // Undoes the typing in this cell; the editor stays open.
        const QString entered = edit->property(kEnteredProperty).toString();
        if (edit->text() != entered)
            edit->setText(entered);
        edit->selectAll();
        return true;
    }
    // Past the end or the start of the text, the arrows go on to the neighbouring cell.
    const bool atEnd = edit->cursorPosition() == edit->text().size();
    const bool atStart = edit->cursorPosition() == 0;
    if (mods == Qt::NoModifier && !edit->hasSelectedText() &&
        ((key->key() == Qt::Key_Right && atEnd) || (key->key() == Qt::Key_Left && atStart)))
        return grid_->Navigate(key->key(), mods);

    if (key->matches(QKeySequence::Paste)) {
        // Pasted text goes through the key filter character by character, as if typed.
        const QString pasted = QApplication::clipboard()->text();
        for (QChar c : pasted)
            if (IsTypedCharacter(c))
                Insert(edit, col, row, c);
        return true;
    }

    const QString text = key->text();
    if (key->key() == Qt::Key_Backspace || text.isEmpty() || !IsTypedCharacter(text.front()) ||
        (key->modifiers() & Qt::ControlModifier))
        return QStyledItemDelegate::eventFilter(object, event);
    for (QChar c : text)
        Insert(edit, col, row, c);
    return true;
}
