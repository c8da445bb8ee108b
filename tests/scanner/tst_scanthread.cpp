// The barcode reader: collecting scans up to the carriage return, the length check, the
// 128-character cap, and the reader thread on a pseudo-terminal standing in for the scanner.
#include "barcodecollector.h"
#include "scannerpty.h"
#include "scanthread.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>

namespace
{

const QByteArray CR("\r");
const QByteArray Digits13("4601234567893");
const QByteArray Digits8("46012345");

QStringList Collect(const QList<QByteArray> &chunks)
{
    TBarcodeCollector collector;
    QStringList texts;
    for (const QByteArray &chunk : chunks)
        collector.Feed(chunk.constData(), chunk.size(),
                       [&texts](const QString &text) { texts << text; });
    return texts;
}

QStringList SpyTexts(const QSignalSpy &spy)
{
    QStringList texts;
    for (const QList<QVariant> &args : spy)
        texts << args.at(0).toString();
    return texts;
}

// A reader that notes on which thread each scan was finished.
class TRecordingScanThread : public TScanThread
{
public:
    ~TRecordingScanThread() override { Shutdown(); }
    std::atomic<int> offUiThread{0};
    std::atomic<int> onUiThread{0};
    Qt::HANDLE uiThread = QThread::currentThreadId();

protected:
    void DoBarcode(const QString &text) override
    {
        (QThread::currentThreadId() == uiThread ? onUiThread : offUiThread)++;
        TScanThread::DoBarcode(text);
    }
};

} // namespace

class TstScanThread : public QObject
{
    Q_OBJECT
private slots:
    void collectorGivesCheckedTexts_data();
    void collectorGivesCheckedTexts();
    void collectorCapsAScanAt128Characters();

    void scansArriveAsBarcodes_data();
    void scansArriveAsBarcodes();
    void moreThanOneReadWaitingLosesNothing();
    void pausedReaderDeliversNothing();
    void reopeningDropsWhatCameWhilePaused();
    void openFailsOnBadPortOrSpeed_data();
    void openFailsOnBadPortOrSpeed();
    void scansAreFinishedOffTheUiThreadAndDeliveredOnIt();

private:
    bool OpenRunning(TScanThread &reader, const TScannerPty &pty)
    {
        if (!reader.OpenScanPort(pty.SlavePath(), QStringLiteral("9600")))
            return false;
        reader.Resume();
        return reader.IsRunning();
    }
};

void TstScanThread::collectorGivesCheckedTexts_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("thirteen digits")
        << QList<QByteArray>{Digits13 + CR} << QStringList{QString::fromLatin1(Digits13)};
    QTest::newRow("eight digits") << QList<QByteArray>{Digits8 + CR}
                                  << QStringList{QString::fromLatin1(Digits8)};
    QTest::newRow("twelve digits give the empty text")
        << QList<QByteArray>{"460123456789\r"} << QStringList{QString()};
    QTest::newRow("a bare carriage return") << QList<QByteArray>{CR} << QStringList{QString()};
    QTest::newRow("split over three reads") << QList<QByteArray>{"4601", "23456", "7893\r"}
                                            << QStringList{QString::fromLatin1(Digits13)};
    QTest::newRow("no carriage return, no barcode") << QList<QByteArray>{Digits13} << QStringList{};
    QTest::newRow("two scans in one read")
        << QList<QByteArray>{Digits13 + CR + Digits8 + CR}
        << QStringList{QString::fromLatin1(Digits13), QString::fromLatin1(Digits8)};
    // A line feed after the carriage return belongs to the next scan, which then fails the check.
    QTest::newRow("CR LF spoils the next scan")
        << QList<QByteArray>{Digits8 + "\r\n" + Digits8 + "\r\n"}
        << QStringList{QString::fromLatin1(Digits8), QString()};
}

void TstScanThread::collectorGivesCheckedTexts()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QStringList, texts);
    QCOMPARE(Collect(chunks), texts);
}

void TstScanThread::collectorCapsAScanAt128Characters()
{
    TBarcodeCollector collector;
    QStringList texts;
    const QByteArray junk(200, '7');
    collector.Feed(junk.constData(), junk.size(), [&](const QString &t) { texts << t; });
    QCOMPARE(collector.Length(), 128);
    QVERIFY(texts.isEmpty());
    collector.Feed(CR.constData(), 1, [&](const QString &t) { texts << t; });
    QCOMPARE(texts, QStringList{QString()});
    QCOMPARE(collector.Length(), 0);
    // The next scan starts clean.
    const QByteArray next = Digits8 + CR;
    collector.Feed(next.constData(), next.size(), [&](const QString &t) { texts << t; });
    QCOMPARE(texts.last(), QString::fromLatin1(Digits8));
}

void TstScanThread::scansArriveAsBarcodes_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("thirteen digits")
        << QList<QByteArray>{Digits13 + CR} << QStringList{QString::fromLatin1(Digits13)};
    QTest::newRow("eight digits") << QList<QByteArray>{Digits8 + CR}
                                  << QStringList{QString::fromLatin1(Digits8)};
    QTest::newRow("twelve digits") << QList<QByteArray>{"460123456789\r"} << QStringList{QString()};
    QTest::newRow("split over several writes") << QList<QByteArray>{"460", "1234", "56789", "3\r"}
                                               << QStringList{QString::fromLatin1(Digits13)};
    QTest::newRow("200 bytes then a carriage return")
        << QList<QByteArray>{QByteArray(200, '5'), CR} << QStringList{QString()};
}

void TstScanThread::scansArriveAsBarcodes()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QStringList, texts);

    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TScanThread reader;
    QSignalSpy spy(&reader, &TScanThread::BarcodeScanned);
    QVERIFY(OpenRunning(reader, pty));
    for (const QByteArray &bytes : writes) {
        QVERIFY(pty.Write(bytes));
        QTest::qWait(20); // let each piece arrive on its own
    }
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), texts.size(), 5000);
    QCOMPARE(SpyTexts(spy), texts);
}

void TstScanThread::moreThanOneReadWaitingLosesNothing()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TScanThread reader;
    QSignalSpy spy(&reader, &TScanThread::BarcodeScanned);
    QVERIFY(OpenRunning(reader, pty));

    // Well over the 128 bytes one read takes, all written at once.
    const QByteArray second("2900000000017");
    const QByteArray burst = Digits13 + CR + second + CR + QByteArray(110, 'x') + CR + Digits8 +
                             CR + QByteArray(300, 'y') + CR + Digits13 + CR;
    QVERIFY(burst.size() > 2 * 128);
    QVERIFY(pty.Write(burst));

    const QStringList expected{QString::fromLatin1(Digits13),
                               QString::fromLatin1(second),
                               QString(),
                               QString::fromLatin1(Digits8),
                               QString(),
                               QString::fromLatin1(Digits13)};
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), expected.size(), 5000);
    QCOMPARE(SpyTexts(spy), expected);
}

void TstScanThread::pausedReaderDeliversNothing()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TScanThread reader;
    QSignalSpy spy(&reader, &TScanThread::BarcodeScanned);
    QVERIFY(OpenRunning(reader, pty));

    reader.Pause();
    QVERIFY(!reader.IsRunning());
    QVERIFY(pty.Write(Digits13 + CR));
    QVERIFY(!spy.wait(300));
    QCOMPARE(spy.size(), 0);
}

void TstScanThread::reopeningDropsWhatCameWhilePaused()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TScanThread reader;
    QSignalSpy spy(&reader, &TScanThread::BarcodeScanned);
    QVERIFY(OpenRunning(reader, pty));

    reader.Pause();
    // A whole scan and the start of another reach the paused reader.
    QVERIFY(pty.Write(Digits13 + CR + "1234"));
    QTest::qWait(100);
    QVERIFY(OpenRunning(reader, pty));
    QVERIFY(pty.Write(Digits8 + CR));
    QVERIFY(spy.wait(5000));
    QTest::qWait(100);
    QCOMPARE(SpyTexts(spy), QStringList{QString::fromLatin1(Digits8)});
}

void TstScanThread::openFailsOnBadPortOrSpeed_data()
{
    QTest::addColumn<bool>("realPort");
    QTest::addColumn<QString>("portName");
    QTest::addColumn<QString>("speed");

    QTest::newRow("missing port") << false << QStringLiteral("/dev/kkt-no-such-scanner")
                                  << QStringLiteral("9600");
    QTest::newRow("empty port name") << false << QString() << QStringLiteral("9600");
    QTest::newRow("speed not a number") << true << QString() << QStringLiteral("96OO");
    QTest::newRow("empty speed") << true << QString() << QString();
    QTest::newRow("zero speed") << true << QString() << QStringLiteral("0");
    QTest::newRow("negative speed") << true << QString() << QStringLiteral("-9600");
}

void TstScanThread::openFailsOnBadPortOrSpeed()
{
    QFETCH(bool, realPort);
    QFETCH(QString, portName);
    QFETCH(QString, speed);

    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TScanThread reader;
    QSignalSpy spy(&reader, &TScanThread::BarcodeScanned);
    QVERIFY(!reader.OpenScanPort(realPort ? pty.SlavePath() : portName, speed));

    // A failed open leaves nothing to read from, even when told to run.
    reader.Resume();
    QVERIFY(pty.Write(Digits8 + CR));
    QVERIFY(!spy.wait(200));

    // The same reader opens a good port afterwards.
    reader.Pause();
    QVERIFY(reader.OpenScanPort(pty.SlavePath(), QStringLiteral("115200")));
    reader.Resume();
    QVERIFY(pty.Write(Digits8 + CR));
    QVERIFY(spy.wait(5000));
    QCOMPARE(SpyTexts(spy), QStringList{QString::fromLatin1(Digits8)});
}

void TstScanThread::scansAreFinishedOffTheUiThreadAndDeliveredOnIt()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TRecordingScanThread reader;
    QList<Qt::HANDLE> handlerThreads;
    reader.SetOnBarcode(
        [&handlerThreads](const QString &) { handlerThreads << QThread::currentThreadId(); });
    QSignalSpy spy(&reader, &TScanThread::BarcodeScanned);
    QVERIFY(OpenRunning(reader, pty));
    QVERIFY(pty.Write(Digits13 + CR + Digits8 + CR));
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 5000);
    QCOMPARE(reader.offUiThread.load(), 2);
    QCOMPARE(reader.onUiThread.load(), 0);
    QCOMPARE(handlerThreads, (QList<Qt::HANDLE>{reader.uiThread, reader.uiThread}));
}

QTEST_GUILESS_MAIN(TstScanThread)
#include "tst_scanthread.moc"
