#include "tablelayout.h"

const TTabLayout &TabLayout(TTableTab tab)
{
    static const TTabLayout layouts[kTableTabCount] = {
        {"sgOper", "Edit1", "Edit2", kOperatorCount, 5,
         QStringLiteral(") при записи оператора с номером "),
         QStringLiteral(") при чтении оператора с номером "), QStringLiteral("оператор")},
        {"SGBase", "Edit3", "Edit4", kGoodsItemCount, 1,
         QStringLiteral(") при записи базы. Товар номер "),
         QStringLiteral(") при чтении базы. Товар номер "), QStringLiteral("товар")},
        {"sgUsl", "Edit5", "Edit6", kGroupCount, 2,
         QStringLiteral(") при записи признака предмета расчета с номером "),
         QStringLiteral(") при чтении признака предмета расчета с номером "),
         QStringLiteral("группа")},
        {"sgKl", "Edit7", "Edit8", kClicheLineCount, 1,
         QStringLiteral(") при записи строки клише с номером "),
         QStringLiteral(") при чтении строки клише с номером "), QStringLiteral("строка клише")},
        {"sgAgents", "Edit9", "Edit10", kAgentParamCount, 1,
         QStringLiteral(") при записи строки параметра агента с номером "),
         QStringLiteral(") при чтении строки параметра агента с номером "),
         QStringLiteral("параметр агента")},
    };
    return layouts[int(tab)];
}

bool IsTableTab(int index)
{
    return index >= 0 && index < kTableTabCount;
}

TFieldAddress FieldAddress(TTableTab tab, int record, int fieldIndex)
{
    switch (tab) {
    case TTableTab::Operators:
        return {0, quint8(record), quint8(fieldIndex)};
    case TTableTab::Groups:
        return {2, quint8(record), quint8(fieldIndex)};
    case TTableTab::Cliche:
        return {4, 1, quint8(record - 1)};
    case TTableTab::Agents:
        // Lines 6-9 are the four lines of one address, 10-11 the two lines of one name.
        if (record >= 6 && record <= 9)
            return {6, 6, quint8(record - 6)};
        if (record == 10 || record == 11)
            return {6, 7, quint8(record - 10)};
        if (record == 12)
            return {6, 8, 0};
        return {6, quint8(record), 0};
    case TTableTab::Goods:
        break;
    }
    return {};
}

TFieldCells FieldCells(TTableTab tab, int fieldIndex)
{
    if (tab == TTableTab::Operators) {
        // Position, surname line 1 and line 2 each have a font; password and INN have none.
        static const TFieldCells operatorCells[5] = {
            {1, 2, false}, {3, 4, false}, {5, 6, false}, {7, -1, false}, {8, -1, false}};
        return operatorCells[qBound(0, fieldIndex, 4)];
    }
    if (tab == TTableTab::Groups && fieldIndex == 1)
        return {3, -1, true};
    return {1, 2, false};
}

QString ExchangeErrorText(int code, const QString &fragment, int record)
{
    return QStringLiteral("Внимание!\r\nОшибка (") + QString::number(code) + fragment +
           QString::number(record) + QStringLiteral(" !");
}
