#include "framesetz48.h"

#include "cellfilters.h"
#include "celllistbox.h"
#include "gridtexts.h"
#include "stringgrid.h"

#include <QComboBox>
#include <QScrollBar>
#include <QSignalBlocker>

namespace
{

// Wraps a per-grid key filter for the grid: the font cells are read from the grid itself.
using TGridKeyPress = QChar (*)(const TCellTexts &, int, int, QChar, const QString &);

TStringGrid::TKeyFilter GridFilter(TGridKeyPress filter)
{
    return [filter](TStringGrid &grid, int col, int row, QChar key, const QString &text) {
        return filter([&grid](int c, int r) { return grid.Cells(c, r); }, col, row, key, text);
    };
}

// The entry a list showed when it took the focus; picking it again writes nothing.
const char *const kPreselected = "preselectedIndex";

bool IsAgentSign(const QString &signCell)
{
    // Signs 05 and 06 (bank payment agent and subagent) carry no VAT of their own.
    const QStringList &signs = GridTexts::SignList();
    return signCell == signs[5] || signCell == signs[6];
}

} // namespace

void TFrameSetZ48::ConnectEditing()
{
    cellLists_ = {
        {ComboBox1, SGBase, &BaseCol, &BaseRow}, {ComboBox2, sgOper, &OperCol, &OperRow},
        {ComboBox3, sgUsl, &UslCol, &UslRow},    {ComboBox4, sgKl, &KlCol, &KlRow},
        {ComboBox5, sgUsl, &UslCol, &UslRow},    {ComboBox6, sgAgents, &AgentsCol, &AgentsRow},
        {ComboBox7, sgUsl, &UslCol, &UslRow},    {ComboBox8, sgUsl, &UslCol, &UslRow},
    };
    for (const TCellList &entry : cellLists_) {
        auto *list = static_cast<TCellListBox *>(entry.list);
        connect(list, &TCellListBox::Picked, this,
                [this, list](int index) { ComboBoxPicked(list, index); });
        connect(
            list, &TCellListBox::LeaveKey, this,
            [this, list](int key, Qt::KeyboardModifiers mods) { ComboBoxLeave(list, key, mods); });
        connect(list, &TCellListBox::Cancelled, this, [this, list] { ReturnToGrid(list); });
    }

    // The columns that carry a list take no typed text; asking for the list on the current
    // cell lays it over again, as selecting the cell does.
    using TSelect = void (TFrameSetZ48::*)(int, int, bool &);
    const auto reopen = [this](TSelect select) {
        return [this, select](int col, int row) {
            bool canSelect = true;
            (this->*select)(col, row, canSelect);
        };
    };
    const auto fontColumn = [](int col, int) { return col == 2; };
    sgOper->SetChoiceCells([](int col, int) { return col == 2 || col == 4 || col == 6; },
                           reopen(&TFrameSetZ48::sgOperSelectCell));
    SGBase->SetChoiceCells(fontColumn, reopen(&TFrameSetZ48::SGBaseSelectCell));
    sgUsl->SetChoiceCells([](int col, int) { return col >= 2 && col <= 5; },
                          reopen(&TFrameSetZ48::sgUslSelectCell));
    sgKl->SetChoiceCells(fontColumn, reopen(&TFrameSetZ48::sgKlSelectCell));
    sgAgents->SetChoiceCells(fontColumn, reopen(&TFrameSetZ48::sgAgentsSelectCell));

    sgOper->SetSelectCellHook(
        [this](TStringGrid &, int c, int r, bool &ok) { sgOperSelectCell(c, r, ok); });
    SGBase->SetSelectCellHook(
        [this](TStringGrid &, int c, int r, bool &ok) { SGBaseSelectCell(c, r, ok); });
    sgUsl->SetSelectCellHook(
        [this](TStringGrid &, int c, int r, bool &ok) { sgUslSelectCell(c, r, ok); });
    sgKl->SetSelectCellHook(
        [this](TStringGrid &, int c, int r, bool &ok) { sgKlSelectCell(c, r, ok); });
    sgAgents->SetSelectCellHook(
        [this](TStringGrid &, int c, int r, bool &ok) { sgAgentsSelectCell(c, r, ok); });

    sgOper->SetKeyFilter(GridFilter(sgOperKeyPress));
    SGBase->SetKeyFilter(GridFilter(SGBaseKeyPress));
    SGBase->SetTextCheck(
        [](int col, int, const QString &text) { return col != 4 || PriceTextAcceptable(text); });
    sgUsl->SetKeyFilter(GridFilter(sgUslKeyPress));
    sgKl->SetKeyFilter(GridFilter(sgKlKeyPress));
    sgAgents->SetKeyFilter(GridFilter(sgAgentsKeyPress));
    sgUsl->SetKeyDownHook([this](TStringGrid &grid, int key, Qt::KeyboardModifiers mods) {
        // Parked after a pick: the keys go on from the cell that was picked in.
        if (UslCol == grid.ColCount() - 1 && TStringGrid::IsNavigationKey(key))
            return grid.NavigateFrom(uslParkedFrom_, UslRow, key, mods);
        return sgUslKeyDown(UslCol, key);
    });
}

void TFrameSetZ48::sgOperSelectCell(int col, int row, bool &canSelect)
{
    OperCol = col;
    OperRow = row;
    if (row > 0 && (col == 2 || col == 4 || col == 6))
        LayListOver(ComboBox2, sgOper, col, row);
    canSelect = true;
}

void TFrameSetZ48::SGBaseSelectCell(int col, int row, bool &canSelect)
{
    BaseCol = col;
    BaseRow = row;
    if (row > 0 && col == 2)
        LayListOver(ComboBox1, SGBase, col, row);
    canSelect = true;
}

void TFrameSetZ48::sgUslSelectCell(int col, int row, bool &canSelect)
{
    UslCol = col;
    UslRow = row;
    canSelect = true;
    if (row <= 0)
        return;
    QComboBox *list = nullptr;
    if (col == 2)
        list = ComboBox3;
    else if (col == 3)
        list = ComboBox5;
    else if (col == 4 && !IsAgentSign(sgUsl->Cells(3, row)))
        list = ComboBox7;
    else if (col == 5)
        list = ComboBox8;
    if (!list)
        return;
    if (col == 4 || col == 5) {
        // The last columns may lie beyond the right edge: bring them into view first.
        sgUsl->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        sgUsl->scrollTo(sgUsl->model()->index(row - 1, col - 1));
    }
    LayListOver(list, sgUsl, col, row);
}

void TFrameSetZ48::sgKlSelectCell(int col, int row, bool &canSelect)
{
    KlCol = col;
    KlRow = row;
    if (row > 0 && col == 2)
        LayListOver(ComboBox4, sgKl, col, row);
    canSelect = true;
}

void TFrameSetZ48::sgAgentsSelectCell(int col, int row, bool &canSelect)
{
    AgentsCol = col;
    AgentsRow = row;
    // Row 5 is the transfer operator's taxpayer number: digits, no font.
    if (row > 0 && col == 2 && row != 5)
        LayListOver(ComboBox6, sgAgents, col, row);
    canSelect = true;
}

void TFrameSetZ48::LayListOver(QComboBox *list, TStringGrid *grid, int col, int row)
{
    const QRect cell = grid->CellRect(col, row);
    // While a run uses the grid, its lists stay closed like its editor.
    if (cell.isEmpty() || grid->ReadOnly())
        return;
    list->setGeometry(QRect(grid->mapTo(list->parentWidget(), cell.topLeft()), cell.size()));
    list->raise();
    list->show();
    list->setFocus(Qt::OtherFocusReason);
}

const TFrameSetZ48::TCellList *TFrameSetZ48::ListOf(const QComboBox *list) const
{
    for (const TCellList &entry : cellLists_)
        if (entry.list == list)
            return &entry;
    return nullptr;
}

void TFrameSetZ48::ComboBoxEnter(QComboBox *list)
{
    const TCellList *entry = ListOf(list);
    if (!entry)
        return;
    const QString text = entry->grid->Cells(*entry->col, *entry->row);
    {
        const QSignalBlocker quiet(list);
        if (list->count() == GridTexts::FontList().size() &&
            list->itemText(0) == GridTexts::kNarrowFont)
            list->setCurrentIndex(text == GridTexts::kNarrowFont ? 0 : 1);
        else
            // A cell text that no entry equals leaves no entry selected, so the list never
            // shows a choice the cell does not hold and any pick is written.
            list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    list->setProperty(kPreselected, list->currentIndex());
    // A long entry in a narrow column (the payment-item signs) can be read whole.
    const QString shown = list->currentText();
    const int arrow = 24;
    list->setToolTip(
        list->fontMetrics().horizontalAdvance(shown) + arrow > list->width() ? shown : QString());
}

void TFrameSetZ48::ComboBoxPicked(QComboBox *list, int index)
{
    if (!list->isVisible())
        return;
    if (index >= 0 && index != list->property(kPreselected).toInt())
        ComboBoxChange(list);
    else
        ReturnToGrid(list);
}

void TFrameSetZ48::ComboBoxLeave(QComboBox *list, int key, Qt::KeyboardModifiers mods)
{
    const TCellList *entry = ListOf(list);
    if (!entry)
        return;
    ReturnToGrid(list);
    entry->grid->Navigate(key, mods);
}

void TFrameSetZ48::ReturnToGrid(QComboBox *list)
{
    if (const TCellList *entry = ListOf(list); entry && list->hasFocus())
        entry->grid->setFocus(Qt::OtherFocusReason);
    list->hide();
}

void TFrameSetZ48::ComboBoxChange(QComboBox *list)
{
    const TCellList *entry = ListOf(list);
    const int picked = list->currentIndex();
    if (!entry || picked < 0 || !list->isVisible())
        return;
    TStringGrid *grid = entry->grid;
    const int col = *entry->col;
    const int row = *entry->row;
    ReturnToGrid(list);
    const TStringGrid::TUndoStep step(*grid); // the sign and its VAT together
    grid->SetCells(col, row, list->itemText(picked));
    if (list == ComboBox5 && (picked == 5 || picked == 6))
        grid->SetCells(4, row, GridTexts::kVatExempt);
    // Font lists return to the text the font belongs to; the group lists park the current
    // cell in the hidden last column, out of the lists' way.
    const bool groupList = list == ComboBox5 || list == ComboBox7 || list == ComboBox8;
    if (groupList)
        uslParkedFrom_ = col;
    grid->SetCurrentCell(groupList ? grid->ColCount() - 1 : col - 1, row);
    grid->setFocus(Qt::OtherFocusReason);
}

void TFrameSetZ48::ComboBoxExit(QComboBox *list)
{
    list->hide();
}
