#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The fixed texts of the tables frame: captions, widths and default cell texts of the five
// grids, their row captions and the entries of the lists laid over choice cells. A choice cell
// holds the full text of its entry, so writing and reading compare cell texts with these.

struct TGridColumn {
    QString header;
    int width;           // negative: the column is hidden
    QString defaultText; // of every data row; column 0 (row number or caption) is set apart
};

namespace GridTexts
{

inline const QString kNarrowFont = QStringLiteral("Узкий");
inline const QString kWideFont = QStringLiteral("Широкий");
// Written into a group's VAT cell when its sign is 05 or 06; no entry of the VAT list.
inline const QString kVatExempt = QStringLiteral("НДС не облагается");

const QVector<TGridColumn> &OperColumns();
const QVector<TGridColumn> &GoodsColumns();
const QVector<TGridColumn> &GroupColumns();
const QVector<TGridColumn> &ClicheColumns();
const QVector<TGridColumn> &AgentColumns();

// Column 0 of rows 1.. of the cliche and agents grids.
const QStringList &ClicheRowCaptions();
const QStringList &AgentRowCaptions();

const QStringList &FontList();
const QStringList &SignList();
const QStringList &VatList();
const QStringList &TaxSystemList();

} // namespace GridTexts
