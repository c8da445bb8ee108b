#pragma once

#include "tabledifferences.h"
#include "tablelayout.h"

#include <QDialog>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;
class TFrameSetZ48;

// Told when a verifying read finds the register holding what the grid does.
inline const QString kNoDifferenceText = QStringLiteral("Данные в ККТ совпадают с таблицей.");

// The fields where the register differs from a tab's grid, one line each: record, column, the
// grid's text and the register's. Non-modal, so the grid can be mended beside it; a
// double-click (or Enter) on a line makes that cell the grid's current one.
class TVerifyWindow : public QDialog
{
    Q_OBJECT
public:
    TVerifyWindow(TFrameSetZ48 &frame, TTableTab tab, const QList<TTableDifference> &differences);

    QTreeWidget *List() const { return list_; }

private:
    void GoToCell(QTreeWidgetItem *item);

    QPointer<TFrameSetZ48> frame_;
    TTableTab tab_;
    QTreeWidget *list_ = nullptr;
};

// The outcome of a verifying read: the information box when nothing differs, else a verify
// window in place of the frame's earlier one.
void ShowDifferences(TFrameSetZ48 &frame, TTableTab tab,
                     const QList<TTableDifference> &differences);
// Closes the frame's verify window: a new run makes its list stale.
void CloseDifferences(TFrameSetZ48 &frame);
