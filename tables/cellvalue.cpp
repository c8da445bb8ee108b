#include "cellvalue.h"

#include "goodsrecord.h"
#include "gridtexts.h"
#include "registershown.h"

namespace
{

constexpr int kPasswordColumn = 7;
constexpr int kAgentTaxpayerRow = 5;

using TKeyPress = QChar (*)(const TCellTexts &, int, int, QChar, const QString &);

TKeyPress KeyPressOf(TTableTab tab)
{
    switch (tab) {
    case TTableTab::Operators:
        return sgOperKeyPress;
    case TTableTab::Goods:
        return SGBaseKeyPress;
    case TTableTab::Groups:
        return sgUslKeyPress;
    case TTableTab::Cliche:
        return sgKlKeyPress;
    case TTableTab::Agents:
        break;
    }
    return sgAgentsKeyPress;
}

// How a cell is edited: typed text, a list, or not at all.
enum class TKind { Text, List, Fixed };

TKind KindOf(TTableTab tab, int col, int row, const TCellTexts &cells, const QStringList **list)
{
    const QVector<TGridColumn> &columns = GridColumnsOf(tab);
    if (row < 1 || row > TabLayout(tab).maximum || col < 1 || col >= columns.size() ||
        columns[col].width < 0)
        return TKind::Fixed;
    const bool fontColumn =
        tab == TTableTab::Operators ? (col == 2 || col == 4 || col == 6) : col == 2;
    if (fontColumn) {
        *list = &GridTexts::FontList();
        return tab == TTableTab::Agents && row == kAgentTaxpayerRow ? TKind::Fixed : TKind::List;
    }
    if (tab != TTableTab::Groups || col == 1)
        return TKind::Text;
    if (col == GroupColumn::Sign)
        *list = &GridTexts::SignList();
    else if (col == GroupColumn::TaxSystem)
        *list = &GridTexts::TaxSystemList();
    else if (col == GroupColumn::Vat &&
             !IsVatExemptSign(cells ? cells(GroupColumn::Sign, row) : QString()))
        *list = &GridTexts::VatList();
    return *list ? TKind::List : TKind::Fixed;
}

std::optional<QString> Typed(TTableTab tab, int col, int row, const QString &value,
                             const TCellTexts &cells)
{
    const TKeyPress filter = KeyPressOf(tab);
    QString text;
    for (QChar c : value) {
        const QChar out = c.isPrint() ? filter(cells, col, row, c, text) : QChar();
        if (out.isNull())
            return std::nullopt;
        text.append(out);
    }
    if (tab == TTableTab::Goods && col == 4 && !PriceTextAcceptable(text))
        return std::nullopt;
    return text;
}

bool IsDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

std::optional<QString> ListEntryOf(const QStringList &entries, const QString &text)
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    for (const QString &entry : entries)
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return entry;
    if (!IsDigits(wanted) || wanted.size() > 4)
        return std::nullopt;
    const int code = wanted.toInt();
    if (entries == GridTexts::FontList())
        return code <= 1 && wanted.size() == 1 ? std::optional<QString>(entries[code])
                                               : std::nullopt;
    for (const QString &entry : entries) {
        const QString lead = entry.section(QStringLiteral(" - "), 0, 0);
        if (IsDigits(lead) && lead.toInt() == code)
            return entry;
    }
    return std::nullopt;
}

bool IsVatExemptSign(const QString &signCell)
{
    const QStringList &signs = GridTexts::SignList();
    return signCell == signs[5] || signCell == signs[6];
}

std::optional<QString> CellValueAsTyped(TTableTab tab, int col, int row, const QString &value,
                                        const TCellTexts &cells)
{
    const QStringList *list = nullptr;
    const bool password = tab == TTableTab::Operators && col == kPasswordColumn;
    const QString text = password ? value : value.trimmed();
    switch (KindOf(tab, col, row, cells, &list)) {
    case TKind::Text:
        return Typed(tab, col, row, text, cells);
    case TKind::List:
        return ListEntryOf(*list, text);
    case TKind::Fixed:
        break;
    }
    const QString held = cells ? cells(col, row) : QString();
    return text == held ? std::optional<QString>(held) : std::nullopt;
}
