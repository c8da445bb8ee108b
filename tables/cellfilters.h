#pragma once

#include <QChar>
#include <QString>

#include <functional>

// The key filters of the tables frame's grids and edits. Each takes the typed character and the
// cell's whole current text and returns the character to insert (possibly upper-cased) or a null
// QChar, which discards the key. Backspace (code 8) always passes.

// Reads the text of another cell of the same grid (the row's font cell).
using TCellTexts = std::function<QString(int col, int row)>;

inline constexpr QChar kBackspace = QChar(8);

// Characters a text field holds: 24 in the narrow font "Узкий", 12 in any other.
int TextLimitForFont(const QString &fontCell);

// Upper case by the Windows-1251 rules (Latin and Cyrillic letters); other characters unchanged.
QChar UpperKey(QChar key);

// Upper-cases the key, then refuses it when the text already holds the font's limit.
QChar TextRuleKey(QChar key, const QString &text, const QString &fontCell);
// Digits only, and at most maxLength of them.
QChar DigitsRuleKey(QChar key, const QString &text, int maxLength);
// Digits and one decimal point (a comma is taken as the point), at most 13 characters.
QChar PriceRuleKey(QChar key, const QString &text);
// Whether a price text as it would be after a key holds at most two decimals (kopecks).
bool PriceTextAcceptable(const QString &text);

inline constexpr int kPriceMaxLength = 13;
inline constexpr int kPriceDecimals = 2;

// The per-grid filters: which rule applies to which column (and row).
QChar sgOperKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text);
QChar SGBaseKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text);
QChar sgUslKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text);
QChar sgKlKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text);
QChar sgAgentsKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text);

// The range and item-number edits: digits and Backspace only.
QChar Edit1KeyPress(QChar key);

// Groups grid: while its current column is the VAT column (4), navigation and editing keys
// (arrows, page keys, Home, End, Insert, Delete, ...) are swallowed. Typed characters,
// Backspace, Enter and Escape are not key-down codes of that kind and pass, nor do Tab and
// Shift+Tab, which leave the cell. True: swallow.
bool sgUslKeyDown(int uslCol, int key);
