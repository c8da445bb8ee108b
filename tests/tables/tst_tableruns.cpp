// The tables runs without windows: cells in a map, the register on a pseudo-terminal.
#include "registerfixture.h"
#include "tableruns.h"

#include <QHash>
#include <QTest>

#include <functional>

namespace
{

// Cells keyed by tab, column and row; an absent cell reads empty.
class TMapCells : public TTableCells
{
public:
    QString Cell(TTableTab tab, int col, int row) const override
    {
        return cells.value(Key(tab, col, row));
    }
    void SetCell(TTableTab tab, int col, int row, const QString &text) override
    {
        cells.insert(Key(tab, col, row), text);
    }
    static QString Key(TTableTab tab, int col, int row)
    {
        return QStringLiteral("%1/%2/%3").arg(int(tab)).arg(col).arg(row);
    }
    QHash<QString, QString> cells;
};

const QString kNarrow = QStringLiteral("Узкий");
const QString kWide = QStringLiteral("Широкий");

} // namespace

class TestTableRuns : public QObject
{
    Q_OBJECT
private:
    TRegisterFixture r;
    TStructSetting &settings = r.settings;

private slots:
    void init() { QVERIFY2(r.Reset(), qPrintable(r.ErrorText())); }

    // What is written to each tab reads back the same, through other cells.
    void writtenTabsReadBack_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QList<QList<QVariant>>>("cells"); // col, row, text
        using L = QList<QList<QVariant>>;
        QTest::newRow("operators")
            << 0 << L{{1, 2, "КАССИР"}, {2, 2, kWide},   {3, 2, "ИВАНОВ"}, {4, 2, kNarrow},
                      {5, 2, ""},       {6, 2, kNarrow}, {7, 2, "1234"},   {8, 2, "770123456789"}};
        QTest::newRow("goods") << 1
                               << L{{1, 2, "МОЛОКО"},
                                    {2, 2, kNarrow},
                                    {3, 2, "4600000000001"},
                                    {4, 2, "12.50"},
                                    {5, 2, "3"}};
        QTest::newRow("groups") << 2
                                << L{{1, 2, "УСЛУГИ"},
                                     {2, 2, kWide},
                                     {3, 2, "04 - УСЛУГА"},
                                     {4, 2, "2 - Ставка НДС 10%"},
                                     {5, 2, "2 - Упрощенная доход"}};
        QTest::newRow("cliche") << 3 << L{{1, 2, "ООО РОМАШКА"}, {2, 2, kWide}};
        QTest::newRow("agents") << 4 << L{{1, 2, "+79001234567"}, {2, 2, kNarrow}};
    }

    void writtenTabsReadBack()
    {
        QFETCH(int, tab);
        QFETCH(QList<QList<QVariant>>, cells);
        const auto t = TTableTab(tab);
        TMapCells source;
        for (const QList<QVariant> &c : cells)
            source.SetCell(t, c[0].toInt(), c[1].toInt(), c[2].toString());
        QVERIFY(WriteTables(t, 2, 2, source, settings).Done());
        TMapCells sink;
        QVERIFY(ReadTables(t, 2, 2, sink, settings).Done());
        for (const QList<QVariant> &c : cells)
            QCOMPARE(sink.Cell(t, c[0].toInt(), c[1].toInt()), c[2].toString());
    }

    // A failed exchange ends the run with its code and record, and the message of the windows.
    void failureIsAValue()
    {
        TMapCells cells;
        r.Engine().AnswerStatusAt(2, 0x7F);
        const TTableRunResult written = WriteTables(TTableTab::Goods, 10, 20, cells, settings);
        QCOMPARE(int(written.outcome), int(TTableRunResult::TOutcome::Failed));
        QCOMPARE(written.code, quint8(0x7F));
        QCOMPARE(written.record, 11);
        QCOMPARE(r.Engine().ReceivedCount(), 2);
        QCOMPARE(TableRunMessage(TTableTab::Goods, true, written),
                 QStringLiteral("Внимание!\r\nОшибка (127) при записи базы. Товар номер 11 !"));
        settings.Port.Name = QStringLiteral("/dev/no-such-port-kkt");
        const TTableRunResult read = ReadTables(TTableTab::Cliche, 1, 21, cells, settings);
        QCOMPARE(read.code, quint8(1));
        QCOMPARE(read.record, 1);
        QVERIFY(cells.cells.isEmpty());
    }

    // The observer sees every exchange and can end the run after any of them; what was read
    // stays, the rest is not asked for.
    void observerStopsAfterTheCurrentExchange()
    {
        TMapCells cells;
        TStopAfter stop(3);
        const TTableRunResult result =
            ReadTables(TTableTab::Operators, 2, 6, cells, settings, &stop);
        QCOMPARE(int(result.outcome), int(TTableRunResult::TOutcome::Stopped));
        QCOMPARE(result.record, 2);
        QCOMPARE(r.Engine().ReceivedCount(), 3);
        // Five fields an operator, five operators.
        QCOMPARE(stop.seen, (QList<QList<qint64>>{{1, 25, 2}, {2, 25, 2}, {3, 25, 2}}));
        QVERIFY(cells.cells.contains(TMapCells::Key(TTableTab::Operators, 6, 2))); // third field
        QVERIFY(!cells.cells.contains(TMapCells::Key(TTableTab::Operators, 7, 2)));
    }

    void groupWithoutPaymentItemSendsNothingOfIt()
    {
        TMapCells cells;
        cells.SetCell(TTableTab::Groups, 3, 1, QStringLiteral("04 - УСЛУГА"));
        cells.SetCell(TTableTab::Groups, 3, 2, QStringLiteral("посторонний текст"));
        const TTableRunResult result = WriteTables(TTableTab::Groups, 1, 2, cells, settings);
        QCOMPARE(int(result.outcome), int(TTableRunResult::TOutcome::NoPaymentItem));
        QCOMPARE(result.record, 2);
        QCOMPARE(r.Engine().ReceivedCount(), 2); // both fields of group 1
        QCOMPARE(TableRunMessage(TTableTab::Groups, true, result),
                 QStringLiteral("ВНИМАНИЕ!\r\nНе выбран признак предмета расчета в строке 2!"));
    }

    void clearingTakesItsOwnTimeOut()
    {
        TEmulatorItem item;
        item.price = 100;
        QVERIFY(r.Engine().SetItem(5, item));
        QCOMPARE(ClearGoods(settings), quint8(0));
        QCOMPARE(r.Engine().Item(5)->price, quint64(0));
        r.Engine().StaySilent(10);
        QCOMPARE(ClearGoods(settings, 50), quint8(2));
    }
};

QTEST_GUILESS_MAIN(TestTableRuns)
#include "tst_tableruns.moc"
