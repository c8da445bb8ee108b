// "Записать в ККТ" on the tables frame against the emulated register.
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
const QString kWide = QStringLiteral("Широкий");

} // namespace

class TestTablesWrite : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void operatorsInOrderWithProgress();
    void groupsWithCodesAndHalfToEvenProgress();
    void groupWithoutPaymentItemSendsNothingOfIt();
    void goodsItemConversions();
    void goodsPriceNotANumberEndsRun();
    void clicheAndAgentAddressing();
    void failureOnThirdExchangeEndsRun();
    void rangeMessagesAndFocus_data();
    void rangeMessagesAndFocus();
    void cellsAreReadJustBeforeTheirExchange();
    void closingEndsRunAfterCurrentExchange();

private:
    std::unique_ptr<TFrameUnderTest> t;
};

void TestTablesWrite::init()
{
    t = std::make_unique<TFrameUnderTest>();
    QVERIFY2(t->Ready(), qPrintable(t->pty.ErrorText()));
}

void TestTablesWrite::cleanup()
{
    t.reset();
}

void TestTablesWrite::operatorsInOrderWithProgress()
{
    TStringGrid &grid = t->Grid(0);
    grid.SetCells(1, 1, QStringLiteral("кофе"));
    grid.SetCells(2, 1, kWide);
    grid.SetCells(3, 2, QStringLiteral("IVANOV"));
    grid.SetCells(7, 6, QStringLiteral("123"));
    grid.SetCells(8, 6, QStringLiteral("771234567890"));
    t->Write(0, QStringLiteral("1"), QStringLiteral("6"));

    QCOMPARE(t->dialogs.MessageCount(), 0);
    const QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 30);
    for (int i = 0; i < 30; ++i) {
        QCOMPARE(requests[i].letter, 'p');
        QCOMPARE(requests[i].mode, 0);
        QCOMPARE(requests[i].table, 0);
        QCOMPARE(requests[i].row, i / 5 + 1);
        QCOMPARE(requests[i].field, i % 5);
    }
    // "кофе" goes up as the capitals К О Ф Е in device text, with the wide flag.
    QCOMPARE(requests[0].text, QByteArray("\x6B\x6F\x66\x65"));
    QCOMPARE(requests[0].attribute, int('1'));
    QCOMPARE(requests[5 + 1].text, QByteArray("IVANOV"));
    QCOMPARE(requests[5 + 1].attribute, int('0'));
    // Password and INN carry the narrow flag whatever the font cells say.
    QCOMPARE(requests[25 + 3].text, QByteArray("123"));
    QCOMPARE(requests[25 + 3].attribute, int('0'));
    QCOMPARE(requests[25 + 4].text, QByteArray("771234567890"));
    QCOMPARE(t->Engine().Field(0, 6, 4)->text, Padded("771234567890"));

    const QList<int> expected = ExpectedPositions(30, 30);
    QCOMPARE(t->positions.mid(0, 31), expected);
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

void TestTablesWrite::groupsWithCodesAndHalfToEvenProgress()
{
    TStringGrid &grid = t->Grid(2);
    grid.SetCells(1, 1, QStringLiteral("MOLOKO"));
    grid.SetCells(3, 1, QStringLiteral("01 - ТОВАР, за исключением подакцизного товара"));
    grid.SetCells(3, 8, QStringLiteral("11 - УСЛУГА, с признаком \"агент\""));
    grid.SetCells(4, 8, QString());
    grid.SetCells(5, 8, QString());
    t->Write(2, QStringLiteral("1"), QStringLiteral("8"));

    QCOMPARE(t->dialogs.MessageCount(), 0);
    const QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 16);
    for (int i = 0; i < 16; ++i) {
        QCOMPARE(requests[i].table, 2);
        QCOMPARE(requests[i].row, i / 2 + 1);
        QCOMPARE(requests[i].field, i % 2);
    }
    QCOMPARE(requests[0].text, QByteArray("MOLOKO"));
    QCOMPARE(requests[1].text, QByteArray("0111"));
    QCOMPARE(requests[1].attribute, int('0'));
    QCOMPARE(requests[3].text, QByteArray("0011")); // the defaults of a fresh grid
    QCOMPARE(requests[15].text, QByteArray("1109"));
    QCOMPARE(t->positions.mid(0, 17), ExpectedPositions(16, 16));
    QCOMPARE(t->positions.value(2), 12);
    QCOMPARE(t->positions.value(6), 38);
}

void TestTablesWrite::groupWithoutPaymentItemSendsNothingOfIt()
{
    t->Grid(2).SetCells(3, 3, QStringLiteral("ЧТО-ТО ДРУГОЕ"));
    t->Write(2, QStringLiteral("1"), QStringLiteral("8"));
    QCOMPARE(t->Requests().size(), 4); // groups 1 and 2, nothing of group 3
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Information,
                  QStringLiteral("ВНИМАНИЕ!\r\nНе выбран признак предмета расчета в строке 3!")}}));
    QVERIFY(!t->ui.ProgressBar1->isVisible());
    QVERIFY(t->Unlocked());

    // An empty sign cell alone: the same, before anything is sent.
    t->dialogs.Clear();
    t->Grid(2).SetCells(3, 1, QString());
    t->Write(2, QStringLiteral("1"), QStringLiteral("1"));
    QCOMPARE(t->Requests().size(), 0);
    QCOMPARE(t->dialogs.LastText(),
             QStringLiteral("ВНИМАНИЕ!\r\nНе выбран признак предмета расчета в строке 1!"));
}

void TestTablesWrite::goodsItemConversions()
{
    TStringGrid &grid = t->Grid(1);
    grid.SetCells(1, 3, QStringLiteral("кофе"));
    grid.SetCells(2, 3, kWide);
    grid.SetCells(4, 3, QStringLiteral("12.5"));
    grid.SetCells(5, 3, QStringLiteral("300"));
    grid.SetCells(1, 4, QStringLiteral("TEA"));
    grid.SetCells(3, 4, QStringLiteral("4600000000000"));
    grid.SetCells(4, 4, QStringLiteral(".5"));
    t->Write(1, QStringLiteral("3"), QStringLiteral("3"));

    QCOMPARE(t->dialogs.MessageCount(), 0);
    QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].letter, 'T');
    QCOMPARE(requests[0].item, 3);
    QCOMPARE(t->positions, (QList<int>{0, 100}));
    const TEmulatorItem item3 = *t->Engine().Item(3);
    QCOMPARE(item3.name, Padded("\x6B\x6F\x66\x65"));
    QCOMPARE(item3.font, quint8('1'));
    QCOMPARE(item3.price, quint64(1250));
    QCOMPARE(item3.department, quint8(44)); // 300 kept to its low eight bits
    QCOMPARE(item3.barcode, quint64(0));    // empty barcode cell

    t->Write(1, QStringLiteral("4"), QStringLiteral("5"));
    QCOMPARE(t->Requests().size(), 2);
    const TEmulatorItem item4 = *t->Engine().Item(4);
    QCOMPARE(item4.barcode, quint64(4600000000000));
    QCOMPARE(item4.price, quint64(50));
    QCOMPARE(item4.department, quint8(0));
    QCOMPARE(item4.font, quint8('0'));
    QCOMPARE(t->Engine().Item(5)->price, quint64(0)); // empty price cell
}

void TestTablesWrite::goodsPriceNotANumberEndsRun()
{
    t->Grid(1).SetCells(4, 2, QStringLiteral("1.2.3"));
    t->Write(1, QStringLiteral("1"), QStringLiteral("3"));
    QCOMPARE(t->Requests().size(), 1); // item 2 is refused before anything is sent
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Error,
                  QStringLiteral("Внимание!\r\nОшибка (5) при записи базы. Товар номер 2 !")}}));
    QVERIFY(t->Unlocked());
}

void TestTablesWrite::clicheAndAgentAddressing()
{
    t->Grid(3).SetCells(1, 21, QStringLiteral("WWW.NALOG.RU"));
    t->Write(3, QStringLiteral("21"), QStringLiteral("21"));
    QList<TRequest> requests = t->Requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE((QList<int>{requests[0].table, requests[0].row, requests[0].field}),
             (QList<int>{4, 1, 20}));
    QCOMPARE(t->Engine().Field(4, 1, 20)->text, Padded("WWW.NALOG.RU"));

    t->Write(4, QStringLiteral("1"), QStringLiteral("12"));
    requests = t->Requests();
    QCOMPARE(requests.size(), 12);
    const int rows[] = {1, 2, 3, 4, 5, 6, 6, 6, 6, 7, 7, 8};
    const int fields[] = {0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 1, 0};
    for (int line = 0; line < 12; ++line) {
        QCOMPARE(requests[line].table, 6);
        QCOMPARE(requests[line].row, rows[line]);
        QCOMPARE(requests[line].field, fields[line]);
    }
    QCOMPARE(t->dialogs.MessageCount(), 0);
}

void TestTablesWrite::failureOnThirdExchangeEndsRun()
{
    t->Engine().AnswerStatusAt(3, 2);
    t->Write(0, QStringLiteral("1"), QStringLiteral("6"));
    QCOMPARE(t->Requests().size(), 3);
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Error,
                  QStringLiteral("Внимание!\r\nОшибка (2) при записи оператора с номером 1 !")}}));
    QCOMPARE(t->positions, (QList<int>{0, 3, 7}));
    QVERIFY(!t->ui.ProgressBar1->isVisible());
    QVERIFY(t->Unlocked());

    // A register that does not answer at all: result 2 on the first exchange.
    t->dialogs.Clear();
    t->host.settings.Port.TimeOut = 200;
    t->Engine().StaySilentAlways(true);
    t->Write(4, QStringLiteral("12"), QStringLiteral("12"));
    QCOMPARE(t->dialogs.LastText(),
             QStringLiteral(
                 "Внимание!\r\nОшибка (2) при записи строки параметра агента с номером 12 !"));
    QVERIFY(t->Unlocked());
}

void TestTablesWrite::rangeMessagesAndFocus_data()
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

void TestTablesWrite::rangeMessagesAndFocus()
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
    QLineEdit *expected =
        focusOnFrom ? t->frame.Range(TTableTab(tab)).from : t->frame.Range(TTableTab(tab)).to;
    QTRY_VERIFY(expected->hasFocus());
    QVERIFY(t->host.lockCalls.isEmpty());
}

void TestTablesWrite::cellsAreReadJustBeforeTheirExchange()
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

void TestTablesWrite::closingEndsRunAfterCurrentExchange()
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

QTEST_MAIN(TestTablesWrite)
#include "tst_tableswrite.moc"
