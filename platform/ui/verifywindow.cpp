#include "verifywindow.h"

#include "dialogs.h"
#include "stringgrid.h"
#include "windowplace.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{
enum TDataRole { kColRole = Qt::UserRole, kRowRole };
} // namespace

TVerifyWindow::TVerifyWindow(QWidget &frame, const QString &caption,
                             const QList<TVerifyLine> &lines, TGoToCell goToCell)
    : QDialog(&frame), goToCell_(std::move(goToCell))
{
    setObjectName(QStringLiteral("VerifyWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Сверка с ККТ: ") + caption);

    auto *summary = new QLabel(
        QStringLiteral("Поля, в которых ККТ отличается от таблицы: %1").arg(lines.size()), this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("Differences"));
    list_->setAccessibleName(QStringLiteral("Расхождения с ККТ"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({QStringLiteral("Запись"), QStringLiteral("Столбец"),
                            QStringLiteral("В таблице"), QStringLiteral("В ККТ")});
    QList<QTreeWidgetItem *> items;
    for (const TVerifyLine &line : lines) {
        auto *item = new QTreeWidgetItem({line.record, line.column, line.grid, line.device});
        item->setData(0, kColRole, line.col);
        item->setData(0, kRowRole, line.row);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    for (int c = 0; c < list_->columnCount(); ++c)
        list_->resizeColumnToContents(c);
    if (!items.isEmpty())
        list_->setCurrentItem(items.first());
    connect(list_, &QTreeWidget::itemActivated, this, &TVerifyWindow::GoToCell);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close =
        buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(640, 360);
}

void TVerifyWindow::GoToCell(QTreeWidgetItem *item)
{
    if (!item || !goToCell_)
        return;
    const int col = item->data(0, kColRole).toInt();
    const int row = item->data(0, kRowRole).toInt();
    const TStringGrid *grid = goToCell_(col, row);
    QRect cell = grid ? grid->CellRect(col, row) : QRect();
    if (cell.isEmpty())
        return;
    cell.moveTopLeft(grid->mapToGlobal(cell.topLeft()));
    // The screen the cell is on; the window may sit on another one.
    const QScreen *shown = QGuiApplication::screenAt(cell.center());
    if (!shown)
        shown = screen();
    if (!shown)
        return;
    move(PlaceClearOf(frameGeometry(), cell, shown->availableGeometry()));
}

void ShowDifferences(QWidget &frame, const QString &caption, const QList<TVerifyLine> &lines,
                     const TVerifyWindow::TGoToCell &goToCell)
{
    CloseDifferences(frame);
    if (lines.isEmpty()) {
        ShowInformation(&frame, kNoDifferenceText);
        return;
    }
    auto *window = new TVerifyWindow(frame, caption, lines, goToCell);
    window->show();
}

void CloseDifferences(QWidget &frame)
{
    for (TVerifyWindow *earlier : frame.findChildren<TVerifyWindow *>(Qt::FindDirectChildrenOnly))
        earlier->close();
}
