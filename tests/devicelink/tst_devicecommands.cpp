#include "devicecommands.h"
#include "emulatorpty.h"
#include "registerlink.h"
#ifdef Q_OS_WIN
#include "winecommwait.h"
#endif

#include <QElapsedTimer>
#include <QTest>

#include <memory>

namespace
{

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

constexpr qint32 kSpeed = 115200;
constexpr qint32 kTimeOut = 2000;
constexpr quint32 kDevice = 1;

// The caller's variables of a goods item command.
struct TGoods {
    quint16 number = 0;
    quint8 font = 0;
    QString name, barcode, price;
    quint8 department = 0;
    bool operator==(const TGoods &) const = default;
};

} // namespace

// The four commands against the emulator on a real pseudo-terminal.
class TestDeviceCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TEmulatorPty> pty;

    TEmulatorEngine &Engine() { return pty->Engine(); }
    QString Port() const { return pty->PortName(); }

    quint8 Goods(quint8 mode, TGoods &g, qint32 timeOut = kTimeOut)
    {
        return GoodsItemCommand(Port(), kSpeed, timeOut, 0, kDevice, mode, g.number, g.font, g.name,
                                g.barcode, g.price, g.department);
    }
    quint8 Goods(TRegisterLink &link, quint8 mode, TGoods &g)
    {
        return GoodsItemCommand(link, mode, g.number, g.font, g.name, g.barcode, g.price,
                                g.department);
    }
    quint8 Field(quint8 mode, quint8 table, quint8 row, quint8 field, quint8 &attribute,
                 QString &text, bool upper = true)
    {
        return TableFieldCommand(Port(), kSpeed, kTimeOut, 0, kDevice, mode, table, row, field,
                                 attribute, text, upper);
    }

private slots:
    void init()
    {
        pty = std::make_unique<TEmulatorPty>(kDevice);
        QVERIFY2(pty->IsOpen(), qPrintable(pty->ErrorText()));
    }
    void cleanup()
    {
        // Every command leaves the port closed, whatever its result: another opening, exclusive
        // as all are, succeeds.
        TSerialLine line;
        QVERIFY(line.Open(Port(), kSpeed));
        line.Close();
        pty.reset();
    }

    void statusQuery()
    {
        TDeviceStatus s;
        QCOMPARE(StatusCommand(Port(), kSpeed, kTimeOut, 0, kDevice, s), quint8(0));
        QCOMPARE(Engine().ReceivedRequests(), QList<QByteArray>{Hex("17020100000075 0b 19 b300")});
        const TEmulatorStatusValues v = Engine().StatusValues();
        QCOMPARE(s.A, v.A);
        QCOMPARE(s.D, v.D);
        QCOMPARE(s.E, v.E);
        QCOMPARE(s.K, v.K);
        QCOMPARE(s.L, v.L);
        QCOMPARE(s.N, v.N);
        QCOMPARE(s.O, v.O);
    }

    void deviceNumberAbove255()
    {
        Engine().SetDeviceNumber(300);
        TDeviceStatus s;
        QCOMPARE(StatusCommand(Port(), kSpeed, kTimeOut, 0, 300, s), quint8(0));
        QCOMPARE(Engine().ReceivedRequests().value(0).mid(2, 4), Hex("2c010000"));
    }

    void clearGoods()
    {
        TGoods g{7, '0', "X", "1", "1", 0};
        QCOMPARE(Goods(0, g), quint8(0));
        QVERIFY(Engine().Item(7)->name.startsWith("X"));
        Engine().ClearReceivedRequests();
        quint8 status = 0xEE;
        QCOMPARE(ClearGoodsCommand(Port(), kSpeed, 30000, 0, kDevice, status), quint8(0));
        QCOMPARE(status, quint8(0));
        QCOMPARE(Engine().ReceivedRequests(), QList<QByteArray>{Hex("17020100000063 0b 19 a100")});
        QCOMPARE(Engine().Item(7)->name, QByteArray(24, '\0'));
    }

    void clearGoodsKeepsDeviceError()
    {
        Engine().AnswerStatusAt(1, 0x33);
        quint8 status = 0;
        QCOMPARE(ClearGoodsCommand(Port(), kSpeed, kTimeOut, 0, kDevice, status), quint8(0x33));
        QCOMPARE(status, quint8(0x33));
    }

    void goodsWriteAndReadBack()
    {
        TGoods g{3, '0', QStringLiteral("кофе"), "4600000000000", "-1", 2};
        const TGoods written = g;
        QCOMPARE(Goods(0, g), quint8(0));
        QCOMPARE(Engine().ReceivedRequests().value(0).toHex(' '),
                 Hex("1702010000005433 00 0300 30 6b6f6665 0000000000000000000000000000000000000000"
                     "00b05d052f04 ffffffffff 02 19 d408")
                     .toHex(' '));
        const std::optional<TEmulatorItem> item = Engine().Item(3);
        QVERIFY(item);
        QCOMPARE(item->name, Hex("6b6f6665") + QByteArray(20, '\0'));
        QCOMPARE(item->barcode, quint64(4600000000000));
        QCOMPARE(item->price, quint64(0xFFFFFFFFFF));

        TGoods r{3, 0, "old", "0", "0", 0};
        QCOMPARE(Goods(1, r), quint8(0));
        QCOMPARE(r, (TGoods{3, '0', QStringLiteral("КОФЕ"), "4600000000000", "1099511627775", 2}));
        QVERIFY(r != written);
    }

    void goodsNameCutTo24()
    {
        TGoods g{10, '1', QStringLiteral("кофе ").repeated(6), "0", "1205", 255};
        QCOMPARE(g.name.size(), 30);
        QCOMPARE(Goods(0, g), quint8(0));
        QCOMPARE(Engine().ReceivedRequests().value(0).mid(12, 24),
                 QByteArray("kofe kofe kofe kofe kofe"));
        TGoods r{10, 0, {}, {}, {}, 0};
        QCOMPARE(Goods(1, r), quint8(0));
        QCOMPARE(r.name, QStringLiteral("КОФЕ КОФЕ КОФЕ КОФЕ КОФЕ"));
        QCOMPARE(r.price, QStringLiteral("1205"));
        QCOMPARE(r.department, quint8(255));
        QCOMPARE(r.font, quint8('1'));
    }

    void goodsBadNumberSendsNothing_data()
    {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("price");
        QTest::newRow("barcode letters") << "46000a"
                                         << "100";
        QTest::newRow("barcode empty") << ""
                                       << "100";
        QTest::newRow("barcode beyond 64 bits") << "9223372036854775808"
                                                << "100";
        QTest::newRow("price with kopecks point") << "1"
                                                  << "12.05";
        QTest::newRow("price beyond 32 bits") << "1"
                                              << "2147483648";
    }
    void goodsBadNumberSendsNothing()
    {
        QFETCH(QString, barcode);
        QFETCH(QString, price);
        TGoods g{4, '0', "ABC", barcode, price, 1};
        const TGoods before = g;
        QCOMPARE(Goods(0, g), quint8(5));
        QCOMPARE(g, before);
        // The port was closed again: the next command opens it and is answered.
        TDeviceStatus s;
        QCOMPARE(StatusCommand(Port(), kSpeed, kTimeOut, 0, kDevice, s), quint8(0));
        QCOMPARE(Engine().ReceivedCount(), 1);
        QCOMPARE(Engine().ReceivedRequests().value(0).at(6), 'u');
    }

    void busyRepeats_data()
    {
        QTest::addColumn<int>("busyStatus");
        QTest::addColumn<int>("busyCount");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("requests");
        QTest::newRow("ten busy") << 21 << 10 << 21 << 10;
        QTest::newRow("more than ten busy") << 20 << 15 << 20 << 10;
        QTest::newRow("success on the third") << 22 << 2 << 0 << 3;
    }
    void busyRepeats()
    {
        QFETCH(int, busyStatus);
        QFETCH(int, busyCount);
        QFETCH(int, result);
        QFETCH(int, requests);
        Engine().AnswerBusy(quint8(busyStatus), busyCount);
        TDeviceStatus s;
        QCOMPARE(int(StatusCommand(Port(), kSpeed, kTimeOut, 0, kDevice, s)), result);
        QCOMPARE(Engine().ReceivedCount(), requests);
    }

    void goodsReadAfterTenBusyKeepsCallersValues()
    {
        TEmulatorItem item;
        item.name = Hex("7e656b");
        item.barcode = 99;
        QVERIFY(Engine().SetItem(5, item));
        Engine().AnswerBusy(21, 10);
        TGoods g{5, '1', "mine", "1", "2", 3};
        const TGoods before = g;
        QCOMPARE(Goods(1, g), quint8(21));
        QCOMPARE(g, before);
        // With the busy spell over, the same read hands back the item.
        QCOMPARE(Goods(1, g), quint8(0));
        QCOMPARE(g.name, QStringLiteral("ЧЕК"));
        QCOMPARE(g.barcode, QStringLiteral("99"));
    }

    void goodsErrorStatusStillCopies()
    {
        Engine().AnswerStatusAt(1, 0x40);
        TGoods g{6, '1', "mine", "1", "2", 3};
        QCOMPARE(Goods(1, g), quint8(0x40));
        QCOMPARE(g.name, QString());
        QCOMPARE(g.barcode, QStringLiteral("0"));
        QCOMPARE(g.number, quint16(6));
    }

    void tableReadAfterTenBusyKeepsLastAnswer()
    {
        QVERIFY(Engine().SetField(4, 1, 0, TEmulatorField{'1', Hex("7e656b2035")}));
        Engine().AnswerBusy(22, 10);
        quint8 attribute = '0';
        QString text = "mine";
        QCOMPARE(Field(1, 4, 1, 0, attribute, text), quint8(22));
        QCOMPARE(Engine().ReceivedCount(), 10);
        QCOMPARE(text, QStringLiteral("ЧЕК 5"));
        QCOMPARE(attribute, quint8('1'));
    }

    void tableWrite_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("upper-cased") << QStringLiteral("чек 5") << true << Hex("7e656b2035");
        QTest::newRow("as typed") << QStringLiteral("чек 5") << false << QByteArray("    5");
        QTest::newRow("30 characters, 24 sent")
            << QStringLiteral("ЧЕК 5 ").repeated(5) << true << QByteArray("~ek 5 ").repeated(4);
    }
    void tableWrite()
    {
        QFETCH(QString, text);
        QFETCH(bool, upper);
        QFETCH(QByteArray, sent);
        // A busy answer first: the second request must be the very same bytes.
        Engine().AnswerBusy(21, 1);
        quint8 attribute = '1';
        const QString before = text;
        QCOMPARE(Field(0, 2, 3, 0, attribute, text, upper), quint8(0));
        QCOMPARE(text, before);
        const QList<QByteArray> requests = Engine().ReceivedRequests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].size(), 40);
        QCOMPARE(requests[1], requests[0]);
        QCOMPARE(requests[0].mid(8, 5), Hex("0002030031"));
        QCOMPARE(requests[0].mid(13, 24), sent + QByteArray(24 - sent.size(), '\0'));
        QCOMPARE(Engine().Field(2, 3, 0)->text, requests[0].mid(13, 24));
    }

    void swappedChecksumGives3()
    {
        Engine().CorruptChecksum(1);
        TDeviceStatus s;
        s.A = 0xAA;
        QCOMPARE(StatusCommand(Port(), kSpeed, kTimeOut, 0, kDevice, s), quint8(3));
        QCOMPARE(Engine().ReceivedCount(), 1);
        QCOMPARE(s.A, quint8(0xAA));
    }

    void shortAnswerWithOwnChecksum()
    {
        // Five bytes of a 31-byte answer, then a checksum over them: accepted, and its byte 3
        // is the result.
        Engine().AnswerStatusAt(1, 0x44);
        Engine().CutNextAnswer(5, true);
        TDeviceStatus s;
        QCOMPARE(StatusCommand(Port(), kSpeed, kTimeOut, 0, kDevice, s), quint8(0x44));
        QCOMPARE(Engine().ReceivedCount(), 1);
        QCOMPARE(s.A, Engine().StatusValues().A);
    }

    void missingPortTouchesNothing()
    {
        const QString missing = QStringLiteral("/dev/kkt-no-such-port");
        TDeviceStatus s;
        s.O = 42;
        QCOMPARE(StatusCommand(missing, kSpeed, kTimeOut, 0, kDevice, s), quint8(1));
        QCOMPARE(s.O, quint64(42));
        TGoods g{1, '1', "mine", "bad", "bad", 9};
        const TGoods before = g;
        QCOMPARE(GoodsItemCommand(missing, kSpeed, kTimeOut, 0, kDevice, 1, g.number, g.font,
                                  g.name, g.barcode, g.price, g.department),
                 quint8(1));
        QCOMPARE(g, before);
        quint8 attribute = '1', status = 0xEE;
        QString text = "mine";
        QCOMPARE(TableFieldCommand(missing, kSpeed, kTimeOut, 0, kDevice, 1, 4, 1, 0, attribute,
                                   text, true),
                 quint8(1));
        QCOMPARE(text, QStringLiteral("mine"));
        QCOMPARE(ClearGoodsCommand(missing, kSpeed, kTimeOut, 0, kDevice, status), quint8(1));
        QCOMPARE(status, quint8(0xEE));
        QCOMPARE(Engine().ReceivedCount(), 0);
    }

    // Timing: silence ends after the total time-out, with no second request.
    void silenceGives2AfterTimeOut()
    {
        Engine().StaySilent(1);
        TDeviceStatus s;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(StatusCommand(Port(), kSpeed, 300, 0, kDevice, s), quint8(2));
        QVERIFY2(timer.elapsed() >= 290, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(Engine().ReceivedCount(), 1);
    }

    // Timing: more than 1500 ms between two bytes cuts the answer short, long before the
    // total time-out; the part that came fails the checksum.
    void gapBetweenBytesGivesShortRead()
    {
        Engine().PauseInNextAnswer(10, 1800);
        TDeviceStatus s;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(StatusCommand(Port(), kSpeed, 10000, 0, kDevice, s), quint8(3));
        QVERIFY2(timer.elapsed() >= 1450, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(timer.elapsed() < 6000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(Engine().ReceivedCount(), 1);
    }

    // A link owns its line: it holds the port between commands only when kept open, gives it
    // back when a command fails or the link goes, and tells its own observers of every opening
    // and frame.
    void linkHoldsItsPortAndTellsItsObservers_data()
    {
        QTest::addColumn<bool>("keepOpen");
        QTest::newRow("kept open") << true;
        QTest::newRow("for each command") << false;
    }
    void linkHoldsItsPortAndTellsItsObservers()
    {
        QFETCH(bool, keepOpen);
        TSerialLine other;
        QStringList opened;
        QStringList frames;
        {
            TRegisterLink link({Port(), kSpeed, kTimeOut, kDevice});
            link.SetKeepOpen(keepOpen);
            link.SetOpenObserver([&](const QString &failure) { opened += failure; });
            link.SetExchangeHook([&](const TExchangeEvent &e) {
                frames += e.port + (e.answer ? QStringLiteral(" <-") : QStringLiteral(" ->"));
            });
            TDeviceStatus s;
            TGoods g{7, '0', "хлеб", "1", "100", 1};
            QCOMPARE(StatusCommand(link, s), quint8(0));
            QCOMPARE(Goods(link, 0, g), quint8(0));
            QCOMPARE(StatusCommand(link, s), quint8(0));
            QCOMPARE(link.IsOpen(), keepOpen);
#ifdef Q_OS_WIN
            // Wine lets a COM port that is already open be opened again.
            const bool exclusive = !RunningUnderWine();
#else
            const bool exclusive = true;
#endif
            if (exclusive || !keepOpen)
                QCOMPARE(other.Open(Port(), kSpeed), !keepOpen);
            other.Close();
            // A failed command closes even a link kept open; the next one opens it again.
            Engine().StaySilent(1);
            QCOMPARE(ClearGoodsCommand(link, 200, g.department), quint8(2));
            QVERIFY(!link.IsOpen());
            QCOMPARE(StatusCommand(link, s), quint8(0));
            QCOMPARE(link.IsOpen(), keepOpen);
        }
        QVERIFY(other.Open(Port(), kSpeed));
        other.Close();
        QCOMPARE(opened, QStringList(keepOpen ? 2 : 5, QString()));
        QStringList expected;
        for (int i = 0; i < 5; ++i)
            expected << Port() + QStringLiteral(" ->") << Port() + QStringLiteral(" <-");
        QCOMPARE(frames, expected);
        QCOMPARE(Engine().ReceivedCount(), 5);

        TRegisterLink missing({QStringLiteral("/dev/kkt-no-such-port"), kSpeed, kTimeOut, kDevice});
        missing.SetOpenObserver([&](const QString &failure) { opened = {failure}; });
        TDeviceStatus s;
        QCOMPARE(StatusCommand(missing, s), quint8(1));
        QCOMPARE(opened, QStringList{QStringLiteral("Порт /dev/kkt-no-such-port не найден")});
        QCOMPARE(missing.LastOpenFailure(), opened.front());
    }

    // The link's wait pump runs while an answer is awaited, once before the first byte at
    // least; its false gives the wait up.
    void waitPumpGivesUpTheWait()
    {
        Engine().StaySilentAlways(true);
        TRegisterLink link({Port(), kSpeed, 20000, kDevice});
        int pumped = 0;
        link.SetWaitPump([&pumped] { return ++pumped < 3; });
        TDeviceStatus s;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(StatusCommand(link, s), quint8(2));
        QCOMPARE(pumped, 3);
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));

        // An answered exchange gives the pump its turn too, while the answer is on its way.
        Engine().StaySilentAlways(false);
        pumped = 0;
        link.SetWaitPump([&pumped] { return ++pumped > 0; });
        QCOMPARE(StatusCommand(link, s), quint8(0));
        QVERIFY(pumped >= 1);
    }
};

QTEST_GUILESS_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
