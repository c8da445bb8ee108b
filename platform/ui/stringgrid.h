#pragma once

#include "gridhistory.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVector>

class QHeaderView;
class QHelpEvent;
class QKeyEvent;

#include <functional>
#include <optional>

class TStringGrid;

// The texts of a string grid, all cells including the header row 0 and the fixed column 0,
// kept in one flat vector. The view shows rows 1.. and columns 1.. as body cells; row 0 and
// column 0 are its header sections, so they stay in place while the body scrolls.
class TStringGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TStringGridModel(QObject *parent = nullptr);

    int ColCount() const { return cols_; }
    int RowCount() const { return rows_; }
    void SetSize(int cols, int rows);

    // Out-of-range addresses read as empty text and are ignored when written.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString &text);

    // Between these, writes send no per-cell change signals; the last EndUpdate announces the
    // whole grid once. For bulk fills (6000 goods items).
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

    // While held (a run with the register fills the grid), body cell writes send no signals;
    // each FlushChanges() then announces every row written since as one change. Releasing
    // flushes.
    void HoldChanges(bool hold);
    void FlushChanges();

    // Rows can carry a mark: their fixed cell is tinted in the mark's colour, with its tooltip
    // (the records changed since the register last saw them). The mark test gives a row's mark
    // as an index into the kinds, or -1 for none; it is asked as rows are painted. A cell's
    // change repaints its row's mark, MarksChanged() every row's.
    struct TRowMarkKind {
        QColor color;
        QString toolTip;
    };
    using TRowMark = std::function<int(int row)>;
    void SetRowMarks(TRowMark mark, const QVector<TRowMarkKind> &kinds);
    // The row's mark kind, or -1.
    int RowMark(int row) const;
    bool RowMarked(int row) const { return RowMark(row) >= 0; }
    QString MarkToolTip(int row) const;
    void MarksChanged();

    // Told of every change of a body cell's text, with the text it had.
    using TChangeHook =
        std::function<void(int col, int row, const QString &before, const QString &after)>;
    void SetChangeHook(TChangeHook hook) { changeHook_ = std::move(hook); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The marks of grid rows first..last may have changed: their fixed cells are repainted,
    // the header is not measured again.
    void RowMarksChanged(int first, int last);

private:
    bool Valid(int col, int row) const
    {
        return col >= 0 && row >= 0 && col < cols_ && row < rows_;
    }

    int cols_ = 0;
    int rows_ = 0;
    int updating_ = 0;
    bool holding_ = false;
    QList<int> heldRows_; // written while held, in order of first write
    QVector<QString> texts_;
    TRowMark mark_;
    QVector<TRowMarkKind> markKinds_;
    TChangeHook changeHook_;
};

// The grid's in-place editor: a frameless line edit whose typed characters pass the grid's key
// filter and whose text goes into the cell as it changes.
class TStringGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit TStringGridDelegate(TStringGrid *grid);
    // The grid is going: its editor's last events (losing the focus as the window closes) no
    // longer reach it.
    void DetachGrid() { grid_ = nullptr; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    // A cell narrower than its text shows the whole text as a tooltip.
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    // One character through the key filter and the text check into the editor.
    void Insert(QLineEdit *edit, int col, int row, QChar key) const;
    // Sheet mode: a press in the editor, or a drag out of it over other cells.
    bool EditorMouse(QLineEdit *edit, QEvent *event) const;

    TStringGrid *grid_;
};

// A string grid addressed as Cells(col, row): row 0 is the header row, column 0 the fixed
// column, both drawn as fixed and never edited. The body cells are edited in place; the editor
// is open on the current cell whenever the grid has the keyboard focus.
class TStringGrid : public QTableView
{
    Q_OBJECT
public:
    // Called when a body cell is about to become the current cell; clearing canSelect keeps the
    // previous cell.
    using TSelectCellHook =
        std::function<void(TStringGrid &grid, int col, int row, bool &canSelect)>;
    // Called for every character typed into the editor (never for Backspace); returns the
    // character to insert, or a null QChar to discard the key. text is the cell's whole text.
    using TKeyFilter =
        std::function<QChar(TStringGrid &grid, int col, int row, QChar key, const QString &text)>;
    // Called for every key press that reaches the grid or its editor before it acts; returning
    // true swallows the key.
    using TKeyDownHook =
        std::function<bool(TStringGrid &grid, int key, Qt::KeyboardModifiers mods)>;
    // Choice cells are edited only through a list laid over them: they open no editor and take
    // no typed text. The open hook is called when the user asks for the list on the current
    // cell (a click on it, Space, F4, Alt+Down, Enter).
    using TCellTest = std::function<bool(int col, int row)>;
    using TOpenListHook = std::function<void(int col, int row)>;

    explicit TStringGrid(QWidget *parent = nullptr);
    TStringGrid(int cols, int rows, QWidget *parent = nullptr);
    ~TStringGrid() override;

    int ColCount() const { return model_->ColCount(); }
    int RowCount() const { return model_->RowCount(); }
    void SetColCount(int cols);
    void SetRowCount(int rows);

    QString Cells(int col, int row) const { return model_->Cell(col, row); }
    void SetCells(int col, int row, const QString &text) { model_->SetCell(col, row, text); }
    TStringGridModel *GridModel() const { return model_; }
    // Bulk writes: see TStringGridModel::BeginUpdate; pairs may nest. Their changes are one
    // undo step.
    void BeginUpdate()
    {
        model_->BeginUpdate();
        history_.BeginStep();
    }
    void EndUpdate()
    {
        history_.EndStep();
        model_->EndUpdate();
    }

    // Current cell (a body cell; 1, 1 after creation).
    int Col() const;
    int Row() const;
    void SetCurrentCell(int col, int row);
    void SetCol(int col) { SetCurrentCell(col, Row()); }
    void SetRow(int row) { SetCurrentCell(Col(), row); }

    // A negative width hides the column.
    void SetColWidth(int col, int width);
    int ColWidth(int col) const;
    // The height of every row, the header row included.
    void SetDefaultRowHeight(int height);
    int DefaultRowHeight() const { return rowHeight_; }
    int RowHeight(int row) const;
    // The cell's rectangle in the grid's own coordinates; empty when the cell is hidden or
    // outside the grid.
    QRect CellRect(int col, int row) const;

    void SetSelectCellHook(TSelectCellHook hook) { selectHook_ = std::move(hook); }
    void SetKeyFilter(TKeyFilter filter) { keyFilter_ = std::move(filter); }
    // Judges the cell's whole text as a typed or pasted character would leave it (after the key
    // filter); false refuses the character.
    using TTextCheck = std::function<bool(int col, int row, const QString &result)>;
    void SetTextCheck(TTextCheck check) { textCheck_ = std::move(check); }
    void SetKeyDownHook(TKeyDownHook hook) { keyDownHook_ = std::move(hook); }
    void SetChoiceCells(TCellTest isChoice, TOpenListHook open);
    bool IsChoiceCell(int col, int row) const { return isChoice_ && isChoice_(col, row); }

    // Moves the current cell as a navigation key does (arrows, page keys, Home, End, Tab,
    // Shift+Tab), without the key-down hook; false for other keys.
    bool Navigate(int key, Qt::KeyboardModifiers mods);
    // The same from another cell than the current one (a current cell parked in a hidden
    // column goes on from the cell it came from).
    bool NavigateFrom(int col, int row, int key, Qt::KeyboardModifiers mods);
    static bool IsNavigationKey(int key);

    // The open in-place editor, or nullptr.
    QLineEdit *Editor() const;

    // A read-only grid opens no editor and takes no typed text; the current cell still moves
    // (while a run with the register uses the grid's cells).
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }

    // Runs the key filter for the editor of (col, row); a null QChar means the key is refused.
    QChar FilterKey(int col, int row, QChar key, const QString &text);
    bool TextAcceptable(int col, int row, const QString &result) const
    {
        return !textCheck_ || textCheck_(col, row, result);
    }
    bool KeyDown(int key, Qt::KeyboardModifiers mods);

    // Spreadsheet habits, off until switched on (stringgridsheet.cpp): a block of cells is
    // selected with Shift and the arrow or page keys or by dragging the mouse, copied as
    // tab-separated text (Ctrl+C, Ctrl+X), pasted (Ctrl+V) and emptied (Delete); the cells'
    // changes can be undone (Ctrl+Z) and redone (Ctrl+Y, Ctrl+Shift+Z).
    void SetSheetMode(bool on);
    bool SheetMode() const { return sheetMode_; }
    // Writes a pasted value into a cell as the cell's rules take it; false refuses it and
    // leaves the cell as it was. Without a rule each character goes through the key filter
    // and the text check into the emptied cell, and a choice cell takes only its own text.
    using TPasteRule =
        std::function<bool(TStringGrid &grid, int col, int row, const QString &value)>;
    void SetPasteRule(TPasteRule rule) { pasteRule_ = std::move(rule); }

    // The selected block in grid coordinates (x the column, y the row); the current cell is
    // one of its corners, the other one moves as the block grows.
    QRect Selection() const;
    void SelectBlock(int col, int row, int cornerCol, int cornerRow);
    void CopySelection();
    // The clipboard's text: a block at the top-left of the selection, or one value into every
    // selected cell. The status note tells how many values were taken and refused.
    void PasteText(const QString &text);
    // Empties the selected cells but the choice cells, as one step.
    void EmptySelection();

    bool Undo();
    bool Redo();
    // The cells were changed in a way that cannot be undone: the history starts anew, and
    // note is told the first time Ctrl+Z finds nothing to undo.
    void NewHistory(const QString &note) { history_.Restart(note); }
    // Changes made while the grid is read-only are the program's (a run with the register
    // filling it): each starts a new history with this note.
    void SetReadOnlyChangeNote(const QString &note) { readOnlyNote_ = note; }
    // The changes made while one lives are one undo step.
    class TUndoStep
    {
    public:
        explicit TUndoStep(TStringGrid &grid) : grid_(grid) { grid_.history_.BeginStep(); }
        ~TUndoStep() { grid_.history_.EndStep(); }
        TUndoStep(const TUndoStep &) = delete;
        TUndoStep &operator=(const TUndoStep &) = delete;

    private:
        TStringGrid &grid_;
    };

    // The keys of the sheet mode, wherever the grid's keyboard focus is (the grid, its editor,
    // a list laid over a cell); true when the key was taken.
    bool WantsSheetKey(const QKeyEvent *event) const;
    bool SheetKey(QKeyEvent *event);

signals:
    // A short message for the status bar (what a paste took, why nothing can be undone).
    void Note(const QString &text);

protected:
    using QTableView::edit;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    friend class TStringGridDelegate;
    void OpenEditorIfFocused();
    bool OwnsFocus() const;
    QModelIndex IndexOf(int col, int row) const;
    bool Editable(const QModelIndex &index) const;
    static std::optional<CursorAction> CursorActionOf(int key, Qt::KeyboardModifiers mods);
    void CellSelected(const QModelIndex &current, const QModelIndex &previous);
    bool HeaderToolTip(QHeaderView *header, QHelpEvent *event);

    // Sheet mode (stringgridsheet.cpp).
    void CellChanged(int col, int row, const QString &before, const QString &after);
    // The editor's text written into its cell: typing, which joins one step per cell.
    void TypedText(int col, int row, const QString &text);
    void ShowBlock();
    void ExtendBlock(int key);
    // Drags the block's moving corner to the cell at pos (viewport coordinates).
    void DragTo(const QPoint &pos);
    bool PasteCell(int col, int row, const QString &value);
    // A single value pasted into the text being edited, at its cursor; all or nothing.
    void PasteIntoEditor(QLineEdit *edit, const QString &value);
    QVector<int> VisibleColumnsFrom(int col) const;
    void ApplyStep(const TGridHistory::TStep &step, bool back);

    TStringGridModel *model_;
    TStringGridDelegate *delegate_;
    TSelectCellHook selectHook_;
    TKeyFilter keyFilter_;
    TTextCheck textCheck_;
    TKeyDownHook keyDownHook_;
    TCellTest isChoice_;
    TOpenListHook openList_;
    QPointer<QLineEdit> editor_;
    int rowHeight_ = 24;
    int fixedColWidth_ = 64;
    bool reverting_ = false;
    bool changingCell_ = false;
    bool readOnly_ = false;

    TGridHistory history_;
    TPasteRule pasteRule_;
    QString readOnlyNote_;
    QPoint corner_{1, 1};
    bool sheetMode_ = false;
    bool keepCorner_ = false;
    bool dragging_ = false;
    bool applying_ = false;
    bool typing_ = false;
};
