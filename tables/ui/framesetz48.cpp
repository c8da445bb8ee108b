#include "framesetz48.h"

#include "celllistbox.h"
#include "gridsheet.h"
#include "gridtexts.h"
#include "lampshape.h"
#include "stringgrid.h"
#include "workhost.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

namespace
{

// Captions, widths and default texts of a grid's columns; column 0 of every data row is its
// row number unless row captions are given.
void FillGrid(TStringGrid *grid, const QVector<TGridColumn> &columns,
              const QStringList &rowCaptions = {})
{
    auto *model = grid->GridModel();
    model->BeginUpdate();
    for (int c = 0; c < columns.size(); ++c) {
        model->SetCell(c, 0, columns[c].header);
        grid->SetColWidth(c, columns[c].width);
    }
    for (int r = 1; r < grid->RowCount(); ++r) {
        model->SetCell(0, r, rowCaptions.isEmpty() ? QString::number(r) : rowCaptions.value(r - 1));
        for (int c = 1; c < columns.size(); ++c)
            if (!columns[c].defaultText.isEmpty())
                model->SetCell(c, r, columns[c].defaultText);
    }
    model->EndUpdate();
}

} // namespace

TFrameSetZ48::TFrameSetZ48(TWorkHost *host, QWidget *parent) : QFrame(parent), host_(host)
{
    setObjectName(QStringLiteral("FrameSetZ48"));
    BuildLayout();
    ConnectEditing();
}

int TFrameSetZ48::CellListHeight() const
{
    // Every list has the grids' font and the same height; one of them tells it.
    auto *probe = qobject_cast<TCellListBox *>(ComboBox2);
    probe->ApplyCellFont();
    return probe->sizeHint().height();
}

void TFrameSetZ48::InitGrid(TStringGrid *grid, QComboBox *const *lists, int listCount)
{
    // A list laid over a cell covers it exactly when the rows are as high as the list.
    grid->SetDefaultRowHeight(cellListHeight_);
    for (int i = 0; i < listCount; ++i) {
        const QSignalBlocker quiet(lists[i]);
        lists[i]->setCurrentIndex(0);
        lists[i]->hide();
    }
}

void TFrameSetZ48::InitGrids()
{
    cellListHeight_ = CellListHeight();
    QComboBox *const operLists[] = {ComboBox2};
    FillGrid(sgOper, GridTexts::OperColumns());
    InitGrid(sgOper, operLists, 1);
    sgOper->SetCurrentCell(1, 1);

    QComboBox *const goodsLists[] = {ComboBox1};
    FillGrid(SGBase, GridTexts::GoodsColumns());
    InitGrid(SGBase, goodsLists, 1);
    SGBase->SetCurrentCell(1, 1);

    QComboBox *const groupLists[] = {ComboBox3, ComboBox5, ComboBox7, ComboBox8};
    FillGrid(sgUsl, GridTexts::GroupColumns());
    sgUsl->SetCurrentCell(1, 1);
    InitGrid(sgUsl, groupLists, 4);

    QComboBox *const clicheLists[] = {ComboBox4};
    FillGrid(sgKl, GridTexts::ClicheColumns(), GridTexts::ClicheRowCaptions());
    sgKl->SetCurrentCell(1, 1);
    InitGrid(sgKl, clicheLists, 1);

    QComboBox *const agentLists[] = {ComboBox6};
    FillGrid(sgAgents, GridTexts::AgentColumns(), GridTexts::AgentRowCaptions());
    InitGrid(sgAgents, agentLists, 1);
    sgAgents->SetCurrentCell(1, 1);

    // Each grid marks the records that differ from what the register is known to hold, and
    // works as a spreadsheet from here on (undo, blocks, find).
    ConnectGridSheets();

    PageControl1->setCurrentIndex(0);
}

TRegisterId TFrameSetZ48::CurrentRegister() const
{
    return host_ ? RegisterOf(host_->Settings()) : TRegisterId();
}

void TFrameSetZ48::UpdateChangeMarks()
{
    for (int tab = 0; tab < kTableTabCount; ++tab)
        Grid(TTableTab(tab))->GridModel()->MarksChanged();
}

void TFrameSetZ48::SetScannerIndicatorVisible(bool visible)
{
    SetScannerLampVisible(visible);
    SetScannerCaptionVisible(visible);
}

void TFrameSetZ48::SetScannerLampVisible(bool visible)
{
    Shape1->setVisible(visible);
}

void TFrameSetZ48::SetScannerCaptionVisible(bool visible)
{
    Label14->setVisible(visible);
}

void TFrameSetZ48::SetScannerLampColor(const QColor &color)
{
    Shape1->SetColor(color);
}

TStringGrid *TFrameSetZ48::Grid(TTableTab tab) const
{
    TStringGrid *const grids[] = {sgOper, SGBase, sgUsl, sgKl, sgAgents};
    return IsTableTab(int(tab)) ? grids[int(tab)] : nullptr;
}

TRangeEdits TFrameSetZ48::Range(TTableTab tab) const
{
    const TRangeEdits ranges[] = {
        {Edit1, Edit2}, {Edit3, Edit4}, {Edit5, Edit6}, {Edit7, Edit8}, {Edit9, Edit10}};
    return IsTableTab(int(tab)) ? ranges[int(tab)] : TRangeEdits();
}

TTableTab TFrameSetZ48::OpenTab() const
{
    const int index = PageControl1->currentIndex();
    return IsTableTab(index) ? TTableTab(index) : TTableTab::Operators;
}

void TFrameSetZ48::ShowTab(TTableTab tab)
{
    PageControl1->setCurrentIndex(int(tab));
}

QString TFrameSetZ48::TabCaption(TTableTab tab) const
{
    return PageControl1->tabText(int(tab));
}

bool TFrameSetZ48::RunLocked() const
{
    return !PageControl1->tabBar()->isEnabled();
}

TGridCell TFrameSetZ48::CurrentCell(TTableTab tab) const
{
    switch (tab) {
    case TTableTab::Operators:
        return {OperCol, OperRow};
    case TTableTab::Goods:
        return {BaseCol, BaseRow};
    case TTableTab::Groups:
        return {UslCol, UslRow};
    case TTableTab::Cliche:
        return {KlCol, KlRow};
    case TTableTab::Agents:
        break;
    }
    return {AgentsCol, AgentsRow};
}

// The barcode reader runs only while the goods tab is on screen. Early in start-up, before the
// main window has created the reader, tab changes leave it alone.
void TFrameSetZ48::TabSheet1Show()
{
    if (host_ && host_->StartupComplete())
        host_->StopScanner();
}

void TFrameSetZ48::TabSheet2Show()
{
    if (host_ && host_->StartupComplete())
        host_->StartScanner();
}

void TFrameSetZ48::TabSheet3Show()
{
    TabSheet1Show();
}

void TFrameSetZ48::TabSheet4Show()
{
    TabSheet1Show();
}

void TFrameSetZ48::TabSheet5Show()
{
    TabSheet1Show();
}

bool TFrameSetZ48::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::Show && !event->spontaneous()) {
        if (object == TabSheet1)
            TabSheet1Show();
        else if (object == TabSheet2)
            TabSheet2Show();
        else if (object == TabSheet3)
            TabSheet3Show();
        else if (object == TabSheet4)
            TabSheet4Show();
        else if (object == TabSheet5)
            TabSheet5Show();
    }
    if (auto *list = qobject_cast<TCellListBox *>(object); list && ListOf(list)) {
        if (event->type() == QEvent::FocusIn) {
            ComboBoxEnter(list);
        } else if (event->type() == QEvent::FocusOut) {
            // Opening the drop-down takes the focus away too (the first time as a change of
            // the active window): the list stays while its drop-down is open.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                !list->PopupOpen())
                ComboBoxExit(list);
        }
    }
    return QFrame::eventFilter(object, event);
}
