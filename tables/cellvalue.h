#pragma once

#include "cellfilters.h"
#include "tablelayout.h"

#include <QString>
#include <QStringList>

#include <optional>

// A value entered into a cell of the tables' grids as a whole (a paste), by the rules the
// cell's typing follows.

// The entry of a list that a text names: the entry itself (case aside) or its leading code
// ("1" for "1 - Общая", "05" or "5" for "05 - ..."); in the font list the register's font flags
// "0" and "1" as well. std::nullopt for any other text.
std::optional<QString> ListEntryOf(const QStringList &entries, const QString &text);

// Signs 05 and 06 (bank payment agent and subagent) carry no VAT of their own: choosing one
// writes "НДС не облагается" into the group's VAT cell, which then opens no list.
bool IsVatExemptSign(const QString &signCell);

// The text cell (col, row) of the tab's grid holds once value is entered into it, or
// std::nullopt when the cell refuses it (and stays as it was). Blanks around the value are
// dropped (not in the password). A text cell takes it as if it were typed into the emptied
// cell, character by character through the column's key filter (upper case, the font's
// limit, digits, the price's point, a comma taken as one, and two decimals): one refused
// character refuses the value. A choice cell takes an entry of its list (ListEntryOf). A cell
// that cannot be edited (a VAT cell beside sign 05 or 06, the taxpayer number's font, the
// hidden column, the fixed column and the header row) takes only the text it holds. cells
// reads the grid's other cells (the row's font and sign).
std::optional<QString> CellValueAsTyped(TTableTab tab, int col, int row, const QString &value,
                                        const TCellTexts &cells);
