// The key filters of the tables grids and the range edits, without widgets: a typed sequence
// goes through a filter key by key, as the grid's editor would feed it.

#include "cellfilters.h"

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
};

QTEST_APPLESS_MAIN(TestCellFilters)
#include "tst_cellfilters.moc"
