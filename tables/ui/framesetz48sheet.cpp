#include "framesetz48.h"

#include "cellvalue.h"
#include "framecells.h"
#include "goodsfindbar.h"
#include "goodsrecord.h"
#include "gridsheet.h"
#include "gridtexts.h"
#include "stringgrid.h"
#include "workhost.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace
{

// The keys of the grids' blocks and history reach the grid from a list laid over one of its
// cells too; the list gives way first, as it does for the arrows.
class TListSheetKeys : public QObject
{
public:
    using QObject::QObject;
    void Add(QComboBox *list, TStringGrid *grid)
    {
        list->installEventFilter(this);
        lists_.append({list, grid});
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        for (const auto &[list, grid] : std::as_const(lists_)) {
            if (list != object || !grid->WantsSheetKey(key))
                continue;
            grid->setFocus(Qt::OtherFocusReason);
            list->hide();
            grid->SheetKey(key);
            return true;
        }
        return false;
    }

private:
    QList<QPair<QComboBox *, TStringGrid *>> lists_;
};

QString Swatch(const QColor &color)
{
    return QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span>")
        .arg(color.name());
}

QLabel *MarkLegend(QWidget *parent)
{
    auto *legend = new QLabel(parent);
    legend->setObjectName(QStringLiteral("labelMarkLegend"));
    legend->setTextFormat(Qt::RichText);
    legend->setText(Swatch(kMarkChangedColor) +
                    QStringLiteral(" изменено после записи или чтения") +
                    QStringLiteral("&nbsp;&nbsp;&nbsp;") + Swatch(kMarkUnknownColor) +
                    QStringLiteral(" не записано и не прочитано"));
    legend->setToolTip(QStringLiteral("Цвет номера строки:\n") + kMarkChangedTip +
                       QStringLiteral(";\n") + kMarkUnknownTip + QLatin1Char('.'));
    return legend;
}

void SetChangeMarks(TFrameSetZ48 &frame, int tab)
{
    frame.Grid(TTableTab(tab))
        ->GridModel()
        ->SetRowMarks(
            [&frame, tab](int row) {
                switch (frame.Mirror.State(frame.CurrentRegister(), TTableTab(tab), row,
                                           TFrameCells(frame))) {
                case TRegisterMirror::TState::Same:
                    break;
                case TRegisterMirror::TState::Changed:
                    return 0;
                case TRegisterMirror::TState::Unknown:
                    return 1;
                }
                return -1;
            },
            {{kMarkChangedColor, kMarkChangedTip}, {kMarkUnknownColor, kMarkUnknownTip}});
}

bool PasteByTheCellsRules(TTableTab tab, TStringGrid &grid, int col, int row, const QString &value)
{
    const TCellTexts cells = [&grid](int c, int r) { return grid.Cells(c, r); };
    const std::optional<QString> text = CellValueAsTyped(tab, col, row, value, cells);
    if (!text)
        return false;
    grid.SetCells(col, row, *text);
    // As a pick of the sign does.
    if (tab == TTableTab::Groups && col == GroupColumn::Sign && IsVatExemptSign(*text))
        grid.SetCells(GroupColumn::Vat, row, GridTexts::kVatExempt);
    return true;
}

// The find bar of the goods grid on its sheet.
void ConnectFindBar(QWidget *sheet, TStringGrid *goods)
{
    auto *sheetLayout = qobject_cast<QVBoxLayout *>(sheet->layout());
    if (!sheetLayout)
        return;
    auto *bar = new TGoodsFindBar(goods, sheet);
    // Right under the grid, above the range edits.
    sheetLayout->insertWidget(sheetLayout->indexOf(goods) + 1, bar);
    const auto shortcut = [sheet](const QKeySequence &keys, auto action) {
        auto *keysOfTab = new QShortcut(keys, sheet);
        keysOfTab->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(keysOfTab, &QShortcut::activated, sheet, action);
    };
    shortcut(QKeySequence::Find, [bar] { bar->Open(); });
    shortcut(QKeySequence(Qt::Key_F3), [bar] { bar->FindNext(true); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [bar] { bar->FindNext(false); });
}

} // namespace

void TFrameSetZ48::ConnectGridSheets()
{
    TFrameSetZ48 &frame = *this;
    for (int tab = 0; tab < kTableTabCount; ++tab) {
        TStringGrid *grid = Grid(TTableTab(tab));
        SetChangeMarks(frame, tab);
        grid->SetSheetMode(true);
        grid->SetReadOnlyChangeNote(kHistoryAfterRead);
        grid->SetPasteRule([tab](TStringGrid &g, int col, int row, const QString &value) {
            return PasteByTheCellsRules(TTableTab(tab), g, col, row, value);
        });
        QObject::connect(grid, &TStringGrid::Note, &frame, [&frame](const QString &text) {
            if (frame.Host())
                frame.Host()->ShowNote(text);
        });
    }
    auto *listKeys = new TListSheetKeys(&frame);
    const QList<QPair<QComboBox *, TStringGrid *>> lists = {
        {ComboBox1, SGBase}, {ComboBox2, sgOper},   {ComboBox3, sgUsl}, {ComboBox4, sgKl},
        {ComboBox5, sgUsl},  {ComboBox6, sgAgents}, {ComboBox7, sgUsl}, {ComboBox8, sgUsl}};
    for (const auto &[list, grid] : lists)
        listKeys->Add(list, grid);

    // The legend of the marks beside the goods tab's range edits.
    if (auto *sheetLayout = qobject_cast<QVBoxLayout *>(TabSheet2->layout()))
        if (auto *range = qobject_cast<QHBoxLayout *>(
                sheetLayout->itemAt(sheetLayout->indexOf(SGBase) + 1)->layout()))
            range->addWidget(MarkLegend(TabSheet2));
    ConnectFindBar(TabSheet2, SGBase);
}
