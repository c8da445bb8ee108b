#include "devicecommands.h"
#include "exchangelog.h"
#include "registerfixture.h"

#include <QTest>
#include <QTime>

namespace
{
enum class TFault { BusyTwice, Silent, BadChecksum, CutShort, RegisterStatus3, RegisterError };

constexpr int kTimeWidth = 14; // "HH:mm:ss.zzz" and two spaces
const QString kRequest =
    QStringLiteral("ПК → ККТ  u  попытка  %1  17 02 01 00 00 00 75 0B 19 B3 00");

TExchangeRecord Numbered(int n)
{
    TExchangeRecord record;
    record.msecs = n;
    return record;
}
} // namespace

// The lines of real exchanges with the emulated register, the bounded store, the hook's setting.
class TestExchangeLog : public QObject
{
    Q_OBJECT
    TRegisterFixture r;

private slots:
    void init() { QVERIFY2(r.Reset(), qPrintable(r.ErrorText())); }
    void cleanup() { TExchangeCapture::Instance().Stop(); }

    void linesOfAnExchange_data()
    {
        QTest::addColumn<TFault>("fault");
        QTest::addColumn<QStringList>("lines"); // each after the time, up to its length
        const QString answer = QStringLiteral("ККТ → ПК  u  попытка  %1  статус ");
        QTest::newRow("busy twice, then done")
            << TFault::BusyTwice
            << QStringList{kRequest.arg(1), answer.arg(1) + "21 (ККТ занята)  17 02 75 15",
                           kRequest.arg(2), answer.arg(2) + "21 (ККТ занята)  17 02 75 15",
                           kRequest.arg(3), answer.arg(3) + "0 (успешно)  17 02 75 00 01 02"};
        QTest::newRow("silent") << TFault::Silent
                                << QStringList{kRequest.arg(1), answer.arg(1) + "2 (нет ответа)"};
        QTest::newRow("bad checksum")
            << TFault::BadChecksum
            << QStringList{kRequest.arg(1),
                           answer.arg(1) + "3 (неверная контрольная сумма)  17 02 75 00"};
        QTest::newRow("cut short")
            << TFault::CutShort
            << QStringList{kRequest.arg(1), answer.arg(1) + "3 (ответ слишком короткий)  17 02"};
        QTest::newRow("register's own 3")
            << TFault::RegisterStatus3
            << QStringList{kRequest.arg(1), answer.arg(1) + "3 (ошибка ККТ)  17 02 75 03"};
        QTest::newRow("register's error")
            << TFault::RegisterError
            << QStringList{kRequest.arg(1), answer.arg(1) + "127 (ошибка ККТ)  17 02 75 7F"};
    }
    void linesOfAnExchange()
    {
        QFETCH(TFault, fault);
        QFETCH(QStringList, lines);
        TEmulatorEngine &engine = r.Engine();
        switch (fault) {
        case TFault::BusyTwice:
            engine.AnswerBusy(21, 2);
            break;
        case TFault::Silent:
            engine.StaySilent(1);
            break;
        case TFault::BadChecksum:
            engine.CorruptChecksum(1);
            break;
        case TFault::CutShort:
            engine.CutNextAnswer(2, false);
            break;
        case TFault::RegisterStatus3:
            engine.AnswerStatusAt(1, 3);
            break;
        case TFault::RegisterError:
            engine.AnswerStatusAt(1, 0x7F);
            break;
        }
        TExchangeCapture::Instance().Start();
        TDeviceStatus status;
        StatusCommand(r.settings.Port.Name, 115200, 300, 0, 1, status);
        QStringList got;
        for (const TExchangeRecord &record : TExchangeCapture::Instance().Take()) {
            const QString line = ExchangeLogLine(record);
            QVERIFY2(QTime::fromString(line.left(12), "HH:mm:ss.zzz").isValid(), qPrintable(line));
            got.append(line.mid(kTimeWidth));
        }
        QCOMPARE(got.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(got[i].startsWith(lines[i]), qPrintable(got[i] + " / " + lines[i]));
        // No answer, no frame: the line ends with its meaning.
        if (fault == TFault::Silent)
            QCOMPARE(got.last(), lines.last());
    }

    void storeKeepsTheLast100000_data()
    {
        QTest::addColumn<int>("batch");
        QTest::newRow("one at a time") << 1;
        QTest::newRow("batches across the wrap") << 7001;
        QTest::newRow("one batch above the bound") << 250000;
    }
    void storeKeepsTheLast100000()
    {
        QFETCH(int, batch);
        TExchangeLogStore store;
        QCOMPARE(store.Capacity(), 100000);
        const int total = 250000;
        for (int n = 0; n < total;) {
            std::vector<TExchangeRecord> records;
            for (int i = 0; i < batch && n < total; ++i)
                records.push_back(Numbered(n++));
            store.Append(std::move(records));
        }
        QCOMPARE(store.Size(), 100000);
        for (const int row : {0, 1, 49999, 99999})
            QCOMPARE(store.At(row).msecs, qint64(total - 100000 + row));
        store.DropOldest(3);
        std::vector<TExchangeRecord> more;
        more.push_back(Numbered(total));
        store.Append(std::move(more));
        QCOMPARE(store.Size(), 99998);
        QCOMPARE(store.At(0).msecs, qint64(total - 100000 + 3));
        QCOMPARE(store.At(99997).msecs, qint64(total));
        store.Clear();
        QCOMPARE(store.Size(), 0);
    }

    void stoppedCaptureKeepsNothing()
    {
        QVERIFY(CurrentExchangeHook() == nullptr);
        TExchangeCapture::Instance().Start();
        QVERIFY(CurrentExchangeHook() != nullptr);
        TDeviceStatus status;
        QCOMPARE(StatusCommand(r.settings.Port.Name, 115200, 300, 0, 1, status), quint8(0));
        TExchangeCapture::Instance().Stop();
        QVERIFY(CurrentExchangeHook() == nullptr);
        StatusCommand(r.settings.Port.Name, 115200, 300, 0, 1, status);
        QVERIFY(TExchangeCapture::Instance().Take().empty());
    }
};

QTEST_GUILESS_MAIN(TestExchangeLog)
#include "tst_exchangelog.moc"
