#include "stringgrid.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QPalette>

#include <algorithm>
#include <utility>

// The model's indexes are body cells: model (row, column) is grid (column + 1, row + 1).

TStringGridModel::TStringGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TStringGridModel::SetSize(int cols, int rows)
{
    cols = qMax(cols, 1);
    rows = qMax(rows, 1);
    if (cols == cols_ && rows == rows_)
        return;
    QVector<QString> texts(qsizetype(cols) * rows);
    for (int r = 0; r < qMin(rows, rows_); ++r)
        for (int c = 0; c < qMin(cols, cols_); ++c)
            texts[qsizetype(r) * cols + c] = texts_[qsizetype(r) * cols_ + c];
    beginResetModel();
    heldRows_.clear();
    cols_ = cols;
    rows_ = rows;
    texts_ = std::move(texts);
    endResetModel();
}

QString TStringGridModel::Cell(int col, int row) const
{
    return Valid(col, row) ? texts_[qsizetype(row) * cols_ + col] : QString();
}

void TStringGridModel::SetCell(int col, int row, const QString &text)
{
    if (!Valid(col, row))
        return;
    QString &slot = texts_[qsizetype(row) * cols_ + col];
    if (slot == text)
        return;
    const QString before = slot;
    slot = text;
    if (changeHook_ && row > 0 && col > 0)
        changeHook_(col, row, before, text);
    if (updating_ > 0)
        return;
    if (holding_ && row > 0 && col > 0) {
        // A run writes a row's cells one after another.
        if ((heldRows_.isEmpty() || heldRows_.last() != row) && !heldRows_.contains(row))
            heldRows_.append(row);
        return;
    }
    if (row == 0 && col > 0)
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else if (col == 0 && row > 0)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else if (row > 0 && col > 0) {
        const QModelIndex at = index(row - 1, col - 1);
        emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
        if (mark_)
            emit RowMarksChanged(row, row);
    }
    // The corner cell (0, 0) is painted by the grid itself from Cell(0, 0).
}

void TStringGridModel::EndUpdate()
{
    if (updating_ <= 0 || --updating_ > 0)
        return;
    if (rows_ > 1 && cols_ > 1)
        emit dataChanged(index(0, 0), index(rows_ - 2, cols_ - 2), {Qt::DisplayRole, Qt::EditRole});
    if (cols_ > 1)
        emit headerDataChanged(Qt::Horizontal, 0, cols_ - 2);
    if (rows_ > 1)
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 2);
}

void TStringGridModel::HoldChanges(bool hold)
{
    if (!hold)
        FlushChanges();
    holding_ = hold;
}

void TStringGridModel::FlushChanges()
{
    if (heldRows_.isEmpty())
        return;
    const QList<int> rows = std::exchange(heldRows_, {});
    for (int row : rows) {
        if (row < rows_)
            emit dataChanged(index(row - 1, 0), index(row - 1, cols_ - 2),
                             {Qt::DisplayRole, Qt::EditRole});
    }
    if (mark_) {
        const auto [first, last] = std::minmax_element(rows.begin(), rows.end());
        emit RowMarksChanged(*first, qMin(*last, rows_ - 1));
    }
}

void TStringGridModel::SetRowMarks(TRowMark mark, const QVector<TRowMarkKind> &kinds)
{
    mark_ = std::move(mark);
    markKinds_ = kinds;
    MarksChanged();
}

int TStringGridModel::RowMark(int row) const
{
    if (!mark_ || row <= 0 || row >= rows_)
        return -1;
    const int kind = mark_(row);
    return kind >= 0 && kind < markKinds_.size() ? kind : -1;
}

QString TStringGridModel::MarkToolTip(int row) const
{
    const int kind = RowMark(row);
    return kind >= 0 ? markKinds_[kind].toolTip : QString();
}

void TStringGridModel::MarksChanged()
{
    if (rows_ > 1 && updating_ == 0)
        emit RowMarksChanged(1, rows_ - 1);
}

int TStringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_ - 1;
}

int TStringGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : cols_ - 1;
}

QVariant TStringGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    // The tool tip shows a text that is wider than its column in full.
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole)
        return Cell(index.column() + 1, index.row() + 1);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

bool TStringGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SetCell(index.column() + 1, index.row() + 1, value.toString());
    return true;
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole)
        return orientation == Qt::Horizontal ? Cell(section + 1, 0) : Cell(0, section + 1);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::BackgroundRole && orientation == Qt::Vertical) {
        if (const int kind = RowMark(section + 1); kind >= 0)
            return QBrush(markKinds_[kind].color);
    }
    return {};
}
