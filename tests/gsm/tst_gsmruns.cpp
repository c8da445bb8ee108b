// The GSM parameter runs without windows: values in a list, the register on a pseudo-terminal.
#include "gsmruns.h"
#include "registerfixture.h"

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

} // namespace

class TestGsmRuns : public QObject
{
    Q_OBJECT
private:
    TRegisterFixture r;
    TStructSetting &settings = r.settings;

private slots:
    void init() { QVERIFY2(r.Reset(), qPrintable(r.ErrorText())); }

    void writtenParametersReadBack()
    {
        TListValues source;
        source.values = {"10.0.0.1",     QString(30, 'S'), "7790",  "1234",
                         "INTERNET.APN", "USER",           "SECRET"};
        QVERIFY(WriteGsm(source, settings).Done());
        // Seven parameters, the server name in three fields.
        QCOMPARE(r.Engine().ReceivedCount(), 9);
        TListValues sink;
        TStopAfter all(8);
        QVERIFY(ReadGsm(sink, settings, &all).Done());
        QCOMPARE(sink.values, source.values);
        QCOMPARE(all.seen.size(), 7);
        QCOMPARE(all.seen.last(), (QList<qint64>{7, 7, 7}));
    }

    void failureNamesTheParameter()
    {
        TListValues values;
        r.Engine().AnswerStatusAt(6, 0x7F); // the PIN, after the name's three fields
        const TGsmRunResult result = WriteGsm(values, settings);
        QCOMPARE(int(result.outcome), int(TGsmRunResult::TOutcome::Failed));
        QCOMPARE(result.code, quint8(0x7F));
        QCOMPARE(r.Engine().ReceivedCount(), 6);
        QCOMPARE(GsmRunMessage(true, result),
                 QStringLiteral("ВНИМАНИЕ!\r\nНе удалось записать параметр PIN-код сим карты!"));
    }

    void stoppedReadKeepsWhatItRead()
    {
        TListValues sink;
        TStopAfter two(2);
        const TGsmRunResult result = ReadGsm(sink, settings, &two);
        QCOMPARE(int(result.outcome), int(TGsmRunResult::TOutcome::Stopped));
        QCOMPARE(r.Engine().ReceivedCount(), 2);
        // Device rows 1 and 2: the address (grid row 1) and the port (grid row 3).
        QCOMPARE(sink.values.size(), 3);
        QCOMPARE(GsmRunMessage(false, result), QString());
    }
};

QTEST_GUILESS_MAIN(TestGsmRuns)
#include "tst_gsmruns.moc"
