// "Прочитать из ККТ" on the tables frame against the emulated register.
#include "tablesrunfixture.h"

namespace
{

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

QStringList RowCells(TStringGrid &grid, int row)
{
    QStringList cells;
    for (int col = 1; col < grid.ColCount(); ++col)
        cells.append(grid.Cells(col, row));
    return cells;
}

} // namespace

class TestTablesRead : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void goodsFillRowsAsAnswersArrive();
    void goodsPriceBeyond32Bits();
    void goodsFailureAtItemFiveKeepsLaterRows();
    void groupCodesDecoded();
    void clicheAllLines();
    void agentAddressLines();
    void operatorPasswordFillsOnlyItsCell();
    void operatorFailureLeavesCellsAndTells();
    void readIsLockedAndUnlocked();

private:
    std::unique_ptr<TFrameUnderTest> t;
};

void TestTablesRead::init()
{
    t = std::make_unique<TFrameUnderTest>();
    QVERIFY2(t->Ready(), qPrintable(t->pty.ErrorText()));
}

void TestTablesRead::cleanup()
{
    t.reset();
}

void TestTablesRead::goodsFillRowsAsAnswersArrive()
{
    QVERIFY(t->Engine().SetItem(1, Item("\x6B\x6F\x66\x65", '0', 4600000000000, 1205, 7)));
    QVERIFY(t->Engine().SetItem(2, Item("TEA", '1', 0, 5, 0)));
    QStringList firstRowDuringRun;
    t->onProgress = [this, &firstRowDuringRun](int position) {
        if (position == 50)
            firstRowDuringRun = RowCells(t->Grid(1), 1);
    };
    t->Read(1, QStringLiteral("1"), QStringLiteral("2"));
    QCOMPARE(t->dialogs.MessageCount(), 0);
    const QStringList row1{QStringLiteral("КОФЕ"), kNarrow, QStringLiteral("4600000000000"),
                           QStringLiteral("12.05"), QStringLiteral("7")};
    QCOMPARE(RowCells(t->Grid(1), 1), row1);
    QCOMPARE(firstRowDuringRun, row1); // filled before the second exchange
    QCOMPARE(RowCells(t->Grid(1), 2),
             (QStringList{QStringLiteral("TEA"), kWide, QStringLiteral("0"), QStringLiteral("0.05"),
                          QStringLiteral("0")}));
    QCOMPARE(t->Grid(1).Cells(0, 2), QStringLiteral("2"));
    QCOMPARE(t->positions, (QList<int>{0, 50, 100}));
    const QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[1].letter, 'T');
    QCOMPARE(requests[1].mode, 1);
    QCOMPARE(requests[1].item, 2);
}

void TestTablesRead::goodsPriceBeyond32Bits()
{
    QVERIFY(t->Engine().SetItem(6000, Item("X", '0', 0, 1099511627775ULL, 255)));
    QVERIFY(t->Engine().SetItem(5999, Item("Y", '0', 0, 2147483648ULL, 1)));
    t->Read(1, QStringLiteral("5999"), QStringLiteral("6000"));
    QCOMPARE(t->dialogs.MessageCount(), 0);
    QCOMPARE(t->Grid(1).Cells(4, 6000), QStringLiteral("10995116277.75"));
    QCOMPARE(t->Grid(1).Cells(5, 6000), QStringLiteral("255"));
    QCOMPARE(t->Grid(1).Cells(4, 5999), QStringLiteral("21474836.48"));
}

void TestTablesRead::goodsFailureAtItemFiveKeepsLaterRows()
{
    for (int n = 3; n <= 7; ++n) {
        QVERIFY(t->Engine().SetItem(n, Item("ITEM" + QByteArray::number(n), '0', n, 100 * n, n)));
        t->Grid(1).SetCells(1, n, QStringLiteral("OLD"));
    }
    t->Engine().AnswerStatusAt(3, 3);
    t->Read(1, QStringLiteral("3"), QStringLiteral("7"));
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Error,
                  QStringLiteral("Внимание!\r\nОшибка (3) при чтении базы. Товар номер 5 !")}}));
    QCOMPARE(t->Grid(1).Cells(1, 3), QStringLiteral("ITEM3"));
    QCOMPARE(t->Grid(1).Cells(1, 4), QStringLiteral("ITEM4"));
    for (int n = 5; n <= 7; ++n)
        QCOMPARE(RowCells(t->Grid(1), n),
                 (QStringList{QStringLiteral("OLD"), kNarrow, QString(), QString(), QString()}));
    QCOMPARE(t->Requests().size(), 3);
    QVERIFY(!t->ui.ProgressBar1->isVisible());
    QVERIFY(t->Unlocked());
}

void TestTablesRead::groupCodesDecoded()
{
    QVERIFY(t->Engine().SetField(2, 1, 0, Field("MOLOKO", '1')));
    QVERIFY(t->Engine().SetField(2, 1, 1, Field("1163", '0')));
    QVERIFY(t->Engine().SetField(2, 2, 1, Field("1229", '0')));
    QVERIFY(t->Engine().SetField(2, 3, 1, Field("0102", '0')));
    t->Read(2, QStringLiteral("1"), QStringLiteral("3"));
    QCOMPARE(t->dialogs.MessageCount(), 0);
    TStringGrid &grid = t->Grid(2);
    QCOMPARE(RowCells(grid, 1).mid(0, 5),
             (QStringList{QStringLiteral("MOLOKO"), kWide,
                          QStringLiteral("11 - УСЛУГА, с признаком \"агент\""),
                          QStringLiteral("6 - НДС не облагается"),
                          QStringLiteral("3 - Упрощенная доход минус расход")}));
    QCOMPARE(RowCells(grid, 2).mid(2, 3),
             (QStringList{QString(), QStringLiteral("2 - Ставка НДС 10%"), QString()}));
    QCOMPARE(RowCells(grid, 3).mid(2, 3),
             (QStringList{QStringLiteral("01 - ТОВАР, за исключением подакцизного товара"),
                          QString(), QStringLiteral("2 - Упрощенная доход")}));
    QCOMPARE(t->positions, (QList<int>{0, 17, 33, 50, 67, 83, 100}));
}

void TestTablesRead::clicheAllLines()
{
    for (int line = 1; line <= 21; ++line)
        QVERIFY(t->Engine().SetField(
            4, 1, line - 1, Field("LINE " + QByteArray::number(line), line % 2 ? '0' : '1')));
    t->Read(3, QStringLiteral("1"), QStringLiteral("21"));
    const QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 21);
    for (int line = 1; line <= 21; ++line) {
        QCOMPARE((QList<int>{requests[line - 1].mode, requests[line - 1].table,
                             requests[line - 1].row, requests[line - 1].field}),
                 (QList<int>{1, 4, 1, line - 1}));
        QCOMPARE(t->Grid(3).Cells(1, line), QStringLiteral("LINE %1").arg(line));
        QCOMPARE(t->Grid(3).Cells(2, line), line % 2 ? kNarrow : kWide);
    }
}

void TestTablesRead::agentAddressLines()
{
    for (int field = 0; field < 4; ++field)
        QVERIFY(t->Engine().SetField(6, 6, field, Field("ADDR" + QByteArray::number(field), '0')));
    t->Grid(4).SetCells(1, 5, QStringLiteral("KEEP"));
    t->Read(4, QStringLiteral("6"), QStringLiteral("9"));
    const QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE((QList<int>{requests[i].table, requests[i].row, requests[i].field}),
                 (QList<int>{6, 6, i}));
        QCOMPARE(t->Grid(4).Cells(1, 6 + i), QStringLiteral("ADDR%1").arg(i));
    }
    QCOMPARE(t->Grid(4).Cells(1, 5), QStringLiteral("KEEP"));
}

void TestTablesRead::operatorPasswordFillsOnlyItsCell()
{
    QVERIFY(t->Engine().SetField(0, 2, 0, Field("KASSIR", '1')));
    QVERIFY(t->Engine().SetField(0, 2, 3, Field("777", '1')));
    QVERIFY(t->Engine().SetField(0, 2, 4, Field("123456789012", '1')));
    t->Grid(0).SetCells(1, 3, QStringLiteral("OTHER"));
    t->Read(0, QStringLiteral("2"), QStringLiteral("2"));
    QCOMPARE(t->dialogs.MessageCount(), 0);
    QCOMPARE(t->Requests().size(), 5);
    QCOMPARE(RowCells(t->Grid(0), 2),
             (QStringList{QStringLiteral("KASSIR"), kWide, QString(), kNarrow, QString(), kNarrow,
                          QStringLiteral("777"), QStringLiteral("123456789012")}));
    QCOMPARE(t->Grid(0).Cells(1, 3), QStringLiteral("OTHER"));
    QCOMPARE(t->positions, (QList<int>{0, 20, 40, 60, 80, 100}));
}

void TestTablesRead::operatorFailureLeavesCellsAndTells()
{
    QVERIFY(t->Engine().SetField(0, 1, 0, Field("A", '1')));
    QVERIFY(t->Engine().SetField(0, 1, 1, Field("B", '1')));
    QVERIFY(t->Engine().SetField(0, 1, 2, Field("C", '1')));
    t->Grid(0).SetCells(5, 1, QStringLiteral("OLD"));
    t->Engine().AnswerStatusAt(3, 9);
    t->Read(0, QStringLiteral("1"), QStringLiteral("6"));
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Error,
                  QStringLiteral("Внимание!\r\nОшибка (9) при чтении оператора с номером 1 !")}}));
    QCOMPARE(t->Requests().size(), 3);
    QCOMPARE(RowCells(t->Grid(0), 1).mid(0, 6),
             (QStringList{QStringLiteral("A"), kWide, QStringLiteral("B"), kWide,
                          QStringLiteral("OLD"), kNarrow}));

    // No answer at all: nothing stale or empty reaches a cell.
    t->dialogs.Clear();
    t->host.settings.Port.TimeOut = 200;
    t->Engine().StaySilentAlways(true);
    t->Read(0, QStringLiteral("2"), QStringLiteral("2"));
    QCOMPARE(t->dialogs.LastText(),
             QStringLiteral("Внимание!\r\nОшибка (2) при чтении оператора с номером 2 !"));
    QCOMPARE(t->Grid(0).Cells(2, 2), kNarrow);
}

void TestTablesRead::readIsLockedAndUnlocked()
{
    t->Read(2, QStringLiteral("1"), QStringLiteral("8"));
    QCOMPARE(t->Requests().size(), 16);
    QVERIFY(!t->buttonsEnabledDuringRun);
    QVERIFY(!t->tabsEnabledDuringRun);
    QVERIFY(!t->menuUnlockedDuringRun);
    QCOMPARE(t->host.lockCalls, (QList<bool>{true, false}));
    QVERIFY(t->Unlocked());
    QVERIFY(!t->ui.ProgressBar1->isVisible());
}

QTEST_MAIN(TestTablesRead)
#include "tst_tablesread.moc"
