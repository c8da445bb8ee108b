// What the session knows a register holds, and where the register differs from a grid.
#include "goodsrecord.h"
#include "registermirror.h"
#include "registershown.h"
#include "tabledifferences.h"

#include <QtTest>

namespace
{

const TRegisterId kCom3{QStringLiteral("COM3"), 0};

// Goods item 1 as a read fills it.
TTableTexts ReadItem()
{
    TTableTexts cells;
    const TTableTab goods = TTableTab::Goods;
    cells.SetCell(goods, GoodsColumn::Name, 1, QStringLiteral("КОФЕ"));
    cells.SetCell(goods, GoodsColumn::Font, 1, QStringLiteral("Узкий"));
    cells.SetCell(goods, GoodsColumn::Barcode, 1, QStringLiteral("460"));
    cells.SetCell(goods, GoodsColumn::Price, 1, QStringLiteral("12.50"));
    cells.SetCell(goods, GoodsColumn::Department, 1, QStringLiteral("3"));
    return cells;
}

} // namespace

class TestRegisterMirror : public QObject
{
    Q_OBJECT
private slots:
    void changedAsTheRegisterShowsCells_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");
        QTest::newRow("same") << int(GoodsColumn::Name) << "КОФЕ" << false;
        QTest::newRow("small letters go up as capitals")
            << int(GoodsColumn::Name) << "кофе" << false;
        QTest::newRow("another name") << int(GoodsColumn::Name) << "ЧАЙ" << true;
        QTest::newRow("price without kopecks") << int(GoodsColumn::Price) << "12.5" << false;
        QTest::newRow("third decimal is not sent") << int(GoodsColumn::Price) << "12.509" << false;
        QTest::newRow("another price") << int(GoodsColumn::Price) << "12.51" << true;
        QTest::newRow("barcode with leading zeros") << int(GoodsColumn::Barcode) << "0460" << false;
        QTest::newRow("empty department sends 0") << int(GoodsColumn::Department) << "" << true;
        QTest::newRow("wide font") << int(GoodsColumn::Font) << "Широкий" << true;
    }
    void changedAsTheRegisterShowsCells()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(bool, changed);
        TRegisterMirror mirror;
        TTableTexts grid = ReadItem();
        mirror.Learn(kCom3, TTableTab::Goods, 1, grid);
        grid.SetCell(TTableTab::Goods, col, 1, text);
        QCOMPARE(mirror.Changed(kCom3, TTableTab::Goods, 1, grid), changed);
        QCOMPARE(mirror.ChangedRecords(kCom3, TTableTab::Goods, 1, 2, grid),
                 changed ? (QList<int>{1, 2}) : (QList<int>{2}));
    }

    void whatCountsAsUnknown()
    {
        const auto kUnknown = TRegisterMirror::TState::Unknown;
        TRegisterMirror mirror;
        const TTableTexts grid = ReadItem();
        QCOMPARE(mirror.State(kCom3, TTableTab::Goods, 1, grid), kUnknown); // nothing learnt yet
        mirror.Learn(kCom3, TTableTab::Goods, 1, grid);
        QVERIFY(!mirror.Changed(kCom3, TTableTab::Goods, 1, grid));
        // Another port, another device number on the same port, another table.
        QCOMPARE(mirror.State({QStringLiteral("COM4"), 0}, TTableTab::Goods, 1, grid), kUnknown);
        QCOMPARE(mirror.State({QStringLiteral("COM3"), 1}, TTableTab::Goods, 1, grid), kUnknown);
        QCOMPARE(mirror.State(kCom3, TTableTab::Operators, 1, grid), kUnknown);
        // Learning about another register leaves this one's knowledge alone.
        mirror.Learn({QStringLiteral("COM4"), 0}, TTableTab::Goods, 1, TTableTexts());
        QVERIFY(!mirror.Changed(kCom3, TTableTab::Goods, 1, grid));
        mirror.Forget(kCom3, TTableTab::Goods, 1);
        QCOMPARE(mirror.State(kCom3, TTableTab::Goods, 1, grid), kUnknown);
        mirror.Learn(kCom3, TTableTab::Goods, 1, grid);
        mirror.ForgetTab(kCom3, TTableTab::Goods);
        QCOMPARE(mirror.State(kCom3, TTableTab::Goods, 1, grid), kUnknown);
        // Records outside the table are never learnt.
        mirror.Learn(kCom3, TTableTab::Operators, 7, grid);
        QCOMPARE(mirror.State(kCom3, TTableTab::Operators, 7, grid), kUnknown);
    }

    void groupCodesFollowFromAllThreeCells()
    {
        // A sign of the list with a VAT text that is no entry: the register gets VAT code 0,
        // which a read shows as no entry.
        const TTableTab groups = TTableTab::Groups;
        const QString sign = QStringLiteral("03 - РАБОТА");
        TTableTexts grid;
        grid.SetCell(groups, 3, 1, sign);
        grid.SetCell(groups, 4, 1, QStringLiteral("НДС 99%"));
        QCOMPARE(RegisterShown(grid, groups, 3, 1), sign);
        QCOMPARE(RegisterShown(grid, groups, 4, 1), QString());
        // Without a sign of the list the group is never sent: its cells stand.
        grid.SetCell(groups, 3, 1, QStringLiteral("нет такого"));
        QCOMPARE(RegisterShown(grid, groups, 4, 1), QStringLiteral("НДС 99%"));
    }

    void differencesListOnlyFieldsTheRegisterHoldsOtherwise()
    {
        const TTableTab goods = TTableTab::Goods;
        const TTableTexts read = ReadItem();
        TTableTexts grid = ReadItem();
        grid.SetCell(goods, GoodsColumn::Name, 1, QStringLiteral("кофе")); // the same there
        grid.SetCell(goods, GoodsColumn::Price, 1, QStringLiteral("13.00"));
        const QList<TTableDifference> differences = TableDifferences(goods, 1, 1, grid, read);
        QCOMPARE(differences,
                 (QList<TTableDifference>{{1, GoodsColumn::Price, QStringLiteral("13.00"),
                                           QStringLiteral("12.50"), QStringLiteral("13.00")}}));
    }
};

QTEST_GUILESS_MAIN(TestRegisterMirror)
#include "tst_registermirror.moc"
