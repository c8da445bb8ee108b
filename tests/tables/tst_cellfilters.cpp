// The key filters of the tables grids and the range edits, without widgets: a typed sequence
// goes through a filter key by key, as the grid's editor would feed it; a pasted value goes
// into a cell as a whole by the same rules.

#include "cellfilters.h"
#include "cellvalue.h"

#include <QHash>
#include <QTest>

namespace
{

const QString kNarrow = QStringLiteral("Узкий");
const QString kWide = QStringLiteral("Широкий");

using TGridFilter = QChar (*)(const TCellTexts &, int, int, QChar, const QString &);

// Types keys into a cell holding start; '\b' is Backspace. Other cells come from `cells`.
QString Type(TGridFilter filter, int col, int row, const QString &start, const QString &keys,
             const QHash<QPair<int, int>, QString> &cells)
{
    const TCellTexts lookup = [&cells](int c, int r) { return cells.value({c, r}); };
    QString text = start;
    for (QChar key : keys) {
        const QChar out = filter(lookup, col, row, key, text);
        if (out.isNull())
            continue;
        if (out == QChar(8))
            text.chop(1);
        else
            text.append(out);
    }
    return text;
}

struct TGrid {
    const char *name;
    TGridFilter filter;
};

const TGrid kGrids[] = {{"sgOper", sgOperKeyPress},
                        {"SGBase", SGBaseKeyPress},
                        {"sgUsl", sgUslKeyPress},
                        {"sgKl", sgKlKeyPress},
                        {"sgAgents", sgAgentsKeyPress}};

TGridFilter GridNamed(const QString &name)
{
    for (const TGrid &g : kGrids)
        if (name == QLatin1String(g.name))
            return g.filter;
    return nullptr;
}

} // namespace

using TCellMap = QHash<QPair<int, int>, QString>;
Q_DECLARE_METATYPE(TCellMap)

class TestCellFilters : public QObject
{
    Q_OBJECT

private slots:
    void gridKeys_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<TCellMap>("cells");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("result");

        const QString n24 = QString(24, 'N');
        const QString n20 = QString(20, 'N');
        // Goods names: 24 characters in the narrow font, 12 in the wide one.
        QTest::newRow("goods name narrow: 25th refused")
            << "SGBase" << 1 << 7 << TCellMap{{{2, 7}, kNarrow}} << QString(24, 'A') << "Bb"
            << QString(24, 'A');
        QTest::newRow("goods name narrow: backspace at the limit")
            << "SGBase" << 1 << 7 << TCellMap{{{2, 7}, kNarrow}} << QString(24, 'A') << "\bq"
            << QString(23, 'A') + "Q";
        QTest::newRow("goods name wide: 13th refused")
            << "SGBase" << 1 << 7 << TCellMap{{{2, 7}, kWide}} << QString() << "abcdefghijklmn"
            << "ABCDEFGHIJKL";
        QTest::newRow("font of another row does not count")
            << "SGBase" << 1 << 7 << TCellMap{{{2, 7}, kWide}, {{2, 8}, kNarrow}}
            << QString(12, 'A') << "b" << QString(12, 'A');
        QTest::newRow("empty font cell counts as wide")
            << "SGBase" << 1 << 3 << TCellMap{} << QString(12, 'A') << "b" << QString(12, 'A');
        QTest::newRow("wide font leaves a long name alone, refuses more until short")
            << "SGBase" << 1 << 1 << TCellMap{{{2, 1}, kWide}} << n20 << "x\b\b\b\b\b\b\b\b\bxy"
            << QString(11, 'N') + "X";
        QTest::newRow("upper case Latin and Cyrillic, ё")
            << "SGBase" << 1 << 1 << TCellMap{{{2, 1}, kNarrow}} << QString() << "abc ёжz 1,"
            << "ABC ЁЖZ 1,";
        QTest::newRow("barcode: letters refused, 14th digit refused")
            << "SGBase" << 3 << 1 << TCellMap{} << QString() << "46a0000000000b99"
            << "4600000000009";
        QTest::newRow("department: third digit refused")
            << "SGBase" << 5 << 1 << TCellMap{} << QString() << "123"
            << "12";
        QTest::newRow("price 12.50") << "SGBase" << 4 << 1 << TCellMap{} << QString() << "12.50"
                                     << "12.50";
        QTest::newRow("price: second point refused")
            << "SGBase" << 4 << 1 << TCellMap{} << QString() << "1.2.5"
            << "1.25";
        QTest::newRow("price: point first") << "SGBase" << 4 << 1 << TCellMap{} << QString() << ".5"
                                            << ".5";
        QTest::newRow("price: letters refused, a comma is the point")
            << "SGBase" << 4 << 1 << TCellMap{} << QString() << "1a,2"
            << "1.2";
        QTest::newRow("price: a comma after the point refused")
            << "SGBase" << 4 << 1 << TCellMap{} << QString() << "12,5,0"
            << "12.50";
        QTest::newRow("price: 14th character refused")
            << "SGBase" << 4 << 1 << TCellMap{} << QString() << "1234567890.1234"
            << "1234567890.12";
        QTest::newRow("price: point after deleting the first one")
            << "SGBase" << 4 << 1 << TCellMap{} << "1."
            << "\b.5"
            << "1.5";
        // Operators: three text columns each with the font to its right.
        QTest::newRow("oper position follows column 2")
            << "sgOper" << 1 << 2 << TCellMap{{{2, 2}, kWide}, {{4, 2}, kNarrow}} << n24.left(12)
            << "a" << n24.left(12);
        QTest::newRow("oper surname 1 follows column 4")
            << "sgOper" << 3 << 2 << TCellMap{{{2, 2}, kNarrow}, {{4, 2}, kWide}} << n24.left(12)
            << "a" << n24.left(12);
        QTest::newRow("oper surname 2 follows column 6")
            << "sgOper" << 5 << 2 << TCellMap{{{4, 2}, kWide}, {{6, 2}, kNarrow}} << n24.left(12)
            << "a" << n24.left(12) + "A";
        QTest::newRow("oper password as typed, no limit")
            << "sgOper" << 7 << 1 << TCellMap{} << QString(30, 'x') << "aБ!"
            << QString(30, 'x') + "aБ!";
        QTest::newRow("oper taxpayer number: 13th digit refused")
            << "sgOper" << 8 << 1 << TCellMap{} << QString() << "12345678901a23"
            << "123456789012";
        // Groups and cliche: the text rule in column 1 only.
        QTest::newRow("group name wide")
            << "sgUsl" << 1 << 4 << TCellMap{{{2, 4}, kWide}} << QString() << "абвгдеёжзийкл"
            << "АБВГДЕЁЖЗИЙК";
        QTest::newRow("cliche line narrow") << "sgKl" << 1 << 21 << TCellMap{{{2, 21}, kNarrow}}
                                            << QString(23, 'A') << "bc" << QString(23, 'A') + "B";
        // Agents: upper case everywhere, row 5 digits only.
        QTest::newRow("agents value upper case, wide limit")
            << "sgAgents" << 1 << 1 << TCellMap{{{2, 1}, kWide}} << QString() << "телефон 8-900"
            << "ТЕЛЕФОН 8-90";
        QTest::newRow("agents row 5: letters refused, 13th digit refused")
            << "sgAgents" << 1 << 5 << TCellMap{{{2, 5}, kNarrow}} << QString() << "77a0123456789"
            << "770123456789";
        QTest::newRow("agents row 12 narrow")
            << "sgAgents" << 1 << 12 << TCellMap{{{2, 12}, kNarrow}} << QString(24, 'A') << "b"
            << QString(24, 'A');
    }

    void gridKeys()
    {
        QFETCH(QString, grid);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(TCellMap, cells);
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, result);
        QCOMPARE(Type(GridNamed(grid), col, row, start, keys, cells), result);
    }

    void backspaceAlwaysPasses_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        for (const TGrid &g : kGrids)
            for (int col = 1; col <= 8; ++col)
                QTest::addRow("%s col %d", g.name, col) << QString(g.name) << col << 5;
    }

    void backspaceAlwaysPasses()
    {
        QFETCH(QString, grid);
        QFETCH(int, col);
        QFETCH(int, row);
        const TCellTexts cells = [](int, int) { return kWide; };
        QCOMPARE(GridNamed(grid)(cells, col, row, QChar(8), QString(40, '9')), QChar(8));
    }

    void rules()
    {
        QCOMPARE(TextLimitForFont(kNarrow), 24);
        QCOMPARE(TextLimitForFont(kWide), 12);
        QCOMPARE(TextLimitForFont("узкий"), 12);
        QCOMPARE(UpperKey(QChar(0x0451)), QChar(0x0401)); // ё
        QCOMPARE(UpperKey(QChar(0x00E9)), QChar(0x00E9)); // é has no capital in the code page
        QCOMPARE(UpperKey('7'), QChar('7'));
        // At the limit, typing over a selection is refused too: the whole text counts.
        QVERIFY(TextRuleKey('a', QString(24, 'A'), kNarrow).isNull());
        QVERIFY(DigitsRuleKey('1', "12", 2).isNull());
        QVERIFY(PriceRuleKey('1', QString(13, '1')).isNull());
    }

    void rangeEditsTakeDigitsAndBackspaceOnly()
    {
        for (char c : QByteArray("0123456789"))
            QCOMPARE(Edit1KeyPress(QLatin1Char(c)), QChar(c));
        QCOMPARE(Edit1KeyPress(QChar(8)), QChar(8));
        for (QChar c : QString("a-.+ Я\t"))
            QVERIFY(Edit1KeyPress(c).isNull());
    }

    void groupsVatColumnSwallowsNavigation_data()
    {
        QTest::addColumn<int>("uslCol");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("swallowed");
        const int navigation[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                                  Qt::Key_Insert, Qt::Key_Delete};
        for (int key : navigation) {
            QTest::addRow("VAT column key %x", key) << 4 << key << true;
            QTest::addRow("sign column key %x", key) << 3 << key << false;
        }
        // Tab and Shift+Tab always leave the cell.
        QTest::newRow("VAT column Tab") << 4 << int(Qt::Key_Tab) << false;
        QTest::newRow("VAT column Shift+Tab") << 4 << int(Qt::Key_Backtab) << false;
        QTest::newRow("typed letter") << 4 << int(Qt::Key_A) << false;
        QTest::newRow("typed digit") << 4 << int(Qt::Key_5) << false;
        QTest::newRow("backspace") << 4 << int(Qt::Key_Backspace) << false;
    }

    void groupsVatColumnSwallowsNavigation()
    {
        QFETCH(int, uslCol);
        QFETCH(int, key);
        QFETCH(bool, swallowed);
        QCOMPARE(sgUslKeyDown(uslCol, key), swallowed);
    }

    // One row per kind of cell: what a pasted value leaves in it; "-" refused (the cell stays).
    void pastedValues_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<TCellMap>("cells");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("result");

        const TCellMap narrow{{{2, 4}, kNarrow}};
        const TCellMap wide{{{2, 4}, kWide}};
        const QString vat18 = QStringLiteral("1 - Ставка НДС 18%");
        const QString sign05 =
            QStringLiteral("05 - УСЛУГА, с признаком \"банковский платежный агент\"");
        const TCellMap agentSign{{{3, 4}, sign05}, {{4, 4}, QStringLiteral("НДС не облагается")}};
        const int oper = 0, goods = 1, groups = 2, cliche = 3, agents = 4;
        QTest::newRow("name: upper case, blanks around dropped")
            << goods << 1 << 4 << narrow << " молоко 3,2% "
            << "МОЛОКО 3,2%";
        QTest::newRow("name: 24 in the narrow font")
            << goods << 1 << 4 << narrow << QString(24, 'a') << QString(24, 'A');
        QTest::newRow("name: 25 refused") << goods << 1 << 4 << narrow << QString(25, 'a') << "-";
        QTest::newRow("name: 13 refused in the wide font")
            << goods << 1 << 4 << wide << QString(13, 'a') << "-";
        QTest::newRow("name: empty empties") << goods << 1 << 4 << narrow << ""
                                             << "";
        QTest::newRow("name: a tab inside refused") << cliche << 1 << 4 << narrow << "a\tb"
                                                    << "-";
        QTest::newRow("barcode: 13 digits") << goods << 3 << 4 << narrow << "4600000000017"
                                            << "4600000000017";
        QTest::newRow("barcode: 14 digits refused") << goods << 3 << 4 << narrow << "46000000000170"
                                                    << "-";
        QTest::newRow("barcode: a letter refused") << goods << 3 << 4 << narrow << "46a"
                                                   << "-";
        QTest::newRow("price: comma to point") << goods << 4 << 4 << narrow << "12,5"
                                               << "12.5";
        QTest::newRow("price: three decimals refused") << goods << 4 << 4 << narrow << "12.345"
                                                       << "-";
        QTest::newRow("price: two points refused") << goods << 4 << 4 << narrow << "1.2.3"
                                                   << "-";
        QTest::newRow("price: 14 characters refused")
            << goods << 4 << 4 << narrow << "12345678901234"
            << "-";
        QTest::newRow("department: 2 digits") << goods << 5 << 4 << narrow << "07"
                                              << "07";
        QTest::newRow("department: 3 refused") << goods << 5 << 4 << narrow << "100"
                                               << "-";
        QTest::newRow("font: entry, case aside") << goods << 2 << 4 << narrow << "широкий" << kWide;
        QTest::newRow("font: flag 0") << cliche << 2 << 4 << wide << "0" << kNarrow;
        QTest::newRow("font: flag 1") << oper << 4 << 4 << narrow << "1" << kWide;
        QTest::newRow("font: other text refused") << goods << 2 << 4 << narrow << "2"
                                                  << "-";
        QTest::newRow("font: empty refused") << goods << 2 << 4 << narrow << ""
                                             << "-";
        QTest::newRow("sign: code 5") << groups << 3 << 4 << narrow << "5" << sign05;
        QTest::newRow("sign: code 12 refused") << groups << 3 << 4 << narrow << "12"
                                               << "-";
        QTest::newRow("VAT: code") << groups << 4 << 4 << narrow << "1" << vat18;
        QTest::newRow("VAT: whole entry") << groups << 4 << 4 << narrow << vat18 << vat18;
        QTest::newRow("VAT: another text refused")
            << groups << 4 << 4 << narrow << "1 - Ставка НДС 20%"
            << "-";
        QTest::newRow("VAT beside sign 05: no entry taken") << groups << 4 << 4 << agentSign << "1"
                                                            << "-";
        QTest::newRow("VAT beside sign 05: its own text")
            << groups << 4 << 4 << agentSign << "НДС не облагается"
            << "НДС не облагается";
        QTest::newRow("tax system: code") << groups << 5 << 4 << narrow << "6"
                                          << "6 - Патентная система налогообложения";
        QTest::newRow("hidden column refused") << groups << 6 << 4 << narrow << "x"
                                               << "-";
        QTest::newRow("password: as it is") << oper << 7 << 4 << narrow << " пароль "
                                            << " пароль ";
        QTest::newRow("taxpayer: 13 digits refused") << oper << 8 << 4 << narrow << "1234567890123"
                                                     << "-";
        QTest::newRow("agent: upper case") << agents << 1 << 4 << narrow << "тел"
                                           << "ТЕЛ";
        QTest::newRow("agent taxpayer: letters refused") << agents << 1 << 5 << narrow << "12a"
                                                         << "-";
        QTest::newRow("agent taxpayer's font: no list")
            << agents << 2 << 5 << TCellMap{{{2, 5}, kNarrow}} << kWide << "-";
        QTest::newRow("fixed column refused") << goods << 0 << 4 << narrow << "1"
                                              << "-";
        QTest::newRow("row past the goods refused") << goods << 1 << 6001 << narrow << "A"
                                                    << "-";
    }

    void pastedValues()
    {
        QFETCH(int, tab);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(TCellMap, cells);
        QFETCH(QString, value);
        QFETCH(QString, result);
        const TCellTexts lookup = [&cells](int c, int r) { return cells.value({c, r}); };
        const std::optional<QString> taken =
            CellValueAsTyped(TTableTab(tab), col, row, value, lookup);
        QCOMPARE(taken.value_or(QStringLiteral("-")), result);
    }
};

QTEST_APPLESS_MAIN(TestCellFilters)
#include "tst_cellfilters.moc"
