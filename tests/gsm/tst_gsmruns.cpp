// The GSM parameter runs without windows: values in a list, the register on a pseudo-terminal.
#include "emulatorpty.h"
#include "gsmruns.h"

#include <QTest>

namespace
{

class TListValues : public TGsmValues
{
public:
    QString Value(int gridRow) const override { return values.value(gridRow - 1); }
    void SetValue(int gridRow, const QString &value) override
    {
        while (values.size() < gridRow)
            values.append(QString());
        values[gridRow - 1] = value;
    }
    QStringList values;
};

class TStopAfter : public TRunObserver
{
public:
    explicit TStopAfter(int steps) : steps_(steps) {}
    bool Step(qint64 done, qint64, int) override
    {
        seen.append(int(done));
        return seen.size() < steps_;
    }
    QList<int> seen;

private:
    int steps_;
};

} // namespace

class TestGsmRuns : public QObject
{
    Q_OBJECT
private:
    TEmulatorPty pty;
    TStructSetting settings;

private slots:
    void init()
    {
        QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
        pty.Engine().ResetMemory();
        pty.Engine().ClearFaults();
        pty.Engine().ClearReceivedRequests();
        settings.Port.Name = pty.PortName();
        settings.Port.Speed = 115200;
        settings.Port.TimeOut = 300;
    }

    void writtenParametersReadBack()
    {
        TListValues source;
        source.values = {"10.0.0.1",     QString(30, 'S'), "7790",  "1234",
                         "INTERNET.APN", "USER",           "SECRET"};
        QVERIFY(WriteGsm(source, settings).Done());
        // Seven parameters, the server name in three fields.
        QCOMPARE(pty.Engine().ReceivedCount(), 9);
        TListValues sink;
        TStopAfter all(8);
        QVERIFY(ReadGsm(sink, settings, &all).Done());
        QCOMPARE(sink.values, source.values);
        QCOMPARE(all.seen, (QList<int>{1, 2, 3, 4, 5, 6, 7}));
    }

    void failureNamesTheParameter()
    {
        TListValues values;
        pty.Engine().AnswerStatusAt(6, 0x7F); // the PIN, after the name's three fields
        const TGsmRunResult result = WriteGsm(values, settings);
        QCOMPARE(int(result.outcome), int(TGsmRunResult::TOutcome::Failed));
        QCOMPARE(result.code, quint8(0x7F));
        QCOMPARE(pty.Engine().ReceivedCount(), 6);
        QCOMPARE(GsmRunMessage(true, result),
                 QStringLiteral("ВНИМАНИЕ!\r\nНе удалось записать параметр PIN-код сим карты!"));
    }

    void stoppedReadKeepsWhatItRead()
    {
        TListValues sink;
        TStopAfter two(2);
        const TGsmRunResult result = ReadGsm(sink, settings, &two);
        QCOMPARE(int(result.outcome), int(TGsmRunResult::TOutcome::Stopped));
        QCOMPARE(pty.Engine().ReceivedCount(), 2);
        // Device rows 1 and 2: the address (grid row 1) and the port (grid row 3).
        QCOMPARE(sink.values.size(), 3);
        QCOMPARE(GsmRunMessage(false, result), QString());
    }
};

QTEST_GUILESS_MAIN(TestGsmRuns)
#include "tst_gsmruns.moc"
