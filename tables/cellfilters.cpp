#include "cellfilters.h"

#include "gridtexts.h"
#include "win1251.h"

#include <Qt>

namespace
{

constexpr int kNarrowLimit = 24;
constexpr int kWideLimit = 12;

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Text rule on column col with its font in the column to its right.
QChar TextColumn(const TCellTexts &cells, int col, int row, QChar key, const QString &text)
{
    return TextRuleKey(key, text, cells ? cells(col + 1, row) : QString());
}

} // namespace

int TextLimitForFont(const QString &fontCell)
{
    return fontCell == GridTexts::kNarrowFont ? kNarrowLimit : kWideLimit;
}

QChar UpperKey(QChar key)
{
    return AnsiUpper(QString(key)).front();
}

QChar TextRuleKey(QChar key, const QString &text, const QString &fontCell)
{
    if (key == kBackspace)
        return key;
    if (text.size() >= TextLimitForFont(fontCell))
        return QChar();
    return UpperKey(key);
}

QChar DigitsRuleKey(QChar key, const QString &text, int maxLength)
{
    if (key == kBackspace)
        return key;
    if (!IsDigit(key) || text.size() >= maxLength)
        return QChar();
    return key;
}

QChar PriceRuleKey(QChar key, const QString &text)
{
    if (key == kBackspace)
        return key;
    // People type prices with a comma too; the register's decimal separator is the point.
    if (key == QLatin1Char(','))
        key = QLatin1Char('.');
    const bool point = key == QLatin1Char('.');
    if (!IsDigit(key) && !point)
        return QChar();
    if (point && text.contains(QLatin1Char('.')))
        return QChar();
    if (text.size() >= kPriceMaxLength)
        return QChar();
    return key;
}

bool PriceTextAcceptable(const QString &text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return point < 0 || text.size() - point - 1 <= kPriceDecimals;
}

QChar sgOperKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text)
{
    switch (col) {
    case 1:
    case 3:
    case 5:
        return TextColumn(cells, col, row, key, text);
    case 8:
        return DigitsRuleKey(key, text, 12);
    default:
        return key; // the password, and the font columns (their list holds the focus)
    }
}

QChar SGBaseKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text)
{
    switch (col) {
    case 1:
        return TextColumn(cells, col, row, key, text);
    case 3:
        return DigitsRuleKey(key, text, 13);
    case 4:
        return PriceRuleKey(key, text);
    case 5:
        return DigitsRuleKey(key, text, 2);
    default:
        return key;
    }
}

QChar sgUslKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text)
{
    return col == 1 ? TextColumn(cells, col, row, key, text) : key;
}

QChar sgKlKeyPress(const TCellTexts &cells, int col, int row, QChar key, const QString &text)
{
    return col == 1 ? TextColumn(cells, col, row, key, text) : key;
}

QChar sgAgentsKeyPress(const TCellTexts &cells, int, int row, QChar key, const QString &text)
{
    // Upper case in every column first; then the taxpayer number's digits or the text limit.
    key = UpperKey(key);
    if (row == 5)
        return DigitsRuleKey(key, text, 12);
    return TextRuleKey(key, text, cells ? cells(2, row) : QString());
}

QChar Edit1KeyPress(QChar key)
{
    return key == kBackspace || IsDigit(key) ? key : QChar();
}

bool sgUslKeyDown(int uslCol, int key)
{
    if (uslCol != 4)
        return false;
    // Character keys have codes below Qt::Key_Escape.
    if (key < Qt::Key_Escape)
        return false;
    switch (key) {
    // Tab and Shift+Tab still leave the cell, so the keyboard is never stuck there.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        return true;
    }
}
