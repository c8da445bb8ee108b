#include "clijob.h"
#include "configcells.h"
#include "configfile.h"
#include "emulatorpty.h"
#include "gsmruns.h"
#include "tableruns.h"
#include "tempfolder.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <memory>

#ifdef Q_OS_WIN
#include "winecommwait.h"
#endif

namespace
{

struct TCliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

TCliRun RunCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(KKT_CLI_PROGRAM), args);
    TCliRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList Link(const TEmulatorPty &pty)
{
    return {QStringLiteral("--port"),    pty.PortName(),
            QStringLiteral("--speed"),   QStringLiteral("115200"),
            QStringLiteral("--timeout"), QStringLiteral("400")};
}

// Values of every part, in the capitals and forms a read brings back.
TConfig SampleConfig()
{
    TConfig c = DefaultGridConfig();
    c.Gsm.Values = {"10.0.0.1", "OFD.EXAMPLE.RU", "7777", "1234", "INTERNET", "USER"};
    c.Tables.Oper[0].Position = QStringLiteral("КАССИР");
    c.Tables.Oper[0].Surname1 = QStringLiteral("ИВАНОВ");
    c.Tables.Oper[0].Surname1Font = QStringLiteral("Широкий");
    c.Tables.Oper[0].Password = QStringLiteral("1");
    c.Tables.PredmRasch[0] = {QStringLiteral("ХЛЕБ"), QStringLiteral("Узкий"),
                              QStringLiteral("4600000000001"), QStringLiteral("45.50"),
                              QStringLiteral("1")};
    c.Tables.PredmRasch[1] = {QStringLiteral("МОЛОКО"), QStringLiteral("Широкий"),
                              QStringLiteral("4600000000002"), QStringLiteral("80.00"),
                              QStringLiteral("2")};
    c.Tables.RpiznPredmRasch[2].Name = QStringLiteral("ОТДЕЛ 3");
    c.Tables.Klishe[0].Text = QStringLiteral("ООО РОМАШКА");
    c.Tables.Agent[1].Value = QStringLiteral("123");
    return c;
}

class TGsmRows : public TGsmValues
{
public:
    explicit TGsmRows(const TConfig &c) : c_(c) {}
    QString Value(int row) const override
    {
        return row <= kConfigGsmCount ? c_.Gsm.Values[std::size_t(row - 1)] : QString();
    }
    void SetValue(int, const QString &) override {}

private:
    const TConfig &c_;
};

// kkt-cli.exe is a program of its own: under Wine it lacks the tests' stand-in for Wine's wait for
// a COM port's input (winecommwait.h), so it reads no answer of the emulated register there.
#ifdef Q_OS_WIN
#define SKIP_ANSWERS_UNDER_WINE()                                                                  \
    do {                                                                                           \
        if (RunningUnderWine())                                                                    \
            QSKIP("under Wine kkt-cli.exe, a program of its own, reads no answer from a COM port " \
                  "(Wine never completes the serial library's wait for input)");                   \
    } while (false)
#else
#define SKIP_ANSWERS_UNDER_WINE() static_cast<void>(0)
#endif

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        folder = std::make_unique<TTempProgramFolder>();
        pty = std::make_unique<TEmulatorPty>();
        QVERIFY(pty->IsOpen());
        confPath = folder->FilePath(QStringLiteral("shop.conf"));
        QVERIFY(WriteConfigFile(confPath, SampleConfig()));
    }
    void cleanup()
    {
        pty.reset();
        folder.reset();
    }

    void writeSendsTheFramesOfTheWindowsRuns()
    {
        SKIP_ANSWERS_UNDER_WINE();
        const QString tracePath = folder->FilePath(QStringLiteral("trace.log"));
        const TCliRun run = RunCli(
            QStringList{"write", confPath, "--goods", "1-3", "--trace", tracePath} + Link(*pty));
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> sent = pty->Engine().ReceivedRequests();

        // The windows: the file loaded into the grids as they are after start, then each tab's
        // write and the GSM write.
        TConfig loaded = DefaultGridConfig();
        QVERIFY(ReadConfigFile(confPath, loaded));
        const TConfigCells grids(loaded.Tables);
        TStructSetting settings;
        settings.Port = {pty->PortName(), 115200, 400};
        pty->Engine().ClearReceivedRequests();
        for (int t = 0; t < kTableTabCount; ++t) {
            const TTableTab tab = TTableTab(t);
            const int last = tab == TTableTab::Goods ? 3 : TabLayout(tab).maximum;
            QVERIFY(WriteTables(tab, 1, last, grids, settings).Done());
        }
        QVERIFY(WriteGsm(TGsmRows(loaded), settings).Done());
        QCOMPARE(sent, pty->Engine().ReceivedRequests());

        // One request and one answer line for each exchange.
        QFile trace(tracePath);
        QVERIFY(trace.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = trace.readAll().split('\n');
        QCOMPARE(lines.size() - 1, 2 * sent.size());
        QVERIFY(lines.at(1).contains(QStringLiteral("<- 'p' статус 0 попытка 1").toUtf8()));
    }

    void readSavesAsTheWindowsAndVerifyFindsOneChangedField()
    {
        SKIP_ANSWERS_UNDER_WINE();
        const QStringList parts{"--only", "oper,groups,cliche,agents,gsm,goods", "--goods", "1-2"};
        QCOMPARE(RunCli(QStringList{"write", confPath} + parts + Link(*pty)).exitCode, 0);
        const QString readPath = folder->FilePath(QStringLiteral("read.conf"));
        const TCliRun read = RunCli(QStringList{"read", readPath} + parts + Link(*pty));
        QCOMPARE(read.exitCode, 0);

        QCOMPARE(folder->Read(QStringLiteral("read.conf")),
                 folder->Read(QStringLiteral("shop.conf")));
        QCOMPARE(RunCli(QStringList{"verify", readPath} + parts + Link(*pty)).exitCode, 0);

        const TFieldAddress at = FieldAddress(TTableTab::Cliche, 1, 0);
        TEmulatorField field = *pty->Engine().Field(at.table, at.row, at.field);
        field.text = QByteArray("OOO LUTIK").leftJustified(24, '\0');
        QVERIFY(pty->Engine().SetField(at.table, at.row, at.field, field));
        const TCliRun verify = RunCli(QStringList{"verify", readPath} + parts + Link(*pty));
        QCOMPARE(verify.exitCode, 1);
        const QStringList differences = verify.out.split('\n').filter(QStringLiteral("в файле"));
        QCOMPARE(differences,
                 QStringList{"Клише, строка 1, Наименование: в файле \"ООО РОМАШКА\", в ККТ "
                             "\"OOO LUTIK\""});
    }

    void oneSilentRegisterDoesNotStopTheOthers()
    {
        SKIP_ANSWERS_UNDER_WINE();
        TEmulatorPty second, silent;
        silent.Engine().StaySilentAlways(true);
        const TCliRun run =
            RunCli(QStringList{"write", confPath, "--only", "oper", "--json"} + Link(*pty) +
                   QStringList{"--port", second.PortName() + "," + silent.PortName()});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out.count(QStringLiteral("\"event\":\"end\"")), 3);
        QCOMPARE(run.out.count(QStringLiteral("\"result\":\"ok\"")), 2);
        QCOMPARE(run.err.trimmed(),
                 silent.PortName() +
                     ": Операторы: Внимание! Ошибка (2) при записи оператора с номером 1 !");
        QCOMPARE(second.Engine().ReceivedRequests(), pty->Engine().ReceivedRequests());
        // A port that does not open says why after the result.
        const TCliRun missing =
            RunCli(QStringList{"status", "--port", QStringLiteral("/dev/kkt-no-such-port")});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY2(
            missing.err.contains(QStringLiteral("(код 1) (Порт /dev/kkt-no-such-port не найден)")),
            qPrintable(missing.err));
    }

    void interruptEndsTheRunAfterItsExchange()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no interrupt signal to send to another program (Ctrl+C reaches only "
              "the programs of one console)");
#else
        pty->Engine().SetLineSpeed(9600);
        QProcess process;
        process.start(QStringLiteral(KKT_CLI_PROGRAM),
                      QStringList{"write", confPath, "--only", "goods"} + Link(*pty));
        QTRY_VERIFY_WITH_TIMEOUT(pty->Engine().ReceivedCount() >= 5, 20000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        const int sent = pty->Engine().ReceivedCount();
        QVERIFY(sent < kGoodsItemCount);
        QVERIFY2(err.contains(QStringLiteral("остановлено после: Предмет расчета, товар ") +
                              QString::number(sent)),
                 qPrintable(err));
#endif
    }

    void badArgumentsAreRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"burn"};
        QTest::newRow("goods from 0") << QStringList{"write", "x.conf", "--goods", "0-5"};
        QTest::newRow("goods past 6000") << QStringList{"write", "x.conf", "--goods", "5-6001"};
        QTest::newRow("unknown table") << QStringList{"write", "x.conf", "--only", "gods"};
        QTest::newRow("clearing unconfirmed") << QStringList{"clear-goods"};
        QTest::newRow("missing file") << QStringList{"write", "/nonexistent/x.conf"};
        QTest::newRow("unknown option") << QStringList{"status", "--colour"};
    }
    void badArgumentsAreRefused()
    {
        QFETCH(QStringList, args);
        const TCliRun run = RunCli(args + Link(*pty));
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.startsWith(QStringLiteral("kkt-cli: ")));
        QCOMPARE(pty->Engine().ReceivedCount(), 0);
    }

private:
    std::unique_ptr<TTempProgramFolder> folder;
    std::unique_ptr<TEmulatorPty> pty;
    QString confPath;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
