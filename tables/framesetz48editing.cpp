#include "framesetz48.h"

#include "cellfilters.h"
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
        QComboBox *list = entry.list;
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, list] { ComboBoxChange(list); });
    }

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
    sgUsl->SetKeyFilter(GridFilter(sgUslKeyPress));
    sgKl->SetKeyFilter(GridFilter(sgKlKeyPress));
    sgAgents->SetKeyFilter(GridFilter(sgAgentsKeyPress));
    sgUsl->SetKeyDownHook([this](TStringGrid &, int key, Qt::KeyboardModifiers) {
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
    const QSignalBlocker quiet(list);
    if (list->count() == GridTexts::FontList().size() &&
        list->itemText(0) == GridTexts::kNarrowFont) {
        list->setCurrentIndex(text == GridTexts::kNarrowFont ? 0 : 1);
        return;
    }
    // A cell text that no entry equals leaves no entry selected, so the list never shows a
    // choice the cell does not hold and any pick is written.
    list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
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
    list->hide();
    grid->SetCells(col, row, list->itemText(picked));
    if (list == ComboBox5 && (picked == 5 || picked == 6))
        grid->SetCells(4, row, GridTexts::kVatExempt);
    // Font lists return to the text the font belongs to; the group lists park the current
    // cell in the hidden last column, out of the lists' way.
    const bool groupList = list == ComboBox5 || list == ComboBox7 || list == ComboBox8;
    grid->SetCurrentCell(groupList ? grid->ColCount() - 1 : col - 1, row);
    grid->setFocus(Qt::OtherFocusReason);
}

void TFrameSetZ48::ComboBoxExit(QComboBox *list)
{
    list->hide();
}
