// The string grid's spreadsheet habits: blocks of cells, the clipboard, undo and redo.

#include "stringgrid.h"
#include "tsvtext.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace
{

bool IsBlockKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

Qt::KeyboardModifiers Mods(const QKeyEvent *event)
{
    return event->modifiers() & ~Qt::KeypadModifier;
}

bool IsRedo(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = Mods(event);
    return event->matches(QKeySequence::Redo) ||
           (event->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
           (event->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier));
}

bool IsBlockGrowth(const QKeyEvent *event)
{
    return Mods(event) == Qt::ShiftModifier && IsBlockKey(event->key());
}

QString PasteNote(int pasted, int refused, int outside)
{
    QString note = QStringLiteral("Вставлено значений: %1, отклонено: %2").arg(pasted).arg(refused);
    if (outside > 0)
        note += QStringLiteral(", за краем таблицы: %1").arg(outside);
    return note;
}

} // namespace

void TStringGrid::SetSheetMode(bool on)
{
    sheetMode_ = on;
    if (on)
        model_->SetChangeHook(
            [this](int col, int row, const QString &before, const QString &after) {
                CellChanged(col, row, before, after);
            });
    else
        model_->SetChangeHook({});
}

void TStringGrid::CellChanged(int col, int row, const QString &before, const QString &after)
{
    if (applying_)
        return;
    if (readOnly_) {
        history_.Restart(readOnlyNote_);
        return;
    }
    history_.Record(col, row, before, after, typing_);
}

void TStringGrid::TypedText(int col, int row, const QString &text)
{
    typing_ = true;
    SetCells(col, row, text);
    typing_ = false;
}

QRect TStringGrid::Selection() const
{
    // Not QRect::normalized(): that moves swapped edges by one.
    const QPoint current(Col(), Row());
    return QRect(QPoint(qMin(current.x(), corner_.x()), qMin(current.y(), corner_.y())),
                 QPoint(qMax(current.x(), corner_.x()), qMax(current.y(), corner_.y())));
}

void TStringGrid::SelectBlock(int col, int row, int cornerCol, int cornerRow)
{
    if (col != Col() || row != Row()) {
        keepCorner_ = true;
        SetCurrentCell(col, row);
        keepCorner_ = false;
    }
    corner_ = QPoint(qBound(1, cornerCol, ColCount() - 1), qBound(1, cornerRow, RowCount() - 1));
    ShowBlock();
}

void TStringGrid::ShowBlock()
{
    const QRect block = Selection();
    const QModelIndex topLeft = IndexOf(block.left(), block.top());
    const QModelIndex bottomRight = IndexOf(block.right(), block.bottom());
    if (topLeft.isValid() && bottomRight.isValid())
        selectionModel()->select(QItemSelection(topLeft, bottomRight),
                                 QItemSelectionModel::ClearAndSelect);
    if (const QModelIndex corner = IndexOf(corner_.x(), corner_.y()); corner.isValid())
        scrollTo(corner);
}

void TStringGrid::ExtendBlock(int key)
{
    QPoint corner = corner_;
    const int page = qMax(1, viewport()->height() / qMax(rowHeight_, 1) - 1);
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        corner.ry() -= key == Qt::Key_Up ? 1 : page;
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        corner.ry() += key == Qt::Key_Down ? 1 : page;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // Hidden columns are passed over; at the edge the block stays as it is.
        const int step = key == Qt::Key_Left ? -1 : 1;
        for (int col = corner.x() + step; col >= 1 && col < ColCount(); col += step) {
            if (!isColumnHidden(col - 1)) {
                corner.rx() = col;
                break;
            }
        }
        break;
    }
    default:
        return;
    }
    SelectBlock(Col(), Row(), corner.x(), corner.y());
}

void TStringGrid::DragTo(const QPoint &pos)
{
    // Beyond the edge of the cells the drag scrolls on, a row or a column at a time.
    const QRect area = viewport()->rect();
    if (pos.y() > area.bottom())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    else if (pos.y() < area.top())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    const QPoint inside(qBound(area.left(), pos.x(), area.right()),
                        qBound(area.top(), pos.y(), area.bottom()));
    const QModelIndex at = indexAt(inside);
    if (at.isValid())
        SelectBlock(Col(), Row(), at.column() + 1, at.row() + 1);
}

void TStringGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (sheetMode_ && dragging_ && (event->buttons() & Qt::LeftButton)) {
        DragTo(event->position().toPoint());
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent *event)
{
    dragging_ = false;
    QTableView::mouseReleaseEvent(event);
}

QVector<int> TStringGrid::VisibleColumnsFrom(int col) const
{
    QVector<int> cols;
    for (int c = qMax(col, 1); c < ColCount(); ++c)
        if (!isColumnHidden(c - 1))
            cols.append(c);
    return cols;
}

void TStringGrid::CopySelection()
{
    const QRect block = Selection();
    QVector<int> cols = VisibleColumnsFrom(block.left());
    cols.erase(std::remove_if(cols.begin(), cols.end(), [&](int c) { return c > block.right(); }),
               cols.end());
    if (cols.isEmpty())
        return;
    QVector<QStringList> rows;
    for (int row = block.top(); row <= block.bottom(); ++row) {
        QStringList cells;
        for (int col : std::as_const(cols))
            cells.append(Cells(col, row));
        rows.append(cells);
    }
    QApplication::clipboard()->setText(TsvText(rows));
}

bool TStringGrid::PasteCell(int col, int row, const QString &value)
{
    if (pasteRule_)
        return pasteRule_(*this, col, row, value);
    if (!Editable(IndexOf(col, row)))
        return value == Cells(col, row);
    QString text;
    for (QChar c : value) {
        const QChar out = c.isPrint() ? FilterKey(col, row, c, text) : QChar();
        if (out.isNull())
            return false;
        text.append(out);
        if (!TextAcceptable(col, row, text))
            return false;
    }
    SetCells(col, row, text);
    return true;
}

void TStringGrid::PasteText(const QString &text)
{
    const QVector<QStringList> values = ReadTsv(text);
    if (values.isEmpty() || readOnly_)
        return;
    const QRect block = Selection();
    // One value fills a selected block; a block of values goes from its top-left corner.
    const bool fill =
        values.size() == 1 && values.front().size() == 1 && block.size() != QSize(1, 1);
    const QVector<int> cols = VisibleColumnsFrom(block.left());
    const int rowCount = fill ? block.height() : int(values.size());
    int pasted = 0;
    int refused = 0;
    int outside = 0;
    QPoint last = block.topLeft();
    BeginUpdate();
    for (int i = 0; i < rowCount; ++i) {
        const int row = block.top() + i;
        const QStringList line =
            fill ? QStringList(int(cols.size()), values.front().front()) : values[i];
        const int width = fill ? int(std::count_if(cols.begin(), cols.end(),
                                                   [&](int c) { return c <= block.right(); }))
                               : int(line.size());
        // The choices first: the other cells' rules may depend on them (the font of a name).
        for (const bool choices : {true, false}) {
            for (int j = 0; j < width; ++j) {
                const bool inside = row < RowCount() && j < cols.size();
                if (!inside) {
                    outside += choices ? 1 : 0;
                    continue;
                }
                const int col = cols[j];
                if (IsChoiceCell(col, row) != choices)
                    continue;
                if (PasteCell(col, row, line[j])) {
                    ++pasted;
                    last = QPoint(qMax(last.x(), col), qMax(last.y(), row));
                } else {
                    ++refused;
                }
            }
        }
    }
    EndUpdate();
    SelectBlock(block.left(), block.top(), last.x(), last.y());
    scrollTo(currentIndex()); // where the block begins
    emit Note(PasteNote(pasted, refused, outside));
}

void TStringGrid::PasteIntoEditor(QLineEdit *edit, const QString &value)
{
    const int col = Col();
    const int row = Row();
    QString text = edit->text();
    qsizetype pos = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    qsizetype selected = edit->selectedText().size();
    // As if typed at the cursor, one character after the other; the limits count the whole
    // text. Refused as a whole when one character is.
    for (QChar c : value) {
        const QChar out = c.isPrint() ? FilterKey(col, row, c, text) : QChar();
        QString result = text;
        result.replace(pos, selected, out);
        if (out.isNull() || !TextAcceptable(col, row, result)) {
            emit Note(PasteNote(0, 1, 0));
            return;
        }
        text = result;
        ++pos;
        selected = 0;
    }
    edit->setText(text);
    edit->setCursorPosition(int(pos));
    emit Note(PasteNote(1, 0, 0));
}

void TStringGrid::EmptySelection()
{
    if (readOnly_)
        return;
    const QRect block = Selection();
    BeginUpdate();
    for (int row = block.top(); row <= block.bottom(); ++row)
        for (int col = block.left(); col <= block.right(); ++col)
            if (Editable(IndexOf(col, row)))
                SetCells(col, row, QString());
    EndUpdate();
}

bool TStringGrid::Undo()
{
    // While a run fills the grid nothing is taken back.
    const TGridHistory::TStep *step = readOnly_ ? nullptr : history_.Undo();
    if (!step) {
        if (const QString note = readOnly_ ? QString() : history_.TakeNote(); !note.isEmpty())
            emit Note(note);
        else
            QApplication::beep();
        return false;
    }
    ApplyStep(*step, true);
    return true;
}

bool TStringGrid::Redo()
{
    const TGridHistory::TStep *step = readOnly_ ? nullptr : history_.Redo();
    if (!step) {
        QApplication::beep();
        return false;
    }
    ApplyStep(*step, false);
    return true;
}

void TStringGrid::ApplyStep(const TGridHistory::TStep &step, bool back)
{
    applying_ = true;
    model_->BeginUpdate();
    QRect cells;
    for (qsizetype i = 0; i < step.size(); ++i) {
        const TGridHistory::TChange &change = step[back ? step.size() - 1 - i : i];
        model_->SetCell(change.col, change.row, back ? change.before : change.after);
        cells |= QRect(change.col, change.row, 1, 1);
    }
    model_->EndUpdate();
    applying_ = false;
    // The cells undone or redone are shown as the selected block, from where it begins.
    SelectBlock(cells.left(), cells.top(), cells.right(), cells.bottom());
    scrollTo(currentIndex());
}

bool TStringGrid::WantsSheetKey(const QKeyEvent *event) const
{
    if (!sheetMode_)
        return false;
    if (event->matches(QKeySequence::Undo) || IsRedo(event) || IsBlockGrowth(event) ||
        event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Paste))
        return true;
    return event->key() == Qt::Key_Delete && Mods(event) == Qt::NoModifier &&
           Selection().size() != QSize(1, 1);
}

bool TStringGrid::SheetKey(QKeyEvent *event)
{
    if (!WantsSheetKey(event))
        return false;
    QLineEdit *edit = Editor();
    const bool single = Selection().size() == QSize(1, 1);
    // Within one cell the editor copies and cuts the text selected in it.
    const bool editorText = single && edit && edit->hasSelectedText();
    if (event->matches(QKeySequence::Undo)) {
        Undo();
    } else if (IsRedo(event)) {
        Redo();
    } else if (IsBlockGrowth(event)) {
        ExtendBlock(event->key());
    } else if (event->matches(QKeySequence::Copy)) {
        if (editorText)
            return false;
        CopySelection();
    } else if (event->matches(QKeySequence::Cut)) {
        if (editorText)
            return false;
        CopySelection();
        EmptySelection();
    } else if (event->matches(QKeySequence::Paste)) {
        const QString text = QApplication::clipboard()->text();
        const QVector<QStringList> values = ReadTsv(text);
        // A single value into the middle of the text being edited goes in at the cursor;
        // otherwise it takes the cell's place.
        const bool partial =
            edit && !edit->text().isEmpty() && edit->selectedText() != edit->text();
        if (single && partial && values.size() == 1 && values.front().size() == 1 && !readOnly_)
            PasteIntoEditor(edit, values.front().front());
        else
            PasteText(text);
    } else {
        EmptySelection();
    }
    return true;
}
