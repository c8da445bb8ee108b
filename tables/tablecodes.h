#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Conversions between the texts of the tables' grid cells and the values the register takes.

// A whole decimal number with an optional sign and nothing else (no blanks around it);
// std::nullopt for anything else, the empty text included.
std::optional<qint64> WholeNumber(const QString &text);

// The font flag of the register's texts for each of the font list's two entries.
inline constexpr char kFlagNarrow = '0';
inline constexpr char kFlagWide = '1';

// "0" only for a cell that reads exactly "Узкий"; any other text means the wide font.
quint8 FontFlag(const QString &fontCell);
// "Узкий" for the flag '0', "Широкий" for any other byte.
QString FontText(quint8 flag);

// Price cell text to a decimal count of kopecks: "" -> "0", "7" -> "700", "12.5" -> "1250",
// "12.345" -> "1234", ".5" -> "050", "12." -> "1200". What is not a number stays so, and the
// goods command refuses it.
QString EncodePrice(const QString &cell);
// Kopecks from the register (decimal, up to 40 bits) to the cell: "1205" -> "12.05",
// "5" -> "0.05". 64-bit arithmetic, so every price the register can hold shows exactly.
// A text that is not a whole number is shown as it came.
QString DecodePrice(const QString &kopecks);

// The barcode sent for a cell: an empty cell sends "0".
QString BarcodeText(const QString &cell);
// The department byte of a cell: its whole number kept to the low eight bits, 0 for anything
// that is not a whole number (the empty cell included).
quint8 DepartmentByte(const QString &cell);

// Field 1 of a payment-item group, from the entries of the groups grid's lists (GridTexts):
// payment-item code (two digits, the sign list's index), VAT code ("0" when the cell matches no
// entry) and tax-system code ("9" when none). std::nullopt when the payment-item cell
// matches none of its twelve entries: that group cannot be written.
std::optional<QString> EncodeGroupCodes(const QString &paymentItem, const QString &vat,
                                        const QString &taxSystem);

// The three cells a group's field 1 fills; each is empty when its code cannot be decoded.
struct TGroupCells {
    QString paymentItem;
    QString vat;
    QString taxSystem;
};
TGroupCells DecodeGroupCodes(const QString &text);
