// The configuration record against the grids of the two work frames, and the save and load
// commands of the "Файл" menu end to end: dialogs, file, grids.

#include "config.h"
#include "configcommands.h"
#include "configgrids.h"
#include "dialogrecorder.h"
#include "fakeworkhost.h"
#include "framegsmsetting.h"
#include "framesetz48.h"
#include "inidocument.h"
#include "stringgrid.h"
#include "tempfolder.h"
#include "win1251.h"
#include "workhost.h"
#include "z48controls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

namespace
{

const QString kFilter = QStringLiteral("Байлы конфигурации (*.conf)|*.conf");
const QString kDefaultExt = QStringLiteral("conf");
const QString kNarrow = QStringLiteral("Узкий");
const QString kNoDataQuestion = QStringLiteral(
    "ВНИМАНИЕ!\r\nФайл не содержит данных программы. Загрузить его и очистить таблицы?");

using TFakeHost = TFakeWorkHost;

class TWaitCounter : public TConfigFileUi
{
public:
    void ShowWait() override { ++shown; }
    void CloseWait() override { ++closed; }
    int shown = 0;
    int closed = 0;
};

// A grid and the columns of it that the record maps, with the record's fields of row i + 1.
struct TMapped {
    const char *name;
    TStringGrid *grid;
    int rows;
    QVector<int> fontColumns;
    std::function<QStringList(const TConfig &, int)> fields;
};

} // namespace

class TestConfigGrids : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fromGridsTakesEveryMappedCell();
    void toGridsOverwritesMappedCellsOnly();
    void commandsRoundTripEveryCell();
    void loadingMissingFileEmptiesMappedCells();
    void loadingFileWithoutConfigurationAsksFirst_data();
    void loadingFileWithoutConfigurationAsksFirst();
    void cancelledDialogsDoNothing();
    void noSecondCommandInsideThePause();
    void waitWindowComesAndGoes();

private:
    // The mapping as the file format fixes it: columns 1.. of rows 1..rows, in field order.
    QVector<TMapped> Mapped() const;
    // Every body cell of every grid, mapped or not, a text of its own.
    void PaintAll(const QString &tag);
    void VerifyMappedCells(const TConfig &config);
    QString Painted(const QString &tag, const TStringGrid *grid, int col, int row) const;

    TFakeHost host_;
    std::unique_ptr<TFrameGsmSetting> gsm_;
    std::unique_ptr<TFrameSetZ48> tables_;
    std::unique_ptr<TZ48Controls> ui_;
    std::unique_ptr<TConfig> config_;
};

void TestConfigGrids::init()
{
    gsm_ = std::make_unique<TFrameGsmSetting>(&host_);
    gsm_->InitFrame();
    tables_ = std::make_unique<TFrameSetZ48>(&host_);
    ui_ = std::make_unique<TZ48Controls>(*tables_);
    tables_->InitGrids();
    config_ = std::make_unique<TConfig>();
}

void TestConfigGrids::cleanup()
{
    tables_.reset();
    gsm_.reset();
    config_.reset();
}

QVector<TMapped> TestConfigGrids::Mapped() const
{
    return {
        {"GSM",
         gsm_->Grid(),
         6,
         {},
         [](const TConfig &c, int i) { return QStringList{c.Gsm.Values[i]}; }},
        {"operators",
         ui_->sgOper,
         6,
         {2, 4, 6},
         [](const TConfig &c, int i) {
             const TConfig_Oper &o = c.Tables.Oper[i];
             return QStringList{o.Position, o.PositionFont, o.Surname1, o.Surname1Font,
                                o.Surname2, o.Surname2Font, o.Password, o.Inn};
         }},
        {"goods",
         ui_->SGBase,
         6000,
         {2},
         [](const TConfig &c, int i) {
             const TConfig_PredmRasch &g = c.Tables.PredmRasch[i];
             return QStringList{g.Name, g.Font, g.Barcode, g.Price, g.Department};
         }},
        {"groups",
         ui_->sgUsl,
         8,
         {2},
         [](const TConfig &c, int i) {
             const TConfig_RpiznPredmRasch &g = c.Tables.RpiznPredmRasch[i];
             return QStringList{g.Name, g.NameFont, g.ItemSign, g.TaxNumber};
         }},
        {"cliche",
         ui_->sgKl,
         21,
         {2},
         [](const TConfig &c, int i) {
             return QStringList{c.Tables.Klishe[i].Text, c.Tables.Klishe[i].Font};
         }},
        {"agents",
         ui_->sgAgents,
         12,
         {2},
         [](const TConfig &c, int i) {
             return QStringList{c.Tables.Agent[i].Value, c.Tables.Agent[i].Font};
         }},
    };
}

QString TestConfigGrids::Painted(const QString &tag, const TStringGrid *grid, int col,
                                 int row) const
{
    return QStringLiteral("%1 %2:%3,%4").arg(tag, grid->objectName()).arg(col).arg(row);
}

void TestConfigGrids::PaintAll(const QString &tag)
{
    for (TStringGrid *grid :
         {gsm_->Grid(), ui_->sgOper, ui_->SGBase, ui_->sgUsl, ui_->sgKl, ui_->sgAgents})
        for (int r = 1; r < grid->RowCount(); ++r)
            for (int c = 1; c < grid->ColCount(); ++c)
                grid->SetCells(c, r, Painted(tag, grid, c, r));
}

void TestConfigGrids::VerifyMappedCells(const TConfig &config)
{
    for (const TMapped &m : Mapped())
        for (int i = 0; i < m.rows; ++i) {
            const QStringList fields = m.fields(config, i);
            for (int c = 0; c < fields.size(); ++c)
                QVERIFY2(m.grid->Cells(c + 1, i + 1) == fields[c],
                         qPrintable(QStringLiteral("%1 column %2 row %3: \"%4\" != \"%5\"")
                                        .arg(QLatin1String(m.name))
                                        .arg(c + 1)
                                        .arg(i + 1)
                                        .arg(m.grid->Cells(c + 1, i + 1), fields[c])));
        }
}

void TestConfigGrids::fromGridsTakesEveryMappedCell()
{
    PaintAll(QStringLiteral("из"));
    config_->Scanner = {1, QStringLiteral("COM4"), QStringLiteral("9600"), true};
    ui_->SGBase->SetCells(3, 6000, QString()); // an empty cell is copied like any other
    config_->Tables.PredmRasch[5999].Barcode = QStringLiteral("устарело");
    ConfigFromGrids(*config_, *gsm_, *tables_);
    VerifyMappedCells(*config_);
    QCOMPARE(config_->Tables.PredmRasch[5999].Barcode, QString());
    QCOMPARE(config_->Tables.Agent[11].Value, Painted(QStringLiteral("из"), ui_->sgAgents, 1, 12));
    // The GSM password (row 7) has no field: value 5 is row 6.
    QCOMPARE(config_->Gsm.Values[5], Painted(QStringLiteral("из"), gsm_->Grid(), 1, 6));
    QCOMPARE(config_->Scanner.ComPort, QStringLiteral("COM4"));
}

void TestConfigGrids::toGridsOverwritesMappedCellsOnly()
{
    PaintAll(QStringLiteral("старое"));
    const QString agentCaption = ui_->sgAgents->Cells(0, 12);
    const QString groupHeader = ui_->sgUsl->Cells(5, 0);
    // A record with text in some fields and empty ones elsewhere: stale cells must not survive.
    for (int i = 0; i < kConfigGoodsCount; i += 2)
        config_->Tables.PredmRasch[i] = {QStringLiteral("Товар %1").arg(i), kNarrow,
                                         QString::number(i), QStringLiteral("1.00"),
                                         QStringLiteral("1")};
    config_->Gsm.Values[0] = QStringLiteral("10.0.0.1");
    config_->Tables.Oper[5].Inn = QStringLiteral("7701");
    config_->Tables.Agent[11] = {QStringLiteral("ПЕРЕВОД"), QStringLiteral("Широкий")};
    ConfigToGrids(*config_, *gsm_, *tables_);
    VerifyMappedCells(*config_);
    QCOMPARE(ui_->SGBase->Cells(1, 2), QString());
    // Unmapped cells keep their texts: GSM row 7, the groups' tax system and what follows it.
    QCOMPARE(gsm_->Grid()->Cells(1, 7), Painted(QStringLiteral("старое"), gsm_->Grid(), 1, 7));
    for (int r = 1; r <= 8; ++r)
        for (int c = 5; c < ui_->sgUsl->ColCount(); ++c)
            QCOMPARE(ui_->sgUsl->Cells(c, r), Painted(QStringLiteral("старое"), ui_->sgUsl, c, r));
    QCOMPARE(ui_->sgAgents->Cells(0, 12), agentCaption);
    QCOMPARE(ui_->sgUsl->Cells(5, 0), groupHeader);
}

void TestConfigGrids::commandsRoundTripEveryCell()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("round.conf"));
    TDialogRecorder dialogs;
    TWaitCounter wait;
    PaintAll(QStringLiteral("сохранено"));

    dialogs.SetSaveFileName(path);
    QVERIFY(RunSaveConfig(nullptr, *config_, *gsm_, *tables_, &wait, 0));
    QCOMPARE(TIniDocument::FromBytes(folder.Read(QStringLiteral("round.conf"))).SectionCount(),
             6043);

    PaintAll(QStringLiteral("другое"));
    dialogs.SetOpenFileName(path);
    QVERIFY(RunLoadConfig(nullptr, *config_, *gsm_, *tables_, &wait, 0));

    // Every mapped cell is back, goods row 6000 and agent row 12 (kept by the record) included.
    for (const TMapped &m : Mapped())
        for (int r = 1; r <= m.rows; ++r)
            for (int c = 1; c <= m.fields(*config_, 0).size(); ++c)
                QCOMPARE(m.grid->Cells(c, r), Painted(QStringLiteral("сохранено"), m.grid, c, r));
    QCOMPARE(gsm_->Grid()->Cells(1, 7), Painted(QStringLiteral("другое"), gsm_->Grid(), 1, 7));
    QCOMPARE(ui_->sgUsl->Cells(5, 3), Painted(QStringLiteral("другое"), ui_->sgUsl, 5, 3));

    const QList<TDialogRecorder::Record> files = dialogs.FileDialogs();
    QCOMPARE(files.size(), 2);
    QCOMPARE(files[0].call, TDialogRecorder::Call::SaveFileName);
    QCOMPARE(files[1].call, TDialogRecorder::Call::OpenFileName);
    for (const TDialogRecorder::Record &r : files) {
        QCOMPARE(r.text, kFilter);
        QCOMPARE(r.defaultExt, kDefaultExt);
    }
    QCOMPARE(dialogs.MessageCount(), 0);
    QCOMPARE(wait.shown, 2);
    QCOMPARE(wait.closed, 2);
}

void TestConfigGrids::loadingMissingFileEmptiesMappedCells()
{
    TTempProgramFolder folder;
    TDialogRecorder dialogs;
    PaintAll(QStringLiteral("старое"));
    config_->Tables.Agent[11] = {QStringLiteral("ПОСЛЕДНЕЕ"), QStringLiteral("Широкий")};
    dialogs.SetOpenFileName(folder.FilePath(QStringLiteral("нет.conf")));
    dialogs.QueueAnswer(TDialogs::Answer::Yes);
    QVERIFY(RunLoadConfig(nullptr, *config_, *gsm_, *tables_, nullptr, 0));
    QVERIFY(!folder.Exists(QStringLiteral("нет.conf")));
    // It holds no configuration either, so the user was asked first.
    QCOMPARE(dialogs.Questions(), QStringList{kNoDataQuestion});

    for (const TMapped &m : Mapped()) {
        const int rows = m.grid == ui_->sgAgents ? 11 : m.rows;
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= m.fields(*config_, 0).size(); ++c)
                QCOMPARE(m.grid->Cells(c, r), m.fontColumns.contains(c) ? kNarrow : QString());
    }
    // Agent row 12 shows what the record held; the password and the tax system stay.
    QCOMPARE(ui_->sgAgents->Cells(1, 12), QStringLiteral("ПОСЛЕДНЕЕ"));
    QCOMPARE(ui_->sgAgents->Cells(2, 12), QStringLiteral("Широкий"));
    QCOMPARE(gsm_->Grid()->Cells(1, 7), Painted(QStringLiteral("старое"), gsm_->Grid(), 1, 7));
    QCOMPARE(ui_->sgUsl->Cells(5, 8), Painted(QStringLiteral("старое"), ui_->sgUsl, 5, 8));
}

void TestConfigGrids::loadingFileWithoutConfigurationAsksFirst_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("yes");
    const QList<QPair<const char *, QByteArray>> files = {
        {"garbage", QByteArray("\x00\x01\xfe\xff\x1b[2J=]\r\n[", 13)},
        {"foreign INI", "[Settings]\r\nWindowX=10\r\n[Recent]\r\nFile1=a.txt\r\n"},
        {"goods base file", ToWin1251(QStringLiteral("[ТОВАР_#1]\r\nЦена=1\r\n"))},
    };
    for (const auto &[name, content] : files) {
        QTest::addRow("%s, No", name) << content << false;
        QTest::addRow("%s, Yes", name) << content << true;
    }
}

void TestConfigGrids::loadingFileWithoutConfigurationAsksFirst()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, yes);
    TTempProgramFolder folder;
    QVERIFY(folder.Write(QStringLiteral("wrong.conf"), content));
    TDialogRecorder dialogs;
    PaintAll(QStringLiteral("старое"));
    dialogs.QueueAnswer(yes ? TDialogs::Answer::Yes : TDialogs::Answer::No);
    dialogs.SetOpenFileName(folder.FilePath(QStringLiteral("wrong.conf")));
    QCOMPARE(RunLoadConfig(nullptr, *config_, *gsm_, *tables_, nullptr, 0), yes);
    QCOMPARE(dialogs.Texts(), QStringList{kNoDataQuestion});
    QCOMPARE(dialogs.Records().constLast().defaultButton, TDialogs::Answer::No);
    // No: every cell as it was. Yes: loaded as ever, every mapped cell its default.
    for (const TMapped &m : Mapped())
        for (int r : {1, m.rows})
            QCOMPARE(m.grid->Cells(1, r), !yes ? Painted(QStringLiteral("старое"), m.grid, 1, r)
                                          : m.fontColumns.contains(1) ? kNarrow
                                                                      : QString());
}

void TestConfigGrids::cancelledDialogsDoNothing()
{
    TTempProgramFolder folder;
    TDialogRecorder dialogs; // no names set: both dialogs are cancelled
    TWaitCounter wait;
    PaintAll(QStringLiteral("как есть"));
    QVERIFY(!RunSaveConfig(nullptr, *config_, *gsm_, *tables_, &wait, 0));
    QVERIFY(*config_ == TConfig()); // the grids were not even copied
    QVERIFY(!RunLoadConfig(nullptr, *config_, *gsm_, *tables_, &wait, 0));
    QCOMPARE(ui_->SGBase->Cells(1, 1), Painted(QStringLiteral("как есть"), ui_->SGBase, 1, 1));
    QCOMPARE(wait.shown, 0);
    QCOMPARE(dialogs.FileDialogs().size(), 2);
    QCOMPARE(dialogs.MessageCount(), 0);
}

void TestConfigGrids::noSecondCommandInsideThePause()
{
    TTempProgramFolder folder;
    TDialogRecorder dialogs;
    TWaitCounter wait;
    dialogs.SetSaveFileName(folder.FilePath(QStringLiteral("first.conf")));
    dialogs.SetOpenFileName(folder.FilePath(QStringLiteral("first.conf")));
    PaintAll(QStringLiteral("пауза"));

    // Timers keep running during the pause (the windows repaint), but a command started from
    // one does nothing.
    bool fired = false;
    bool runningInside = false;
    bool secondSave = true;
    bool secondLoad = true;
    QTimer::singleShot(20, [&] {
        fired = true;
        runningInside = ConfigCommandRunning();
        secondSave = RunSaveConfig(nullptr, *config_, *gsm_, *tables_, &wait, 0);
        secondLoad = RunLoadConfig(nullptr, *config_, *gsm_, *tables_, &wait, 0);
    });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(RunSaveConfig(nullptr, *config_, *gsm_, *tables_, &wait, 200));
    QVERIFY(clock.elapsed() >= 190);
    QVERIFY(fired);
    QVERIFY(runningInside);
    QVERIFY(!secondSave);
    QVERIFY(!secondLoad);
    QCOMPARE(dialogs.FileDialogs().size(), 1);
    QCOMPARE(wait.shown, 1);
    QCOMPARE(wait.closed, 1);
    QVERIFY(!ConfigCommandRunning());
    QVERIFY(!QApplication::overrideCursor());
    // Once over, the next command runs.
    QVERIFY(RunLoadConfig(nullptr, *config_, *gsm_, *tables_, &wait, 0));
}

void TestConfigGrids::waitWindowComesAndGoes()
{
    QWidget owner;
    QPointer<QWidget> made;
    TConfigWaitWindow wait([&] {
        auto *window = new QWidget(&owner, Qt::Tool);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        made = window;
        return window;
    });
    wait.ShowWait();
    QVERIFY(made);
    QVERIFY(made->isVisible());
    wait.CloseWait();
    QTRY_VERIFY(made.isNull());
    wait.CloseWait(); // nothing left to close

    // A window that went away by itself in the meantime is left alone.
    wait.ShowWait();
    delete made.data();
    wait.CloseWait();
}

QTEST_MAIN(TestConfigGrids)
#include "tst_configgrids.moc"
