// The GSM parameters without windows: the key filter of their cells, and the runs with values
// in a list and the register on a pseudo-terminal.
#include "gsmparams.h"
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

    void keyFilterJudgesEachRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QChar>("key");
        QTest::addColumn<bool>("accepted");

        const QChar backspace(u'\b');
        QTest::newRow("address digit") << 1 << "10.0" << QChar(u'7') << true;
        QTest::newRow("address dot") << 1 << "10" << QChar(u'.') << true;
        QTest::newRow("address letter") << 1 << "" << QChar(u'a') << false;
        QTest::newRow("address 16th") << 1 << "255.255.255.255" << QChar(u'1') << false;
        QTest::newRow("address full backspace") << 1 << "255.255.255.255" << backspace << true;
        QTest::newRow("name any") << 2 << "ofd" << QChar(u'-') << true;
        QTest::newRow("name cyrillic") << 2 << "" << QChar(u'ж') << true;
        QTest::newRow("name 72nd") << 2 << QString(71, u'x') << QChar(u'x') << true;
        QTest::newRow("name 73rd") << 2 << QString(72, u'x') << QChar(u'x') << false;
        QTest::newRow("port digit") << 3 << "" << QChar(u'9') << true;
        QTest::newRow("port dot") << 3 << "80" << QChar(u'.') << false;
        QTest::newRow("port 6th") << 3 << "12345" << QChar(u'1') << false;
        QTest::newRow("pin letter") << 4 << "" << QChar(u'a') << false;
        QTest::newRow("pin cyrillic") << 4 << "1" << QChar(u'б') << false;
        QTest::newRow("pin 4th digit") << 4 << "123" << QChar(u'4') << true;
        QTest::newRow("pin 5th digit") << 4 << "1234" << QChar(u'5') << false;
        QTest::newRow("pin full backspace") << 4 << "1234" << backspace << true;
        QTest::newRow("apn any") << 5 << "internet" << QChar(u'.') << true;
        QTest::newRow("apn 25th") << 5 << QString(24, u'a') << QChar(u'a') << false;
        QTest::newRow("login 25th") << 6 << QString(24, u'a') << QChar(u'a') << false;
        QTest::newRow("password 24th") << 7 << QString(23, u'a') << QChar(u'a') << true;
        QTest::newRow("password 25th") << 7 << QString(24, u'a') << QChar(u'a') << false;
        QTest::newRow("other row") << 9 << QString(100, u'a') << QChar(u'a') << true;
    }

    void keyFilterJudgesEachRow()
    {
        QFETCH(int, row);
        QFETCH(QString, current);
        QFETCH(QChar, key);
        QFETCH(bool, accepted);

        const std::optional<QChar> result = GsmKeyFilter(row, key, current);
        QCOMPARE(result.has_value(), accepted);
        if (accepted)
            QCOMPARE(*result, key);
    }

    // The parameters go in device row order, the server name in three fields; the address,
    // name, port and PIN in capitals, the APN, login and password as typed.
    void writeRequestsInDeviceRowOrder()
    {
        TListValues source;
        source.values = {"10.0.0.1", "ofd.ru", "7777", "1234", "internet", "User", "Pass"};
        QVERIFY(WriteGsm(source, settings).Done());
        const QList<TRequest> requests = r.Requests();
        QCOMPARE(requests.size(), 9);
        const int rows[] = {1, 2, 3, 3, 3, 4, 5, 6, 7};
        const int fields[] = {0, 0, 0, 1, 2, 0, 0, 0, 0};
        const QByteArray texts[] = {"10.0.0.1", "7777",     "OFD.RU", "",    "",
                                    "1234",     "internet", "User",   "Pass"};
        for (int i = 0; i < 9; ++i) {
            const TRequest &q = requests[i];
            QCOMPARE((QList<int>{q.mode, q.table, q.row, q.field, q.attribute}),
                     (QList<int>{0, 5, rows[i], fields[i], '0'}));
            QCOMPARE(q.text, texts[i]);
        }
    }

    // The name is cut into 24-character fields from the front; the fields after its end are
    // written empty, over whatever the register held.
    void serverNameFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("stored");
        const QString a24(24, u'A'), b24(24, u'B'), c24(24, u'C');
        QTest::newRow("72 characters") << a24 + b24 + c24 << QStringList{a24, b24, c24};
        QTest::newRow("no characters") << "" << QStringList{"", "", ""};
        QTest::newRow("30 characters") << a24 + "BBBBBB" << QStringList{a24, "BBBBBB", ""};
    }

    void serverNameFields()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, stored);
        for (int field = 0; field < 3; ++field)
            r.Engine().SetField(5, 3, field, {'0', Padded("OLD")});
        TListValues source;
        source.values = {"", name};
        QVERIFY(WriteGsm(source, settings).Done());
        for (int field = 0; field < 3; ++field)
            QCOMPARE(r.Engine().Field(5, 3, field)->text, Padded(stored.at(field).toLatin1()));
    }

    // The name goes to grid row 2 and the port to row 3, although the register keeps the port
    // first; the name's three fields joined.
    void readFillsTheGridRowsOfTheDeviceRows()
    {
        TEmulatorEngine &engine = r.Engine();
        const QByteArray a24(24, 'A'), b24(24, 'B');
        engine.SetField(5, 1, 0, {'0', Padded("91.107.67.212")});
        engine.SetField(5, 2, 0, {'0', Padded("21101")});
        engine.SetField(5, 3, 0, {'0', a24});
        engine.SetField(5, 3, 1, {'0', b24});
        engine.SetField(5, 3, 2, {'0', Padded("RU")});
        engine.SetField(5, 4, 0, {'0', Padded("0000")});
        engine.SetField(5, 7, 0, {'0', Padded("SECRET")});
        TListValues sink;
        QVERIFY(ReadGsm(sink, settings).Done());
        QCOMPARE(sink.values, (QStringList{"91.107.67.212", QString::fromLatin1(a24 + b24 + "RU"),
                                           "21101", "0000", "", "", "SECRET"}));
        const QList<TRequest> requests = r.Requests();
        QCOMPARE(requests.size(), 9);
        const int rows[] = {1, 2, 3, 3, 3, 4, 5, 6, 7};
        for (int i = 0; i < 9; ++i)
            QCOMPARE((QList<int>{requests[i].mode, requests[i].row}), (QList<int>{1, rows[i]}));
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
