#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;
class TStringGrid;

// Told when a verifying read finds the register holding what the grid does.
inline const QString kNoDifferenceText = QStringLiteral("Данные в ККТ совпадают с таблицей.");

// One field where the register differs from a frame's grid, and the grid cell that holds it.
struct TVerifyLine {
    QString record; // "товар 7", "Имя сервера ОФД"
    QString column; // the grid column's caption
    QString grid;   // the grid's text as it stands
    QString device; // the register's, as the grid shows it after a read
    int col = 0;
    int row = 0;
};

// The fields where the register differs from a frame's grid, one line each: record, column,
// the grid's text and the register's. Non-modal, so the grid can be mended beside it; a
// double-click (or Enter) on a line asks the frame to make that cell its grid's current one,
// and the window then moves, where it would hide that cell, to a place beside it.
class TVerifyWindow : public QDialog
{
    Q_OBJECT
public:
    // Makes the cell its grid's current one; the grid, or null when it could not.
    using TGoToCell = std::function<TStringGrid *(int col, int row)>;

    TVerifyWindow(QWidget &frame, const QString &caption, const QList<TVerifyLine> &lines,
                  TGoToCell goToCell);

    QTreeWidget *List() const { return list_; }

private:
    void GoToCell(QTreeWidgetItem *item);

    TGoToCell goToCell_;
    QTreeWidget *list_ = nullptr;
};

// The outcome of a verifying read: the information box when nothing differs, else a verify
// window in place of the frame's earlier one.
void ShowDifferences(QWidget &frame, const QString &caption, const QList<TVerifyLine> &lines,
                     const TVerifyWindow::TGoToCell &goToCell);
// Closes the frame's verify window: a new run makes its list stale.
void CloseDifferences(QWidget &frame);
