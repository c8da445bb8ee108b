#include "stringgrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QToolTip>
#include <optional>

namespace
{

// The keys that ask for the list of a choice cell.
bool IsOpenListKey(int key, Qt::KeyboardModifiers mods)
{
    return key == Qt::Key_Space || key == Qt::Key_F4 || key == Qt::Key_Return ||
           key == Qt::Key_Enter ||
           ((key == Qt::Key_Down || key == Qt::Key_Up) && (mods & Qt::AltModifier));
}

// The fixed row and column have sizes of their own (the column's width, the row height), never
// their texts': a size hint measured from the texts (up to 200 sections at every layout of the
// grid) would be thrown away.
class TFixedHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;
    QSize sizeHint() const override { return minimumSize(); }
};

} // namespace

// The cursor move of a navigation key, as the grid's own key handling would make it.
std::optional<QAbstractItemView::CursorAction>
TStringGrid::CursorActionOf(int key, Qt::KeyboardModifiers mods)
{
    switch (key) {
    case Qt::Key_Up:
        return QAbstractItemView::MoveUp;
    case Qt::Key_Down:
        return QAbstractItemView::MoveDown;
    case Qt::Key_Left:
        return QAbstractItemView::MoveLeft;
    case Qt::Key_Right:
        return QAbstractItemView::MoveRight;
    case Qt::Key_PageUp:
        return QAbstractItemView::MovePageUp;
    case Qt::Key_PageDown:
        return QAbstractItemView::MovePageDown;
    case Qt::Key_Home:
        return QAbstractItemView::MoveHome;
    case Qt::Key_End:
        return QAbstractItemView::MoveEnd;
    case Qt::Key_Tab:
        return mods & Qt::ShiftModifier ? QAbstractItemView::MovePrevious
                                        : QAbstractItemView::MoveNext;
    case Qt::Key_Backtab:
        return QAbstractItemView::MovePrevious;
    default:
        return std::nullopt;
    }
}

TStringGrid::TStringGrid(QWidget *parent) : TStringGrid(5, 5, parent) {}

TStringGrid::TStringGrid(int cols, int rows, QWidget *parent)
    : QTableView(parent), model_(new TStringGridModel(this)),
      delegate_(new TStringGridDelegate(this))
{
    // In the places of the view's own headers among its children, before the corner button:
    // the order in which a change of the grid's font reaches them, as it always has.
    QWidget *cornerButton = findChild<QAbstractButton *>();
    setVerticalHeader(new TFixedHeader(Qt::Vertical, this));
    setHorizontalHeader(new TFixedHeader(Qt::Horizontal, this));
    if (cornerButton) {
        verticalHeader()->stackUnder(cornerButton);
        horizontalHeader()->stackUnder(cornerButton);
    }
    // The row height before the model gives the headers their sections: set afterwards, it
    // would resize the 6000 sections of the goods grid one by one.
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()})
        header->setMinimumSectionSize(0);
    SetDefaultRowHeight(rowHeight_);
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
        header->viewport()->installEventFilter(this);
    }
    verticalHeader()->setFixedWidth(fixedColWidth_);

    if (auto *corner = findChild<QAbstractButton *>()) {
        corner->installEventFilter(this);
        connect(model_, &TStringGridModel::headerDataChanged, corner,
                [corner] { corner->update(); });
    }
    connect(model_, &TStringGridModel::RowMarksChanged, this, [this](int first, int last) {
        QHeaderView *rows = verticalHeader();
        const int top = rows->sectionViewportPosition(first - 1);
        const int bottom = rows->sectionViewportPosition(last - 1) + rows->sectionSize(last - 1);
        rows->viewport()->update(0, top, rows->viewport()->width(), bottom - top);
    });
    SetCurrentCell(1, 1);
}

TStringGrid::~TStringGrid()
{
    delegate_->DetachGrid();
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
    if (!Editable(at) || !(at.flags() & Qt::ItemIsEditable))
        return;
    if (state() == QAbstractItemView::EditingState)
        return;
    edit(at);
}

void TStringGrid::SetChoiceCells(TCellTest isChoice, TOpenListHook open)
{
    isChoice_ = std::move(isChoice);
    openList_ = std::move(open);
}

bool TStringGrid::IsNavigationKey(int key)
{
    return CursorActionOf(key, Qt::NoModifier).has_value();
}

bool TStringGrid::Navigate(int key, Qt::KeyboardModifiers mods)
{
    const std::optional<CursorAction> action = CursorActionOf(key, mods);
    if (!action)
        return false;
    const QModelIndex from = currentIndex();
    const QModelIndex to = moveCursor(*action, mods & ~Qt::ShiftModifier);
    if (to.isValid() && to != from)
        setCurrentIndex(to);
    else if (from.isValid())
        CellSelected(from, from); // the edge of the grid: the cell stays, as selected anew
    return true;
}

bool TStringGrid::NavigateFrom(int col, int row, int key, Qt::KeyboardModifiers mods)
{
    const QModelIndex from = IndexOf(col, row);
    if (!from.isValid() || !CursorActionOf(key, mods))
        return false;
    // Quietly, so the cell moved from is not selected on the way.
    reverting_ = true;
    selectionModel()->setCurrentIndex(from, QItemSelectionModel::NoUpdate);
    reverting_ = false;
    return Navigate(key, mods);
}

bool TStringGrid::Editable(const QModelIndex &index) const
{
    return !readOnly_ && index.isValid() && !isColumnHidden(index.column()) &&
           !IsChoiceCell(index.column() + 1, index.row() + 1);
}

void TStringGrid::SetReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    if (readOnly_) {
        // An editor the view has already let go of is hidden, waiting to be deleted.
        if (editor_ && !editor_->isHidden())
            closeEditor(editor_, QAbstractItemDelegate::NoHint);
        return;
    }
    OpenEditorIfFocused();
}

bool TStringGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // A list laid over the cell by the selection hook holds the focus: no editor under it.
    if (!OwnsFocus() || (index.isValid() && !Editable(index)))
        return false;
    return QTableView::edit(index, trigger, event);
}

void TStringGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    // A cell made current by itself is a block of one; growing the block keeps its corner.
    if (!keepCorner_)
        corner_ = QPoint(current.column() + 1, current.row() + 1);
    if (reverting_)
        return;
    history_.EndTyping();
    CellSelected(current, previous);
}

void TStringGrid::CellSelected(const QModelIndex &current, const QModelIndex &previous)
{
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
    history_.EndTyping(); // Enter ends the cell's typing as a step
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

void TStringGrid::keyPressEvent(QKeyEvent *event)
{
    if (SheetKey(event))
        return;
    const QModelIndex at = currentIndex();
    if (at.isValid() && !Editable(at)) {
        const int col = at.column() + 1;
        const int row = at.row() + 1;
        if (!readOnly_ && IsChoiceCell(col, row) &&
            IsOpenListKey(event->key(), event->modifiers())) {
            if (openList_)
                openList_(col, row);
            return;
        }
        // A typed character that no cell takes is refused audibly, not dropped unnoticed.
        if (!event->text().isEmpty() && event->text().front().isPrint() &&
            !(event->modifiers() & Qt::ControlModifier)) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void TStringGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex before = currentIndex();
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (sheetMode_ && event->button() == Qt::LeftButton && pressed.isValid()) {
        // Shift+click grows the block to the cell; a plain press starts a drag from it.
        if (event->modifiers() & Qt::ShiftModifier) {
            DragTo(event->position().toPoint());
            return;
        }
        dragging_ = true;
    }
    QTableView::mousePressEvent(event);
    // A click on the current choice cell brings its list back (a click elsewhere selects the
    // cell, and the selection hook lays the list).
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && at.isValid() && at == before && at == currentIndex() &&
        !readOnly_ && IsChoiceCell(at.column() + 1, at.row() + 1) && openList_)
        openList_(at.column() + 1, at.row() + 1);
}

bool TStringGrid::HeaderToolTip(QHeaderView *header, QHelpEvent *event)
{
    const int section = header->logicalIndexAt(event->pos());
    if (section < 0) {
        QToolTip::hideText();
        return true;
    }
    const Qt::Orientation orientation = header->orientation();
    const QString text = model_->headerData(section, orientation, Qt::DisplayRole).toString();
    const int room = orientation == Qt::Horizontal ? header->sectionSize(section) : header->width();
    QStringList tip;
    // Some room for the section's own margins.
    if (header->fontMetrics().horizontalAdvance(text) + 8 > room)
        tip.append(text);
    if (orientation == Qt::Vertical && model_->RowMarked(section + 1))
        tip.append(model_->MarkToolTip(section + 1));
    if (!tip.isEmpty())
        QToolTip::showText(event->globalPos(), tip.join(QLatin1Char('\n')), header);
    else
        QToolTip::hideText();
    return true;
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
    if (event->type() == QEvent::ToolTip) {
        for (QHeaderView *header : {horizontalHeader(), verticalHeader()})
            if (object == header->viewport())
                return HeaderToolTip(header, static_cast<QHelpEvent *>(event));
    }
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
