#pragma once

#include <QString>
#include <QtGlobal>

// Where the five tabs of the tables frame live in the register, and how a run over one of them
// is laid out: which records, how many exchanges per record, which cells each exchange uses.

// The tabs in page order (the index of the open page of PageControl1).
enum class TTableTab { Operators = 0, Goods = 1, Groups = 2, Cliche = 3, Agents = 4 };
inline constexpr int kTableTabCount = 5;

// The records of each table the register and the grids hold.
inline constexpr int kOperatorCount = 6;
inline constexpr int kGoodsItemCount = 6000;
inline constexpr int kGroupCount = 8;
inline constexpr int kClicheLineCount = 21;
inline constexpr int kAgentParamCount = 12;

// Address of one table field in the register.
struct TFieldAddress {
    quint8 table = 0;
    quint8 row = 0;
    quint8 field = 0;
    bool operator==(const TFieldAddress &) const = default;
};

// The grid cells one table-field exchange reads or fills. fontColumn -1: the field has no font
// column (the flag "0" is sent, nothing is filled on reading). groupCodes: the text is the
// group's codes of columns 3 to 5 instead of one cell.
struct TFieldCells {
    int textColumn = 1;
    int fontColumn = 2;
    bool groupCodes = false;
};

struct TTabLayout {
    const char *gridName;     // the grid's object name
    const char *fromEditName; // "с" range edit
    const char *toEditName;   // "по" range edit
    int maximum;              // highest record number
    int fieldsPerRecord;      // exchanges per record (goods: one item exchange)
    QString writeFragment;    // ") при записи ... " of the write error message
    QString readFragment;     // ") при чтении ... " of the read error message
    QString placeNoun;        // a record as the status bar names it during a run
};

// The layout of a tab; tab must be a valid index (0..4).
const TTabLayout &TabLayout(TTableTab tab);
// Whether index is one of the five tabs.
bool IsTableTab(int index);

// Register address of one field exchange of a record (not for goods). record is 1-based;
// fieldIndex counts the exchanges of the record from 0.
TFieldAddress FieldAddress(TTableTab tab, int record, int fieldIndex);
// The cells of one field exchange (not for goods).
TFieldCells FieldCells(TTableTab tab, int fieldIndex);

// The error message of a failed exchange: "Внимание!\r\nОшибка (" code fragment record " !".
QString ExchangeErrorText(int code, const QString &fragment, int record);
