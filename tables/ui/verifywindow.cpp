#include "verifywindow.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "registershown.h"
#include "stringgrid.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{
enum TDataRole { kColRole = Qt::UserRole, kRowRole };
} // namespace

TVerifyWindow::TVerifyWindow(TFrameSetZ48 &frame, TTableTab tab,
                             const QList<TTableDifference> &differences)
    : QDialog(&frame), frame_(&frame), tab_(tab)
{
    setObjectName(QStringLiteral("VerifyWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString caption = frame.TabCaption(tab);
    setWindowTitle(QStringLiteral("Сверка с ККТ: ") + caption);

    auto *summary = new QLabel(
        QStringLiteral("Поля, в которых ККТ отличается от таблицы: %1").arg(differences.size()),
        this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("Differences"));
    list_->setAccessibleName(QStringLiteral("Расхождения с ККТ"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({QStringLiteral("Запись"), QStringLiteral("Столбец"),
                            QStringLiteral("В таблице"), QStringLiteral("В ККТ")});
    const QString &noun = TabLayout(tab).placeNoun;
    QList<QTreeWidgetItem *> items;
    for (const TTableDifference &d : differences) {
        auto *item =
            new QTreeWidgetItem({noun + QLatin1Char(' ') + QString::number(d.record),
                                 GridColumnOf(tab, d.col).header.trimmed(), d.grid, d.device});
        item->setData(0, kColRole, d.col);
        item->setData(0, kRowRole, d.record);
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
    if (!item || !frame_)
        return;
    // The tabs are locked while a run is under way; the cell waits for it.
    if (frame_->RunLocked())
        return;
    frame_->ShowTab(tab_);
    TStringGrid *grid = frame_->Grid(tab_);
    grid->SetCurrentCell(item->data(0, kColRole).toInt(), item->data(0, kRowRole).toInt());
    grid->window()->activateWindow();
    grid->setFocus();
}

void ShowDifferences(TFrameSetZ48 &frame, TTableTab tab, const QList<TTableDifference> &differences)
{
    CloseDifferences(frame);
    if (differences.isEmpty()) {
        ShowInformation(&frame, kNoDifferenceText);
        return;
    }
    auto *window = new TVerifyWindow(frame, tab, differences);
    window->show();
}

void CloseDifferences(TFrameSetZ48 &frame)
{
    for (TVerifyWindow *earlier : frame.findChildren<TVerifyWindow *>(Qt::FindDirectChildrenOnly))
        earlier->close();
}
