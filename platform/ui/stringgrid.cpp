#include "stringgrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionHeader>

TStringGrid::TStringGrid(QWidget *parent) : TStringGrid(5, 5, parent) {}

TStringGrid::TStringGrid(int cols, int rows, QWidget *parent)
    : QTableView(parent), model_(new TStringGridModel(this)),
      delegate_(new TStringGridDelegate(this))
{
    model_->SetSize(cols, rows);
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Editors are opened by the grid itself on the current cell (see OpenEditorIfFocused);
    // a typed key or F2 also opens one when it was closed with Escape or Enter.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        // The fixed row and column are captions: clicking them selects nothing.
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(0);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    verticalHeader()->setFixedWidth(fixedColWidth_);
    SetDefaultRowHeight(rowHeight_);

    if (auto *corner = findChild<QAbstractButton *>()) {
        corner->installEventFilter(this);
        connect(model_, &TStringGridModel::headerDataChanged, corner,
                [corner] { corner->update(); });
    }
    SetCurrentCell(1, 1);
}

void TStringGrid::SetColCount(int cols)
{
    model_->SetSize(cols, RowCount());
}

void TStringGrid::SetRowCount(int rows)
{
    model_->SetSize(ColCount(), rows);
}

QModelIndex TStringGrid::IndexOf(int col, int row) const
{
    return model_->index(row - 1, col - 1);
}

int TStringGrid::Col() const
{
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.column() + 1 : 1;
}

int TStringGrid::Row() const
{
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.row() + 1 : 1;
}

void TStringGrid::SetCurrentCell(int col, int row)
{
    const QModelIndex at = IndexOf(col, row);
    if (at.isValid())
        setCurrentIndex(at);
}

void TStringGrid::SetColWidth(int col, int width)
{
    if (col == 0) {
        fixedColWidth_ = qMax(width, 0);
        verticalHeader()->setFixedWidth(fixedColWidth_);
        return;
    }
    if (col < 1 || col >= ColCount())
        return;
    setColumnHidden(col - 1, width < 0);
    if (width >= 0)
        setColumnWidth(col - 1, width);
}

int TStringGrid::ColWidth(int col) const
{
    if (col == 0)
        return fixedColWidth_;
    if (col < 1 || col >= ColCount())
        return 0;
    return isColumnHidden(col - 1) ? -1 : columnWidth(col - 1);
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    rowHeight_ = qMax(height, 1);
    verticalHeader()->setDefaultSectionSize(rowHeight_);
    horizontalHeader()->setFixedHeight(rowHeight_);
}

int TStringGrid::RowHeight(int row) const
{
    if (row == 0)
        return horizontalHeader()->height();
    return row >= 1 && row < RowCount() ? rowHeight(row - 1) : 0;
}

QRect TStringGrid::CellRect(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return {};
    int x = 0;
    int width = 0;
    if (col == 0) {
        x = verticalHeader()->x();
        width = verticalHeader()->width();
    } else {
        if (isColumnHidden(col - 1))
            return {};
        x = viewport()->x() + columnViewportPosition(col - 1);
        width = columnWidth(col - 1);
    }
    int y = 0;
    int height = 0;
    if (row == 0) {
        y = horizontalHeader()->y();
        height = horizontalHeader()->height();
    } else {
        y = viewport()->y() + rowViewportPosition(row - 1);
        height = rowHeight(row - 1);
    }
    return QRect(x, y, width, height);
}

QLineEdit *TStringGrid::Editor() const
{
    return editor_ && editor_->isVisible() ? editor_.data() : nullptr;
}

QChar TStringGrid::FilterKey(int col, int row, QChar key, const QString &text)
{
    return keyFilter_ ? keyFilter_(*this, col, row, key, text) : key;
}

bool TStringGrid::KeyDown(int key, Qt::KeyboardModifiers mods)
{
    return keyDownHook_ && keyDownHook_(*this, key, mods);
}

bool TStringGrid::OwnsFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void TStringGrid::OpenEditorIfFocused()
{
    if (readOnly_ || changingCell_ || !OwnsFocus())
        return;
    const QModelIndex at = currentIndex();
    if (!at.isValid() || isColumnHidden(at.column()) || !(at.flags() & Qt::ItemIsEditable))
        return;
    if (state() == QAbstractItemView::EditingState)
        return;
    edit(at);
}

void TStringGrid::SetReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    if (readOnly_) {
        if (editor_)
            closeEditor(editor_, QAbstractItemDelegate::NoHint);
        return;
    }
    OpenEditorIfFocused();
}

bool TStringGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // A list laid over the cell by the selection hook holds the focus: no editor under it.
    if (readOnly_ || !OwnsFocus() || (index.isValid() && isColumnHidden(index.column())))
        return false;
    return QTableView::edit(index, trigger, event);
}

void TStringGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (reverting_ || !current.isValid())
        return;
    bool canSelect = true;
    if (selectHook_)
        selectHook_(*this, current.column() + 1, current.row() + 1, canSelect);
    if (!canSelect && previous.isValid()) {
        reverting_ = true;
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
        reverting_ = false;
    }
    OpenEditorIfFocused();
}

void TStringGrid::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                              const QList<int> &roles)
{
    QTableView::dataChanged(topLeft, bottomRight, roles);
    // A bulk write (loading a file, reading the register) may cover the cell being edited.
    if (QLineEdit *edit = Editor(); edit && topLeft != bottomRight) {
        const QModelIndex at = currentIndex();
        if (at.row() >= topLeft.row() && at.row() <= bottomRight.row() &&
            at.column() >= topLeft.column() && at.column() <= bottomRight.column())
            delegate_->setEditorData(edit, at);
    }
}

void TStringGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool moving = hint == QAbstractItemDelegate::EditNextItem ||
                        hint == QAbstractItemDelegate::EditPreviousItem;
    changingCell_ = true;
    QTableView::closeEditor(editor, hint);
    changingCell_ = false;
    // The editor stays open on the current cell (Enter and Escape only end the edit).
    if (!moving)
        OpenEditorIfFocused();
}

void TStringGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    OpenEditorIfFocused();
}

bool TStringGrid::event(QEvent *event)
{
    // Tab reaches focusNextPrevChild before keyPressEvent, so the key-down hook sits here.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (KeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QTableView::event(event);
}

bool TStringGrid::eventFilter(QObject *object, QEvent *event)
{
    auto *corner = qobject_cast<QAbstractButton *>(object);
    if (corner && event->type() == QEvent::Paint) {
        // The corner is cell (0, 0): drawn like the other fixed cells, with its text.
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.rect = corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = Cells(0, 0);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.state |= QStyle::State_Raised;
        corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }
    return QTableView::eventFilter(object, event);
}
