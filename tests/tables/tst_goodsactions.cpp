// The goods tab's own buttons: the goods base file, clearing the register's goods base and
// going to an item.
#include "tablesrunfixture.h"
#include "tempfolder.h"
#include "win1251.h"

#include <QTimer>

#include <sys/stat.h>

namespace
{

const QString kNarrow = QStringLiteral("Узкий");
const QString kNoDataQuestion = QStringLiteral(
    "ВНИМАНИЕ!\r\nФайл не содержит данных программы. Загрузить его и очистить таблицы?");

QString Section(int n, const QString &name, const QString &font, const QString &barcode,
                const QString &price, const QString &department)
{
    return QStringLiteral("[ТОВАР_#%1]\r\nНаименование=%2\r\nТип шрифта=%3\r\nШтрих-код=%4\r\n"
                          "Цена=%5\r\nОтдел/Услуга=%6\r\n\r\n")
        .arg(n)
        .arg(name, font, barcode, price, department);
}

QStringList RowCells(TStringGrid &grid, int row)
{
    QStringList cells;
    for (int col = 0; col < grid.ColCount(); ++col)
        cells.append(grid.Cells(col, row));
    return cells;
}

} // namespace

class TestGoodsActions : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void saveWritesEveryRowInFileLayout();
    void saveCancelledDoesNothing();
    void loadFillsEveryRowWithDefaults();
    void loadOfFileWithoutGoodsAsksFirst_data();
    void loadOfFileWithoutGoodsAsksFirst();
    void failuresTellTheReason_data();
    void failuresTellTheReason();
    void failedSaveTellsAndKeepsOldFile();
    void failedLoadChangesNoCell();
    void clearAskedNoSendsNothing();
    void clearSucceedsAndKeepsGrid();
    void clearFailsWithPortNotOpened();
    void clearAgainstSilentRegister();
    void clearingWaitRepaintsAndStopsOnEscape();
    void goToItem_data();
    void goToItem();
    void goToItemLeavesBarcodeColumn();

private:
    std::unique_ptr<TFrameUnderTest> t;
};

void TestGoodsActions::init()
{
    t = std::make_unique<TFrameUnderTest>();
    QVERIFY2(t->Ready(), qPrintable(t->pty.ErrorText()));
    t->OpenTab(1);
}

void TestGoodsActions::cleanup()
{
    t.reset();
}

void TestGoodsActions::saveWritesEveryRowInFileLayout()
{
    TTempProgramFolder folder;
    TStringGrid &grid = t->Grid(1);
    grid.SetCells(1, 1, QStringLiteral("КОФЕ"));
    grid.SetCells(3, 1, QStringLiteral("4600000000000"));
    grid.SetCells(4, 1, QStringLiteral("12.50"));
    grid.SetCells(5, 1, QStringLiteral("3"));
    grid.SetCells(2, 6000, QStringLiteral("Широкий"));
    t->dialogs.SetSaveFileName(folder.FilePath(QStringLiteral("base.dbZ48")));
    t->Click(t->ui.Button1);

    QCOMPARE(t->dialogs.MessageCount(), 0);
    const QList<TDialogRecorder::Record> fileDialogs = t->dialogs.FileDialogs();
    QCOMPARE(fileDialogs.size(), 1);
    QCOMPARE(fileDialogs[0].call, TDialogRecorder::Call::SaveFileName);
    QCOMPARE(fileDialogs[0].text, QStringLiteral("Байлы БД (*.dbZ48)|*.dbZ48"));
    QCOMPARE(fileDialogs[0].defaultExt, QStringLiteral("dbZ48"));
    QString expected = Section(1, QStringLiteral("КОФЕ"), kNarrow, QStringLiteral("4600000000000"),
                               QStringLiteral("12.50"), QStringLiteral("3"));
    for (int n = 2; n < 6000; ++n)
        expected += Section(n, {}, kNarrow, {}, {}, {});
    expected += Section(6000, {}, QStringLiteral("Широкий"), {}, {}, {});
    QCOMPARE(folder.Read(QStringLiteral("base.dbZ48")), ToWin1251(expected));
    QVERIFY(!QApplication::overrideCursor());
}

void TestGoodsActions::saveCancelledDoesNothing()
{
    TTempProgramFolder folder;
    t->dialogs.SetSaveFileName(QString());
    t->Click(t->ui.Button1);
    t->dialogs.SetOpenFileName(QString());
    t->Grid(1).SetCells(1, 1, QStringLiteral("KEEP"));
    t->Click(t->ui.Button2);
    QCOMPARE(t->dialogs.FileDialogs().size(), 2);
    QCOMPARE(t->dialogs.MessageCount(), 0);
    QCOMPARE(t->Grid(1).Cells(1, 1), QStringLiteral("KEEP"));
    QVERIFY(QDir(folder.Path()).isEmpty());
}

void TestGoodsActions::loadFillsEveryRowWithDefaults()
{
    TTempProgramFolder folder;
    QVERIFY(folder.Write(
        QStringLiteral("in.dbZ48"),
        ToWin1251(Section(2, QString(30, QChar(0x0416)), QStringLiteral("Широкий"),
                          QStringLiteral("77"), QStringLiteral("abc"), QStringLiteral("999")))));
    TStringGrid &grid = t->Grid(1);
    grid.SetCells(1, 17, QStringLiteral("OLD"));
    grid.SetCells(4, 17, QStringLiteral("1.00"));
    t->dialogs.SetOpenFileName(folder.FilePath(QStringLiteral("in.dbZ48")));
    t->Click(t->ui.Button2);
    QCOMPARE(t->dialogs.MessageCount(), 0);
    QCOMPARE(t->dialogs.FileDialogs().value(0).call, TDialogRecorder::Call::OpenFileName);
    QCOMPARE(t->dialogs.FileDialogs().value(0).text, QStringLiteral("Байлы БД (*.dbZ48)|*.dbZ48"));
    // Loaded texts go in as they are, past every typing limit; column 0 keeps the numbers.
    QCOMPARE(RowCells(grid, 2), (QStringList{QStringLiteral("2"), QString(30, QChar(0x0416)),
                                             QStringLiteral("Широкий"), QStringLiteral("77"),
                                             QStringLiteral("abc"), QStringLiteral("999")}));
    const QStringList defaults17{QStringLiteral("17"),   QString(),          kNarrow, QString(),
                                 QStringLiteral("0.00"), QStringLiteral("0")};
    QCOMPARE(RowCells(grid, 17), defaults17);
    QCOMPARE(grid.Cells(4, 6000), QStringLiteral("0.00"));
}

void TestGoodsActions::loadOfFileWithoutGoodsAsksFirst_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("yes");
    const QList<std::tuple<const char *, bool, QByteArray>> files = {
        {"garbage", true, QByteArray("\x00\x01\xfe\xff\x1b[2J=]\r\n[", 13)},
        {"foreign INI", true, "[Settings]\r\nWindowX=10\r\n[Recent]\r\nFile1=a.txt\r\n"},
        {"missing file", false, QByteArray()},
    };
    for (const auto &[name, exists, content] : files) {
        QTest::addRow("%s, No", name) << exists << content << false;
        QTest::addRow("%s, Yes", name) << exists << content << true;
    }
}

void TestGoodsActions::loadOfFileWithoutGoodsAsksFirst()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(bool, yes);
    TTempProgramFolder folder;
    const QString name = QStringLiteral("wrong.dbZ48");
    if (exists)
        QVERIFY(folder.Write(name, content));
    TStringGrid &grid = t->Grid(1);
    grid.SetCells(1, 1, QStringLiteral("KEEP"));
    grid.SetCells(4, 6000, QStringLiteral("9.99"));
    t->dialogs.QueueAnswer(yes ? TDialogs::Answer::Yes : TDialogs::Answer::No);
    t->dialogs.SetOpenFileName(folder.FilePath(name));
    t->Click(t->ui.Button2);
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{{TDialogs::Kind::Question, kNoDataQuestion}}));
    QCOMPARE(t->dialogs.Records().constLast().defaultButton, TDialogs::Answer::No);
    QCOMPARE(grid.Cells(1, 1), yes ? QString() : QStringLiteral("KEEP"));
    QCOMPARE(grid.Cells(4, 6000), yes ? QStringLiteral("0.00") : QStringLiteral("9.99"));
    // A name that does not exist is created empty, as before, but only on Yes.
    QCOMPARE(folder.Exists(name), exists || yes);
    QCOMPARE(folder.Read(name), content);
    QVERIFY(!QApplication::overrideCursor());
}

void TestGoodsActions::failuresTellTheReason_data()
{
    using Special = TTempProgramFolder::Special;
    QTest::addColumn<int>("kind"); // a Special; -1: an old file on a full disk
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("reason");
    QTest::newRow("save onto a full disk") << -1 << true << "Нет свободного места на устройстве";
    QTest::newRow("save through a link loop")
        << int(Special::LinkLoop) << true << "Слишком много уровней символических ссылок";
    QTest::newRow("load from a pipe")
        << int(Special::Pipe) << false << "Это не обычный файл (канал, устройство или сокет)";
    QTest::newRow("load through a link to nothing")
        << int(Special::LinkToNothing) << false << "Нет такого файла или каталога";
}

void TestGoodsActions::failuresTellTheReason()
{
    QFETCH(int, kind);
    QFETCH(bool, save);
    QFETCH(QString, reason);
    TTempProgramFolder folder;
    TTinyDisk disk(folder.FilePath(QStringLiteral("disk")));
    const QString name = QStringLiteral("disk/base.dbZ48");
    const QByteArray old = ToWin1251(Section(1, QStringLiteral("СТАРОЕ"), kNarrow, {}, {}, {}));
    if (kind >= 0)
        KKT_SKIP_WITHOUT_SPECIAL_FILES();
    if (kind >= 0)
        QVERIFY(folder.MakeSpecial(name, TTempProgramFolder::Special(kind)));
    else if (!disk.Mounted())
        QSKIP(disk.WhyNot());
    else
        QVERIFY(folder.Write(name, old));
    const QString path = folder.FilePath(name);
    t->Grid(1).SetCells(1, 1, QStringLiteral("KEEP"));
    t->dialogs.SetSaveFileName(path);
    t->dialogs.SetOpenFileName(path);
    // A pipe would keep the program waiting for ever: the answer comes at once.
    t->Click(save ? t->ui.Button1 : t->ui.Button2);
    const QString what = save ? QStringLiteral("Не удалось сохранить файл \"")
                              : QStringLiteral("Не удалось прочитать файл \"");
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Error,
                  what + QDir::toNativeSeparators(path) + QStringLiteral("\".\r\n") + reason}}));
    QCOMPARE(t->Grid(1).Cells(1, 1), QStringLiteral("KEEP"));
    if (kind < 0)
        QCOMPARE(folder.Read(name), old);
}

void TestGoodsActions::failedSaveTellsAndKeepsOldFile()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    const QByteArray old = ToWin1251(Section(1, QStringLiteral("СТАРОЕ"), kNarrow, {}, {}, {}));
    QVERIFY(folder.Write(QStringLiteral("old.dbZ48"), old));
    QVERIFY(::chmod(QFile::encodeName(folder.Path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder.FilePath(QStringLiteral("old.dbZ48"))).constData(),
                    0644) == 0);
    t->dialogs.SetSaveFileName(folder.FilePath(QStringLiteral("old.dbZ48")));
    {
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot drop root rights here to meet an unwritable folder");
        t->Click(t->ui.Button1);
    }
    QCOMPARE(t->dialogs.MessageCount(), 1);
    QCOMPARE(t->dialogs.Messages().value(0).kind, TDialogs::Kind::Error);
    QVERIFY(t->dialogs.LastText().startsWith(QStringLiteral("Не удалось сохранить файл \"")));
    QCOMPARE(folder.Read(QStringLiteral("old.dbZ48")), old);
    QCOMPARE(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("old.dbZ48")}); // no temporary file left behind
    QVERIFY(!QApplication::overrideCursor());
}

void TestGoodsActions::failedLoadChangesNoCell()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    QVERIFY(folder.Write(QStringLiteral("secret.dbZ48"),
                         ToWin1251(Section(1, QStringLiteral("НОВОЕ"), kNarrow, {}, {}, {}))));
    QVERIFY(::chmod(QFile::encodeName(folder.FilePath(QStringLiteral("secret.dbZ48"))).constData(),
                    0600) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder.Path()).constData(), 0755) == 0);
    TStringGrid &grid = t->Grid(1);
    grid.SetCells(1, 1, QStringLiteral("KEEP"));
    grid.SetCells(4, 6000, QStringLiteral("9.99"));
    t->dialogs.SetOpenFileName(folder.FilePath(QStringLiteral("secret.dbZ48")));
    {
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot drop root rights here to meet an unreadable file");
        t->Click(t->ui.Button2);
    }
    QCOMPARE(t->dialogs.MessageCount(), 1);
    QVERIFY(t->dialogs.LastText().startsWith(QStringLiteral("Не удалось прочитать файл \"")));
    QCOMPARE(grid.Cells(1, 1), QStringLiteral("KEEP"));
    QCOMPARE(grid.Cells(4, 6000), QStringLiteral("9.99"));
    QCOMPARE(grid.Cells(4, 2), QString());
}

void TestGoodsActions::clearAskedNoSendsNothing()
{
    t->dialogs.QueueAnswer(TDialogs::Answer::No);
    t->Click(t->ui.Button5);
    QCOMPARE(t->dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Question,
                  QStringLiteral("Внимание!\r\nВы действительно хотите очистить базу в ККТ!")}}));
    // A stray Enter answers No: the register's goods are not erased by accident.
    QCOMPARE(t->dialogs.Records().value(0).defaultButton, TDialogs::Answer::No);
    QCOMPARE(t->Engine().ReceivedCount(), 0);
}

void TestGoodsActions::clearSucceedsAndKeepsGrid()
{
    TEmulatorItem item;
    item.price = 100;
    QVERIFY(t->Engine().SetItem(1, item));
    t->Grid(1).SetCells(1, 1, QStringLiteral("KEEP"));
    t->host.settings.Port.TimeOut = 1; // clearing waits its own 30 s, not this
    t->Engine().PauseInNextAnswer(2, 300);
    t->dialogs.QueueAnswer(TDialogs::Answer::Yes);
    t->Click(t->ui.Button5);
    QCOMPARE(
        t->dialogs.Texts(),
        (QStringList{QStringLiteral("Внимание!\r\nВы действительно хотите очистить базу в ККТ!"),
                     QStringLiteral("База успешно очищена!")}));
    QCOMPARE(t->dialogs.Messages().value(1).kind, TDialogs::Kind::Information);
    QCOMPARE(ParseRequest(t->Engine().ReceivedRequests().value(0)).letter, 'c');
    QCOMPARE(t->Engine().Item(1)->price, quint64(0));
    QCOMPARE(t->Grid(1).Cells(1, 1), QStringLiteral("KEEP"));
    QCOMPARE(t->host.lockCalls, (QList<bool>{true, false}));
    QVERIFY(t->Unlocked());
}

void TestGoodsActions::clearFailsWithPortNotOpened()
{
    t->host.settings.Port.Name = QStringLiteral("/dev/no-such-port-kkt");
    t->Click(t->ui.Button5);
    QCOMPARE(t->dialogs.Messages().value(1),
             (TDialogRecorder::Shown{TDialogs::Kind::Error,
                                     QStringLiteral("Внимание!\r\nОшибка очистки базы - 1!")}));
    QVERIFY(t->Unlocked());
}

void TestGoodsActions::clearAgainstSilentRegister()
{
    // The register's answer is awaited 30 s whatever the settings say (here shortened), then
    // no answer is 2.
    QCOMPARE(t->frame.ClearGoodsTimeOutMs, 30000);
    t->frame.ClearGoodsTimeOutMs = 600;
    t->host.settings.Port.TimeOut = 1;
    t->Engine().StaySilentAlways(true);
    QElapsedTimer timer;
    timer.start();
    t->Click(t->ui.Button5);
    QVERIFY(timer.elapsed() >= 500);
    QCOMPARE(t->dialogs.LastText(), QStringLiteral("Внимание!\r\nОшибка очистки базы - 2!"));
    QCOMPARE(t->Engine().ReceivedCount(), 1);
}

void TestGoodsActions::clearingWaitRepaintsAndStopsOnEscape()
{
    // The full 30 s wait, given up by Esc: the window keeps running its messages (the timer
    // fires), shows "Стоп", and the clearing ends as one that got no answer.
    t->Engine().StaySilentAlways(true);
    bool stopShown = false;
    QTimer::singleShot(300, &t->frame, [this, &stopShown] {
        stopShown = t->ui.ButtonStop->isVisible();
        QTest::keyClick(t->ui.SGBase, Qt::Key_Escape);
    });
    QElapsedTimer timer;
    timer.start();
    t->Click(t->ui.Button5);
    QVERIFY(timer.elapsed() < 20000);
    QVERIFY(stopShown);
    QVERIFY(!t->ui.ButtonStop->isVisible());
    QCOMPARE(t->dialogs.LastText(), QStringLiteral("Внимание!\r\nОшибка очистки базы - 2!"));
    QVERIFY(t->Unlocked());
}

void TestGoodsActions::goToItem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("message");
    QTest::newRow("6000") << "6000" << 6000 << "";
    QTest::newRow("6001") << "6001" << 0 << "ВНИМАНИЕ!\r\nНомер товара не может быть больше 6000!";
    QTest::newRow("0000") << "0000" << 0 << "ВНИМАНИЕ!\r\nНомер товара не может быть 0!";
    QTest::newRow("pasted text") << "1x" << 0 << "ВНИМАНИЕ!\r\nНеверно введен номер товара!";
}

void TestGoodsActions::goToItem()
{
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(QString, message);
    t->frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t->frame));
    t->ui.SGBase->SetCurrentCell(3, 10);
    t->ui.Edit11->setText(text);
    t->ui.Button6->setFocus();
    t->Click(t->ui.Button6);
    if (message.isEmpty()) {
        QCOMPARE(t->dialogs.MessageCount(), 0);
        QCOMPARE(t->ui.SGBase->Col(), 1);
        QCOMPARE(t->ui.SGBase->Row(), row);
        QCOMPARE(t->frame.CurrentCell(TTableTab::Goods).col, 1);
        QCOMPARE(t->frame.CurrentCell(TTableTab::Goods).row, row);
        QTRY_VERIFY(t->ui.SGBase->hasFocus() ||
                    t->ui.SGBase->isAncestorOf(QApplication::focusWidget()));
    } else {
        QCOMPARE(t->dialogs.Messages(),
                 (QList<TDialogRecorder::Shown>{{TDialogs::Kind::Information, message}}));
        QCOMPARE(t->frame.CurrentCell(TTableTab::Goods).col, 3);
        QCOMPARE(t->frame.CurrentCell(TTableTab::Goods).row, 10);
        QTRY_VERIFY(t->ui.Edit11->hasFocus());
    }
}

void TestGoodsActions::goToItemLeavesBarcodeColumn()
{
    t->ui.SGBase->SetCurrentCell(3, 3000);
    QCOMPARE(t->frame.CurrentCell(TTableTab::Goods).col, 3);
    t->ui.Edit11->setText(QStringLiteral("1"));
    t->Click(t->ui.Button6);
    QCOMPARE(t->frame.CurrentCell(TTableTab::Goods).col, 1);
    QCOMPARE(t->frame.CurrentCell(TTableTab::Goods).row, 1);
}

QTEST_MAIN(TestGoodsActions)
#include "tst_goodsactions.moc"
