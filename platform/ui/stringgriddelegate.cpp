#include "stringgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

namespace
{

const char *const kColProperty = "gridCol";
const char *const kRowProperty = "gridRow";

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
            [grid, col, row](const QString &text) { grid->SetCells(col, row, text); });
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
    if (edit->text() != text) {
        edit->setText(text);
        edit->selectAll();
    }
}

void TStringGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                       const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        model->setData(index, edit->text(), Qt::EditRole);
}

bool TStringGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(object);
    if (!edit || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);

    auto *key = static_cast<QKeyEvent *>(event);
    if (grid_->KeyDown(key->key(), key->modifiers()))
        return true;

    const int col = edit->property(kColProperty).toInt();
    const int row = edit->property(kRowProperty).toInt();

    if (key->matches(QKeySequence::Paste)) {
        // Pasted text goes through the key filter character by character, as if typed.
        const QString pasted = QApplication::clipboard()->text();
        for (QChar c : pasted) {
            if (!IsTypedCharacter(c))
                continue;
            const QChar out = grid_->FilterKey(col, row, c, edit->text());
            if (!out.isNull())
                edit->insert(QString(out));
        }
        return true;
    }

    const QString text = key->text();
    if (key->key() == Qt::Key_Backspace || text.isEmpty() || !IsTypedCharacter(text.front()) ||
        (key->modifiers() & Qt::ControlModifier))
        return QStyledItemDelegate::eventFilter(object, event);

    QString accepted;
    for (QChar c : text) {
        const QChar out = grid_->FilterKey(col, row, c, edit->text() + accepted);
        if (!out.isNull())
            accepted.append(out);
    }
    if (accepted == text)
        return QStyledItemDelegate::eventFilter(object, event);
    if (!accepted.isEmpty())
        edit->insert(accepted);
    return true;
}
