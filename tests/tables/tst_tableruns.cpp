// The tables runs without windows: cells in a map, the register on a pseudo-terminal; what goes
// to the register and what a read fills, its failures and its stops.
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

TEmulatorItem Item(const QByteArray &name, char font, quint64 barcode, quint64 price,
                   quint8 department)
{
    TEmulatorItem item;
    item.name = Padded(name);
    item.font = quint8(font);
    item.barcode = barcode;
    item.price = price;
    item.department = department;
    return item;
}

TEmulatorField Field(const QByteArray &text, char attribute)
{
    return TEmulatorField{quint8(attribute), Padded(text)};
}

// Columns 1.. of a record as a run left them.
QStringList RecordCells(const TMapCells &cells, TTableTab tab, int row, int columns)
{
    QStringList texts;
    for (int col = 1; col <= columns; ++col)
        texts.append(cells.Cell(tab, col, row));
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(TEmulatorItem)

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

    // The fields of each record go in order, addressed as the register keeps them; texts as
    // device text in capitals, with their font flags (the password and taxpayer number narrow).
    void writeRequestsOfOperatorsClicheAndAgents()
    {
        TMapCells cells;
        const TTableTab oper = TTableTab::Operators;
        cells.SetCell(oper, 1, 1, QStringLiteral("кофе"));
        cells.SetCell(oper, 2, 1, kWide);
        cells.SetCell(oper, 3, 2, QStringLiteral("IVANOV"));
        cells.SetCell(oper, 4, 2, kNarrow);
        cells.SetCell(oper, 7, 6, QStringLiteral("123"));
        cells.SetCell(oper, 8, 6, QStringLiteral("771234567890"));
        QVERIFY(WriteTables(oper, 1, 6, cells, settings).Done());
        QList<TRequest> requests = r.Requests();
        QCOMPARE(requests.size(), 30);
        for (int i = 0; i < 30; ++i) {
            QCOMPARE((QList<int>{requests[i].letter, requests[i].mode, requests[i].table,
                                 requests[i].row, requests[i].field}),
                     (QList<int>{'p', 0, 0, i / 5 + 1, i % 5}));
        }
        QCOMPARE(requests[0].text, QByteArray("\x6B\x6F\x66\x65")); // К О Ф Е
        QCOMPARE(requests[0].attribute, int('1'));
        QCOMPARE(requests[5 + 1].text, QByteArray("IVANOV"));
        QCOMPARE(requests[5 + 1].attribute, int('0'));
        QCOMPARE(requests[25 + 3].text, QByteArray("123"));
        QCOMPARE(requests[25 + 3].attribute, int('0'));
        QCOMPARE(requests[25 + 4].attribute, int('0'));
        QCOMPARE(r.Engine().Field(0, 6, 4)->text, Padded("771234567890"));

        r.Engine().ClearReceivedRequests();
        cells.SetCell(TTableTab::Cliche, 1, 21, QStringLiteral("WWW.NALOG.RU"));
        QVERIFY(WriteTables(TTableTab::Cliche, 21, 21, cells, settings).Done());
        requests = r.Requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE((QList<int>{requests[0].table, requests[0].row, requests[0].field}),
                 (QList<int>{4, 1, 20}));
        QCOMPARE(r.Engine().Field(4, 1, 20)->text, Padded("WWW.NALOG.RU"));

        r.Engine().ClearReceivedRequests();
        QVERIFY(WriteTables(TTableTab::Agents, 1, 12, cells, settings).Done());
        requests = r.Requests();
        QCOMPARE(requests.size(), 12);
        const int rows[] = {1, 2, 3, 4, 5, 6, 6, 6, 6, 7, 7, 8};
        const int fields[] = {0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 1, 0};
        for (int line = 0; line < 12; ++line)
            QCOMPARE((QList<int>{requests[line].table, requests[line].row, requests[line].field}),
                     (QList<int>{6, rows[line], fields[line]}));
    }

    // A goods item's cells as the register stores them.
    void goodsItemConversions_data()
    {
        QTest::addColumn<QStringList>("cells"); // name, font, barcode, price, department
        QTest::addColumn<TEmulatorItem>("stored");
        QTest::newRow("capitals, wide, kopecks, low byte of the department")
            << QStringList{"кофе", kWide, "", "12.5", "300"}
            << Item("\x6B\x6F\x66\x65", '1', 0, 1250, 44);
        QTest::newRow("barcode, price without roubles")
            << QStringList{"TEA", kNarrow, "4600000000000", ".5", ""}
            << Item("TEA", '0', 4600000000000, 50, 0);
        QTest::newRow("empty texts")
            << QStringList{"", kNarrow, "", "", ""} << Item("", '0', 0, 0, 0);
    }

    void goodsItemConversions()
    {
        QFETCH(QStringList, cells);
        QFETCH(TEmulatorItem, stored);
        TMapCells source;
        for (int col = 1; col <= 5; ++col)
            source.SetCell(TTableTab::Goods, col, 3, cells[col - 1]);
        QVERIFY(WriteTables(TTableTab::Goods, 3, 3, source, settings).Done());
        const QList<TRequest> requests = r.Requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].letter, 'T');
        QCOMPARE(requests[0].item, 3);
        QCOMPARE(*r.Engine().Item(3), stored);
    }

    // What a read fills: each table's cells from the register's fields and items.
    void readDecodesEveryTab()
    {
        TEmulatorEngine &engine = r.Engine();
        QVERIFY(engine.SetItem(1, Item("\x6B\x6F\x66\x65", '0', 4600000000000, 1205, 7)));
        QVERIFY(engine.SetItem(6000, Item("X", '1', 0, 1099511627775ULL, 255)));
        QVERIFY(engine.SetField(2, 1, 0, Field("MOLOKO", '1')));
        QVERIFY(engine.SetField(2, 1, 1, Field("1163", '0')));
        QVERIFY(engine.SetField(2, 2, 1, Field("1229", '0')));
        QVERIFY(engine.SetField(2, 3, 1, Field("0102", '0')));
        for (int line = 1; line <= 21; ++line)
            QVERIFY(engine.SetField(
                4, 1, line - 1, Field("LINE " + QByteArray::number(line), line % 2 ? '0' : '1')));
        for (int field = 0; field < 4; ++field)
            QVERIFY(engine.SetField(6, 6, field, Field("ADDR" + QByteArray::number(field), '0')));
        QVERIFY(engine.SetField(0, 2, 0, Field("KASSIR", '1')));
        QVERIFY(engine.SetField(0, 2, 3, Field("777", '1')));
        QVERIFY(engine.SetField(0, 2, 4, Field("123456789012", '1')));
        TMapCells cells;
        const TTableTab goods = TTableTab::Goods, groups = TTableTab::Groups;
        QVERIFY(ReadTables(goods, 1, 1, cells, settings).Done());
        QVERIFY(ReadTables(goods, 6000, 6000, cells, settings).Done());
        QVERIFY(ReadTables(groups, 1, 3, cells, settings).Done());
        QVERIFY(ReadTables(TTableTab::Cliche, 1, 21, cells, settings).Done());
        QVERIFY(ReadTables(TTableTab::Agents, 6, 9, cells, settings).Done());
        QVERIFY(ReadTables(TTableTab::Operators, 2, 2, cells, settings).Done());

        QCOMPARE(RecordCells(cells, goods, 1, 5),
                 (QStringList{"КОФЕ", kNarrow, "4600000000000", "12.05", "7"}));
        // A price beyond 32 bits.
        QCOMPARE(RecordCells(cells, goods, 6000, 5),
                 (QStringList{"X", kWide, "0", "10995116277.75", "255"}));
        QCOMPARE(RecordCells(cells, groups, 1, 5),
                 (QStringList{"MOLOKO", kWide, "11 - УСЛУГА, с признаком \"агент\"",
                              "6 - НДС не облагается", "3 - Упрощенная доход минус расход"}));
        QCOMPARE(RecordCells(cells, groups, 2, 5).mid(2),
                 (QStringList{"", "2 - Ставка НДС 10%", ""}));
        QCOMPARE(RecordCells(cells, groups, 3, 5).mid(2),
                 (QStringList{"01 - ТОВАР, за исключением подакцизного товара", "",
                              "2 - Упрощенная доход"}));
        for (int line = 1; line <= 21; ++line)
            QCOMPARE(
                RecordCells(cells, TTableTab::Cliche, line, 2),
                (QStringList{QStringLiteral("LINE %1").arg(line), line % 2 ? kNarrow : kWide}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(cells.Cell(TTableTab::Agents, 1, 6 + i), QStringLiteral("ADDR%1").arg(i));
        // The password and the taxpayer number fill only their own cells.
        QCOMPARE(RecordCells(cells, TTableTab::Operators, 2, 8),
                 (QStringList{"KASSIR", kWide, "", kNarrow, "", kNarrow, "777", "123456789012"}));
        // One request a record's field, in the register's addresses.
        const QList<TRequest> requests = r.Requests();
        QCOMPARE(requests.size(), 2 + 6 + 21 + 4 + 5);
        QCOMPARE((QList<int>{requests[1].letter, requests[1].mode, requests[1].item}),
                 (QList<int>{'T', 1, 6000}));
        for (int line = 1; line <= 21; ++line) {
            const TRequest &request = requests[8 + line - 1];
            QCOMPARE((QList<int>{request.mode, request.table, request.row, request.field}),
                     (QList<int>{1, 4, 1, line - 1}));
        }
        for (int i = 0; i < 4; ++i)
            QCOMPARE(
                (QList<int>{requests[29 + i].table, requests[29 + i].row, requests[29 + i].field}),
                (QList<int>{6, 6, i}));
    }

    // A failed read leaves the cells of the failing record and the later ones as they were.
    void failedReadKeepsLaterCells()
    {
        TEmulatorEngine &engine = r.Engine();
        TMapCells cells;
        for (int n = 3; n <= 7; ++n) {
            QVERIFY(engine.SetItem(n, Item("ITEM" + QByteArray::number(n), '0', n, 100 * n, n)));
            cells.SetCell(TTableTab::Goods, 1, n, QStringLiteral("OLD"));
        }
        engine.AnswerStatusAt(3, 3);
        TTableRunResult result = ReadTables(TTableTab::Goods, 3, 7, cells, settings);
        QCOMPARE((QList<int>{int(result.outcome), result.code, result.record}),
                 (QList<int>{int(TTableRunResult::TOutcome::Failed), 3, 5}));
        QCOMPARE(cells.Cell(TTableTab::Goods, 1, 4), QStringLiteral("ITEM4"));
        for (int n = 5; n <= 7; ++n)
            QCOMPARE(RecordCells(cells, TTableTab::Goods, n, 5),
                     (QStringList{"OLD", "", "", "", ""}));

        // An operator: the fields read before the failing one are filled.
        QVERIFY(engine.SetField(0, 1, 0, Field("A", '1')));
        QVERIFY(engine.SetField(0, 1, 1, Field("B", '1')));
        cells.SetCell(TTableTab::Operators, 5, 1, QStringLiteral("OLD"));
        engine.AnswerStatusAt(3, 9);
        result = ReadTables(TTableTab::Operators, 1, 6, cells, settings);
        QCOMPARE(result.code, quint8(9));
        QCOMPARE(RecordCells(cells, TTableTab::Operators, 1, 6),
                 (QStringList{"A", kWide, "B", kWide, "OLD", ""}));
    }

    // A goods answer naming an item the grid has no row for fills nothing: the read ends at the
    // item asked for, with the register's own status (0).
    void answerForAnotherItemEndsRead_data()
    {
        QTest::addColumn<int>("answered");
        QTest::newRow("0") << 0;
        QTest::newRow("6001") << 6001;
        QTest::newRow("65535") << 65535;
    }

    void answerForAnotherItemEndsRead()
    {
        QFETCH(int, answered);
        TEmulatorItem item;
        item.name = Padded("NAME");
        QVERIFY(r.Engine().SetItem(4, item));
        r.Engine().AnswerItemNumber(quint16(answered));
        TMapCells cells;
        cells.SetCell(TTableTab::Goods, 1, 4, QStringLiteral("KEEP"));
        const TTableRunResult result = ReadTables(TTableTab::Goods, 4, 5, cells, settings);
        QCOMPARE(TableRunMessage(TTableTab::Goods, false, result),
                 QStringLiteral("Внимание!\r\nОшибка (0) при чтении базы. Товар номер 4 !"));
        QCOMPARE(r.Engine().ReceivedCount(), 1);
        QCOMPARE(cells.cells.size(), 1);
        QCOMPARE(cells.Cell(TTableTab::Goods, 1, 4), QStringLiteral("KEEP"));
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
