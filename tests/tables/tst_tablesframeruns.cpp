// "Записать в ККТ" and "Прочитать из ККТ" on the tables frame against the emulated register:
// what the frame adds to the runs (the grid's cells, the progress, the lock, the place in the
// status bar, the range check and the messages). What goes to the register and what a read
// fills are the runs' own (tst_tableruns).
#include "tablesrunfixture.h"

#include <cmath>

namespace
{

// done * 100 / total, to the nearest whole number with halves to even; starting at 0.
QList<int> ExpectedPositions(int exchanges, int total)
{
    QList<int> positions{0};
    for (int done = 1; done <= exchanges; ++done)
        positions.append(int(std::nearbyint(done * 100.0 / total)));
    return positions;
}

const QString kNarrow = QStringLiteral("Узкий");

} // namespace

class TestTablesFrameRuns : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writeShowsProgressLocksAndNamesEachRecord();
    void groupsGoWithTheGridsDefaultsAndHalfToEvenProgress();
    void readFillsRowsAsAnswersArrive();
    void gridToldOncePerRecord();
    void failureTellsAndUnlocks_data();
    void failureTellsAndUnlocks();
    void rangeMessagesAndFocus_data();
    void rangeMessagesAndFocus();
    void cellsAreReadJustBeforeTheirExchange();
    void closingEndsRunAfterCurrentExchange();

private:
    std::unique_ptr<TFrameUnderTest> t;
};

void TestTablesFrameRuns::init()
{
    t = std::make_unique<TFrameUnderTest>();
    QVERIFY2(t->Ready(), qPrintable(t->pty.ErrorText()));
}

void TestTablesFrameRuns::cleanup()
{
    t.reset();
}

void TestTablesFrameRuns::writeShowsProgressLocksAndNamesEachRecord()
{
    t->Grid(0).SetCells(1, 1, QStringLiteral("кофе"));
    t->Write(0, QStringLiteral("1"), QStringLiteral("6"));

    QCOMPARE(t->dialogs.MessageCount(), 0);
    const QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 30);
    QCOMPARE(requests[0].text, QByteArray("\x6B\x6F\x66\x65")); // the grid's cell went out
    QCOMPARE(t->positions.mid(0, 31), ExpectedPositions(30, 30));
    QCOMPARE(t->positions.value(1), 3);
    QCOMPARE(t->positions.value(30), 100);
    QVERIFY(!t->ui.ProgressBar1->isVisible());
    QVERIFY(!t->buttonsEnabledDuringRun);
    QVERIFY(!t->tabsEnabledDuringRun);
    QVERIFY(!t->menuUnlockedDuringRun);
    QVERIFY(t->Unlocked());
    QCOMPARE(t->host.lockCalls, (QList<bool>{true, false}));
    // Each operator is named once, before its first field goes; the text is cleared at the end.
    QStringList statuses;
    for (int row = 1; row <= 6; ++row)
        statuses.append(QStringLiteral("Запись: оператор %1 из 6").arg(row));
    QCOMPARE(t->host.statuses, statuses + QStringList{QString()});
}

void TestTablesFrameRuns::groupsGoWithTheGridsDefaultsAndHalfToEvenProgress()
{
    TStringGrid &grid = t->Grid(2);
    grid.SetCells(3, 1, QStringLiteral("01 - ТОВАР, за исключением подакцизного товара"));
    grid.SetCells(3, 8, QStringLiteral("11 - УСЛУГА, с признаком \"агент\""));
    grid.SetCells(4, 8, QString());
    grid.SetCells(5, 8, QString());
    t->Write(2, QStringLiteral("1"), QStringLiteral("8"));

    QCOMPARE(t->dialogs.MessageCount(), 0);
    const QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 16);
    QCOMPARE(requests[1].text, QByteArray("0111"));
    QCOMPARE(requests[3].text, QByteArray("0011")); // the defaults of a fresh grid
    QCOMPARE(requests[15].text, QByteArray("1109"));
    QCOMPARE(t->positions.mid(0, 17), ExpectedPositions(16, 16));
    QCOMPARE(t->positions.value(2), 12);
    QCOMPARE(t->positions.value(6), 38);
}

void TestTablesFrameRuns::readFillsRowsAsAnswersArrive()
{
    TEmulatorItem item;
    item.name = Padded("TEA");
    item.price = 5;
    QVERIFY(t->Engine().SetItem(1, item));
    QString firstRowDuringRun;
    t->onProgress = [this, &firstRowDuringRun](int position) {
        if (position == 50)
            firstRowDuringRun = t->Grid(1).Cells(4, 1);
    };
    t->Read(1, QStringLiteral("1"), QStringLiteral("2"));
    QCOMPARE(t->dialogs.MessageCount(), 0);
    QCOMPARE(firstRowDuringRun, QStringLiteral("0.05")); // filled before the second exchange
    QCOMPARE(t->Grid(1).Cells(1, 1), QStringLiteral("TEA"));
    QCOMPARE(t->Grid(1).Cells(0, 2), QStringLiteral("2"));
    QCOMPARE(t->positions, (QList<int>{0, 50, 100}));
    QVERIFY(!t->buttonsEnabledDuringRun);
    QVERIFY(!t->tabsEnabledDuringRun);
    QVERIFY(!t->menuUnlockedDuringRun);
    QCOMPARE(t->host.lockCalls, (QList<bool>{true, false}));
    QVERIFY(t->Unlocked());
    QVERIFY(!t->ui.ProgressBar1->isVisible());
}

void TestTablesFrameRuns::gridToldOncePerRecord()
{
    // A group takes two exchanges: the grid hears of each once it is complete, as one whole row,
    // and its headers are not measured again.
    for (int row = 1; row <= 3; ++row)
        QVERIFY(t->Engine().SetField(2, row, 0, {'1', Padded("G" + QByteArray::number(row))}));
    TStringGridModel &model = *t->Grid(2).GridModel();
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    t->Read(2, QStringLiteral("1"), QStringLiteral("3"));
    QCOMPARE(t->Grid(2).Cells(1, 3), QStringLiteral("G3"));
    QCOMPARE(cells.size(), 3);
    for (int row = 0; row < 3; ++row) {
        const QModelIndex from = cells[row][0].toModelIndex(), to = cells[row][1].toModelIndex();
        QCOMPARE((QList<int>{from.row(), from.column(), to.row(), to.column()}),
                 (QList<int>{row, 0, row, model.columnCount() - 1}));
    }
    QCOMPARE(headers.size(), 0);
}

void TestTablesFrameRuns::failureTellsAndUnlocks_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("range"); // "from-to"
    QTest::addColumn<QPoint>("cell");   // a cell given text, (0, 0) for none
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("failingRequest"); // 0: the register does not answer at all
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("error"); // the error box, else the information box
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("positions");

    QTest::newRow("write, third exchange")
        << true << 0 << "1-6" << QPoint() << "" << 3 << 2 << true
        << "Внимание!\r\nОшибка (2) при записи оператора с номером 1 !" << QList<int>{0, 3, 7};
    QTest::newRow("write, no answer")
        << true << 4 << "12-12" << QPoint() << "" << 0 << 0 << true
        << "Внимание!\r\nОшибка (2) при записи строки параметра агента с номером 12 !"
        << QList<int>{0};
    QTest::newRow("price not a number, nothing of it sent")
        << true << 1 << "1-3" << QPoint(4, 2) << "1.2.3" << -1 << 0 << true
        << "Внимание!\r\nОшибка (5) при записи базы. Товар номер 2 !" << QList<int>{0, 33};
    QTest::newRow("group without a payment-item sign")
        << true << 2 << "1-8" << QPoint(3, 3) << "ЧТО-ТО ДРУГОЕ" << -1 << 0 << false
        << "ВНИМАНИЕ!\r\nНе выбран признак предмета расчета в строке 3!"
        << QList<int>{0, 6, 12, 19, 25};
    QTest::newRow("group with an empty sign")
        << true << 2 << "1-1" << QPoint(3, 1) << "" << -1 << 0 << false
        << "ВНИМАНИЕ!\r\nНе выбран признак предмета расчета в строке 1!" << QList<int>{0};
    QTest::newRow("read, third exchange")
        << false << 0 << "1-6" << QPoint() << "" << 3 << 9 << true
        << "Внимание!\r\nОшибка (9) при чтении оператора с номером 1 !" << QList<int>{0, 3, 7};
    QTest::newRow("read, no answer")
        << false << 0 << "2-2" << QPoint() << "" << 0 << 0 << true
        << "Внимание!\r\nОшибка (2) при чтении оператора с номером 2 !" << QList<int>{0};
}

void TestTablesFrameRuns::failureTellsAndUnlocks()
{
    QFETCH(bool, write);
    QFETCH(int, tab);
    QFETCH(QString, range);
    QFETCH(QPoint, cell);
    QFETCH(QString, text);
    QFETCH(int, failingRequest);
    QFETCH(int, status);
    QFETCH(bool, error);
    QFETCH(QString, message);
    QFETCH(QList<int>, positions);
    if (!cell.isNull())
        t->Grid(tab).SetCells(cell.x(), cell.y(), text);
    if (failingRequest > 0)
        t->Engine().AnswerStatusAt(failingRequest, quint8(status));
    if (failingRequest == 0) {
        t->host.settings.Port.TimeOut = 200;
        t->Engine().StaySilentAlways(true);
    }
    const QStringList bounds = range.split(QLatin1Char('-'));
    if (write)
        t->Write(tab, bounds[0], bounds[1]);
    else
        t->Read(tab, bounds[0], bounds[1]);

    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {error ? TDialogs::Kind::Error : TDialogs::Kind::Information, message}}));
    QCOMPARE(t->positions, positions);
    QVERIFY(!t->ui.ProgressBar1->isVisible());
    QVERIFY(t->Unlocked());
    // Nothing stale or empty reaches a cell the failed read did not get.
    if (!write && failingRequest == 0)
        QCOMPARE(t->Grid(0).Cells(2, 2), kNarrow);
}

void TestTablesFrameRuns::rangeMessagesAndFocus_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("focusOnFrom");
    // The messages themselves are checked with the range check; here the frame's side of it.
    QTest::newRow("from 0") << 0 << "0"
                            << "6"
                            << "ВНИМАНИЕ!\r\nЗначение начала диапазона не может начинаться с 0!"
                            << true;
    QTest::newRow("goods to 6001")
        << 1 << "1"
        << "6001"
        << "ВНИМАНИЕ!\r\nНеверно введено значение конца диапазона!" << false;
}

void TestTablesFrameRuns::rangeMessagesAndFocus()
{
    QFETCH(int, tab);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(bool, focusOnFrom);
    t->frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t->frame));
    t->OpenTab(tab);
    t->ui.Button3->setFocus();
    t->Write(tab, from, to);
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{{TDialogs::Kind::Information, message}}));
    QCOMPARE(t->Requests().size(), 0);
    QVERIFY(t->positions.isEmpty()); // the progress bar was never shown
    const TRangeEdits edits = t->frame.Range(TTableTab(tab));
    QTRY_VERIFY((focusOnFrom ? edits.from : edits.to)->hasFocus());
    QVERIFY(t->host.lockCalls.isEmpty());
}

void TestTablesFrameRuns::cellsAreReadJustBeforeTheirExchange()
{
    TStringGrid &grid = t->Grid(3);
    grid.SetCells(1, 2, QStringLiteral("OLD"));
    t->onProgress = [&grid](int position) {
        if (position > 0 && position < 100)
            grid.SetCells(1, 2, QStringLiteral("NEW"));
    };
    t->Write(3, QStringLiteral("1"), QStringLiteral("2"));
    QCOMPARE(t->Requests().value(1).text, QByteArray("NEW"));
}

void TestTablesFrameRuns::closingEndsRunAfterCurrentExchange()
{
    t->onProgress = [this](int position) {
        if (position > 0)
            t->host.closing = true;
    };
    t->Write(0, QStringLiteral("1"), QStringLiteral("6"));
    QCOMPARE(t->Requests().size(), 1);
    QCOMPARE(t->dialogs.MessageCount(), 0);
    QVERIFY(!t->ui.ProgressBar1->isVisible());
    QVERIFY(t->Unlocked());
}

QTEST_MAIN(TestTablesFrameRuns)
#include "tst_tablesframeruns.moc"
