#include "clijob.h"
#include "clioptions.h"
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

class TQuietEvents : public TJobEvents
{
public:
    void Started(const QString &, qint64) override {}
    void Progress(const QString &, qint64, qint64, const QString &) override {}
};

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

    // A register's run opens its port once, before the first exchange, and gives it back at
    // its end, also when an exchange fails.
    void runOpensItsPortOnce()
    {
        TJobInput input;
        input.options =
            ParseCliArguments({"write", confPath, "--only", "oper,goods", "--goods", "1-3"})
                .options;
        input.config = SampleConfig();
        TRegisterLink link({pty->PortName(), 115200, 400, 0});
        link.SetKeepOpen(true);
        int opened = 0;
        link.SetOpenObserver([&opened](const QString &failure) { opened += failure.isEmpty(); });
        TQuietEvents events;
        const std::atomic<bool> stop{false};
        QCOMPARE(RunJob(input, link, events, stop).exitCode, 0);
        QCOMPARE(opened, 1);
        QVERIFY(pty->Engine().ReceivedCount() > 3);
        QVERIFY(!link.IsOpen());

        pty->Engine().StaySilent(1);
        QCOMPARE(RunJob(input, link, events, stop).exitCode, 1);
        QCOMPARE(opened, 2);
        QVERIFY(!link.IsOpen());
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
        // The machine-readable failure says what failed, and where.
        const TCliRun json = RunCli(QStringList{"verify", readPath, "--json"} + parts + Link(*pty));
        QVERIFY2(json.out.contains(QStringLiteral("{\"event\":\"failure\",\"message\":\"ККТ "
                                                  "отличается от файла, отличий: 1\",\"port\":\"") +
                                   pty->PortName() + QStringLiteral("\"}")),
                 qPrintable(json.out));
    }

    void oneSilentRegisterDoesNotStopTheOthers()
    {
        SKIP_ANSWERS_UNDER_WINE();
        TEmulatorPty second, silent;
        silent.Engine().StaySilentAlways(true);
        // The first port named twice ("pts/5" is /dev/pts/5) is one register, not one held by
        // another program.
        const QString again = pty->PortName().startsWith(QStringLiteral("/dev/"))
                                  ? pty->PortName().mid(5)
                                  : pty->PortName().toLower();
        const TCliRun run = RunCli(
            QStringList{"write", confPath, "--only", "oper", "--json"} + Link(*pty) +
            QStringList{"--port", second.PortName() + "," + silent.PortName(), "--port", again});
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
#ifndef Q_OS_WIN
        // A device without line settings, found out as it opens.
        const TCliRun null = RunCli(QStringList{"status", "--port", QStringLiteral("/dev/null")});
        QVERIFY2(null.err.contains(QStringLiteral("(код 1) (/dev/null не является последовательным "
                                                  "портом)")),
                 qPrintable(null.err));
#endif
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

    void closedOutputDoesNotEndTheRun()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows only fails a write to a closed pipe; it ends no program for it");
#else
        // A reader that takes one line and goes; the status is kkt-cli's own.
        QProcess process;
        process.start(QStringLiteral("bash"),
                      QStringList{"-c",
                                  "\"$0\" \"$@\" | head -n 1 >/dev/null; exit ${PIPESTATUS[0]}",
                                  KKT_CLI_PROGRAM, "write", confPath, "--only", "goods", "--goods",
                                  "1-300", "--json"} +
                          Link(*pty));
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(pty->Engine().ReceivedCount(), 300);
#endif
    }

    void interruptEndsTheClearingWaitAtOnce()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no interrupt signal to send to another program");
#else
        // A silent register: the clearing would wait its 30 s for the answer.
        pty->Engine().StaySilentAlways(true);
        QProcess process;
        process.start(QStringLiteral(KKT_CLI_PROGRAM),
                      QStringList{"clear-goods", "--yes"} + Link(*pty));
        QTRY_VERIFY_WITH_TIMEOUT(pty->Engine().ReceivedCount() == 1, 10000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 QStringLiteral("ВНИМАНИЕ! Операция прервана пользователем!\n"));
        QVERIFY(QString::fromUtf8(process.readAllStandardOutput())
                    .contains(QStringLiteral("прервано")));
#endif
    }

    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QStringList>("args");
        // After "kkt-cli: "; "@" stands for the test's folder.
        QTest::addColumn<QString>("message");
        // Names a pipe, a link or a plain file as a port, which Windows has not or words otherwise.
        QTest::addColumn<bool>("posixOnly");
        const QString range = QStringLiteral(" должен иметь вид A-B, где 1 <= A <= B <= 6000");
        QTest::newRow("no command")
            << QStringList{} << "Не указана команда (kkt-cli --help выводит список команд)"
            << false;
        QTest::newRow("unknown command")
            << QStringList{"burn"} << "Неизвестная команда: burn" << false;
        QTest::newRow("goods from 0") << QStringList{"write", "x.conf", "--goods", "0-5"}
                                      << "Диапазон товаров \"0-5\"" + range << false;
        QTest::newRow("goods past 6000") << QStringList{"write", "x.conf", "--goods", "5-6001"}
                                         << "Диапазон товаров \"5-6001\"" + range << false;
        QTest::newRow("unknown table")
            << QStringList{"write", "x.conf", "--only", "gods"}
            << "Неизвестная таблица в --only: gods (допустимы oper, goods, groups, cliche, agents, "
               "gsm)"
            << false;
        QTest::newRow("clearing unconfirmed")
            << QStringList{"clear-goods"}
            << "Очистка удаляет из ККТ всю базу товаров. Для подтверждения укажите --yes" << false;
        QTest::newRow("unknown option")
            << QStringList{"status", "--colour"} << "Неизвестный параметр: --colour" << false;
        QTest::newRow("speed no line takes")
            << QStringList{"status", "--speed", "14400"}
            << "Неверная скорость порта: 14400 (допустимы 600, 1200, 2400, 4800, 9600, 19200, "
               "38400, 57600, 115200)"
            << false;
        QTest::newRow("time-out past the settings")
            << QStringList{"status", "--timeout", "2147483648"}
            << "Неверный тайм-аут (мс): 2147483648 (допустимо от 1 до 2147483647)" << false;
        QTest::newRow("option as a port") << QStringList{"status", "--port", "--json"}
                                          << "Не указано значение параметра --port" << false;
        QTest::newRow("device past the settings")
            << QStringList{"status", "--device", "2147483648"}
            << "Неверный номер ККТ: 2147483648 (допустимо от 0 до 2147483647)" << false;

        // Files that would blank the register.
        QTest::newRow("missing file")
            << QStringList{"write", "/nonexistent/x.conf"}
            << "Файл не найден \"/nonexistent/x.conf\": нет такого файла" << false;
        QTest::newRow("configuration as goods")
            << QStringList{"write-goods", "@shop.conf"}
            << "Файл \"@shop.conf\" не содержит базы товаров: в нём нет ни одного раздела "
               "\"ТОВАР_#\""
            << false;
        QTest::newRow("settings as configuration")
            << QStringList{"write", "@ProgSett.ini"}
            << "Файл \"@ProgSett.ini\" не содержит конфигурации ККТ: в нём нет ни одного её "
               "раздела"
            << false;
        QTest::newRow("none of the tables named")
            << QStringList{"verify", "@gsm.conf", "--only", "cliche,oper"}
            << "Файл \"@gsm.conf\" не содержит таблиц из --only: oper, cliche" << false;

        // Names that are not what they are taken for, and outputs that cannot be written.
        QTest::newRow("trace into a missing folder")
            << QStringList{"status", "--trace", "/nonexistent/trace.log"}
            << "Не удалось открыть файл трассировки \"/nonexistent/trace.log\": Нет такого файла "
               "или каталога"
            << false;
        QTest::newRow("trace into a pipe")
            << QStringList{"write", "@shop.conf", "--trace", "@pipe"}
            << "Не удалось открыть файл трассировки \"@pipe\": Это не обычный файл (канал, "
               "устройство или сокет)"
            << true;
        QTest::newRow("link loop as input")
            << QStringList{"write", "@loop.conf"}
            << "Не удалось прочитать файл конфигурации \"@loop.conf\": Слишком много уровней "
               "символических ссылок"
            << true;
        QTest::newRow("read into a link loop")
            << QStringList{"read", "@loop.conf"}
            << "Не удалось сохранить файл конфигурации \"@loop.conf\": Слишком много уровней "
               "символических ссылок"
            << true;
        QTest::newRow("read into a missing folder")
            << QStringList{"read-goods", "/nonexistent/x.dbZ48"}
            << "Не удалось сохранить файл базы товаров \"/nonexistent/x.dbZ48\": Нет такого "
               "файла или каталога"
            << true;
        QTest::newRow("folder as port")
            << QStringList{"status", "--port", "@"}
            << "@ не является последовательным портом: это каталог" << true;
        QTest::newRow("plain file as port")
            << QStringList{"status", "--port", "@gsm.conf"}
            << "@gsm.conf не является последовательным портом: это обычный файл" << true;
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QFETCH(bool, posixOnly);
        if (posixOnly)
            KKT_SKIP_WITHOUT_SPECIAL_FILES();
        QVERIFY(folder->Write(QStringLiteral("ProgSett.ini"), "[COM_PORT]\r\nTimeOut=400\r\n"));
        QVERIFY(folder->Write(QStringLiteral("gsm.conf"), "[GSM]\r\n"));
        if (posixOnly) {
            QVERIFY(folder->MakeSpecial(QStringLiteral("loop.conf"),
                                        TTempProgramFolder::Special::LinkLoop));
            QVERIFY(folder->MakeSpecial(QStringLiteral("pipe"), TTempProgramFolder::Special::Pipe));
        }
        for (QString &arg : args)
            arg.replace(QLatin1Char('@'), folder->Path());
        const TCliRun run = RunCli(args + Link(*pty));
        QCOMPARE(run.exitCode, 2);
        // A Windows console program ends its lines with CR LF.
        QCOMPARE(QString(run.err).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                 QStringLiteral("kkt-cli: ") + message.replace(QLatin1Char('@'), folder->Path()) +
                     QLatin1Char('\n'));
        QCOMPARE(pty->Engine().ReceivedCount(), 0);
    }

    // What "ProgSett.ini" holds is checked as an option's value is, unless an option overrides it.
    void settingsFileValuesTheLineCannotTake_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("message");
        QTest::newRow("speed") << QByteArray("Speed=14400")
                               << "Неверная скорость порта в ProgSett.ini: 14400 (допустимы 600, "
                                  "1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200; укажите "
                                  "--speed)";
        QTest::newRow("time-out") << QByteArray("TimeOut=0")
                                  << "Неверный тайм-аут (мс) в ProgSett.ini: 0 (допустимо от 1 до "
                                     "2147483647; укажите --timeout)";
    }
    void settingsFileValuesTheLineCannotTake()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, message);
        QVERIFY(
            folder->Write(QStringLiteral("ProgSett.ini"), "[COM_PORT]\r\n" + settings + "\r\n"));
        TCliRun run = RunCli({QStringLiteral("status"), QStringLiteral("--port"), pty->PortName()});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(QString(run.err).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                 QStringLiteral("kkt-cli: ") + message + QLatin1Char('\n'));
        QCOMPARE(pty->Engine().ReceivedCount(), 0);
        QCOMPARE(RunCli(QStringList{"status"} + Link(*pty)).exitCode, 0);
    }

private:
    std::unique_ptr<TTempProgramFolder> folder;
    std::unique_ptr<TEmulatorPty> pty;
    QString confPath;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
