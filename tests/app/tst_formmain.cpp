#include "appfolder.h"
#include "deviceport.h"
#include "dialogrecorder.h"
#include "emulatorpty.h"
#include "formmain.h"
#include "formscannersetting.h"
#include "formsett.h"
#include "formversion.h"
#include "formwait.h"
#include "frame_x5710.h"
#include "framegsmsetting.h"
#include "framesetz48.h"
#include "inidocument.h"
#include "lampshape.h"
#include "rundriver.h"
#include "stringgrid.h"
#include "tablesscanner.h"
#include "tempfolder.h"
#include "z48controls.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace
{
const QString caption = QStringLiteral("Программирование параметров GSM модуля.");
const QString cannotReadSettings =
    QStringLiteral("ВНИМАНИЕ!\r\nНе удалось прочитать файл настроек - ProgSett.ini!\r\n"
                   "Попробуйте запустить программу от имени Администратора!");
const QString choosePort = QStringLiteral("Выберите порт ККТ: Настройки → Связь с ККТ");
const QString noPorts = QStringLiteral(
    "ВНИМАНИЕ!\r\nНа ПК не обнаружено ни одного COM порта!\r\nСвязь с ККТ не будет установлена!");

using Shown = TDialogRecorder::Shown;
using Kind = TDialogs::Kind;

QByteArray SettingsFile(const QString &port)
{
    return "[COM_PORT]\r\nName=" + port.toLatin1() +
           "\r\nSpeed=19200\r\nTimeOut=500\r\n\r\n[COMMON]\r\nNumKKT=0\r\n";
}

// Runs action once the next modal window is up (the menu commands open theirs with exec()).
void WhenModalShown(const std::function<void(QWidget *)> &action)
{
    QTimer::singleShot(0, qApp, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        action(modal);
    });
}

QStringList ActionTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (QAction *action : actions)
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}
} // namespace

class TestFormMain : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TRunDriver::SetPaintInterval(0); } // every exchange is followed
    void startsWithoutSettingsFile()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        bool closingBefore = true;
        {
            TFormMain form;
            QVERIFY(!form.StartupComplete());
            form.show();
            QVERIFY(form.StartupComplete());
            QVERIFY(folder.Exists("ProgSett.ini"));
            QCOMPARE(folder.Read("ProgSett.ini"), QByteArray());
            QCOMPARE(form.Settings().Port.Name, QString());
            QCOMPARE(form.Settings().Port.Speed, 19200);
            QCOMPARE(form.Settings().Port.TimeOut, 3500);
            QCOMPARE(form.Settings().NumKKT, 0u);
            // A machine without serial ports hears so once.
            const QList<Shown> expected = form.Ports().isEmpty()
                                              ? QList<Shown>{{Kind::Information, noPorts}}
                                              : QList<Shown>{};
            QCOMPARE(dialogs.Messages(), expected);
            QVERIFY(folder.Exists("Scan.cfg"));
            closingBefore = form.Closing();
            QVERIFY(form.close());
            QVERIFY(form.Closing());
        }
        QVERIFY(!closingBefore);
        const QString path = folder.FilePath("ProgSett.ini");
        const TIniDocument ini = TIniDocument::FromBytes(folder.Read("ProgSett.ini"));
        QVERIFY(ini.HasKey("COM_PORT", "Name"));
        QCOMPARE(ini.Value("COM_PORT", "Name"), QString());
        QCOMPARE(ini.Value("COM_PORT", "Speed"), QStringLiteral("19200"));
        QCOMPARE(ini.Value("COM_PORT", "TimeOut"), QStringLiteral("3500"));
        QCOMPARE(ini.Value("COMMON", "NumKKT"), QStringLiteral("0"));
    }

    void captionCarriesTheVersion()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        QCOMPARE(form.windowTitle(), caption);
        form.show();
        QVERIFY(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$")
                    .match(ProgramVersionText())
                    .hasMatch());
        QCOMPARE(form.VersionText(), ProgramVersionText());
        QCOMPARE(form.windowTitle(), caption + " (ver." + ProgramVersionText() + ")");
    }

    void speedThatIsNoNumberGivesTheDefault()
    {
        TTempProgramFolder folder;
        QVERIFY(folder.Write("ProgSett.ini", "[COM_PORT]\r\nName=COM2\r\nSpeed=abc\r\n"));
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        QCOMPARE(form.Settings().Port.Name, QStringLiteral("COM2"));
        QCOMPARE(form.Settings().Port.Speed, 19200);
        form.close();
        QCOMPARE(PrivateProfile::ReadString(folder.FilePath("ProgSett.ini"), "COM_PORT", "Speed"),
                 QStringLiteral("19200"));
    }

    void unwritableFolderEndsTheProgram()
    {
        KKT_SKIP_WITHOUT_MODE_BITS();
        TTempProgramFolder folder;
        QVERIFY(QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::ExeOwner |
                                                         QFile::ReadOther | QFile::ExeOther));
        TDialogRecorder dialogs;
        {
            TRunAsNobody nobody;
            if (!nobody.PermissionsApply())
                QSKIP("cannot give up root's rights to meet the folder's permissions");
            TFormMain form;
            form.show();
            // The sequence runs to its end, then the window closes.
            QVERIFY(form.StartupComplete());
            QVERIFY(form.TablesFrame());
            QTRY_VERIFY(!form.isVisible());
            QVERIFY(form.Closing());
        }
        QFile::setPermissions(folder.Path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!dialogs.Messages().isEmpty());
        QCOMPARE(dialogs.Messages().first(), (Shown{Kind::Information, cannotReadSettings}));
        QVERIFY(!folder.Exists("ProgSett.ini"));
    }

    void menuCaptionsAndStates()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        QCOMPARE(ActionTexts(form.menuBar()->actions()),
                 (QStringList{"Файл", "Настройки", "Программирование", "Сервис", "Версия"}));
        const TMainMenu &menu = form.Menu();
        QCOMPARE(ActionTexts(menu.File->actions()),
                 (QStringList{"Сохранить конфигурацию", "Загрузить конфигурацию", "-", "Выход"}));
        QCOMPARE(ActionTexts(menu.Settings->actions()),
                 (QStringList{"Связь с ККТ", "Сканер штрих-кода"}));
        QCOMPARE(ActionTexts(menu.Programming->actions()),
                 (QStringList{"Параметры GSM", "Параметры Z48"}));
        QCOMPARE(ActionTexts(menu.Service->actions()),
                 (QStringList{"Журнал обмена", "Сверить с ККТ", "Записать изменённые", "-",
                              "Экспорт товаров в CSV...", "Импорт товаров из CSV..."}));
        QVERIFY(!menu.SaveConfig->isEnabled());
        for (QAction *action : {menu.LoadConfig, menu.Exit, menu.ConnectionSettings,
                                menu.ScannerSettings, menu.GsmParams, menu.Z48Params, menu.Version,
                                menu.File->menuAction(), menu.Settings->menuAction()})
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
        QVERIFY(!menu.Programming->menuAction()->isEnabled());
        QVERIFY(!menu.Service->menuAction()->isEnabled());
        menu.Programming->menuAction()->setEnabled(true);
        QVERIFY(menu.Service->menuAction()->isEnabled());
    }

    void programmingFollowsTheConnectionDialog()
    {
        TEmulatorPty pty;
        QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
        TTempProgramFolder folder;
        QVERIFY(folder.Write("ProgSett.ini", SettingsFile(pty.PortName())));
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        QVERIFY(form.Ports().contains(pty.PortName()));
        QAction *programming = form.Menu().Programming->menuAction();
        const auto *status = form.statusBar()->findChild<QLabel *>("StatusText");
        QVERIFY(status);
        QCOMPARE(status->text(), choosePort);

        QString shownPort;
        WhenModalShown([&](QWidget *modal) {
            auto *dialog = qobject_cast<TFormSett *>(modal);
            QVERIFY(dialog);
            shownPort = dialog->findChild<QComboBox *>("ComboBox1")->currentText();
            dialog->findChild<QPushButton *>("Button2")->click(); // "Отмена"
        });
        form.Menu().ConnectionSettings->trigger();
        QCOMPARE(shownPort, pty.PortName());
        QVERIFY(!programming->isEnabled());
        QCOMPARE(status->text(), choosePort);
        QTRY_VERIFY(form.findChildren<TFormSett *>().isEmpty());

        WhenModalShown([&](QWidget *modal) {
            auto *dialog = qobject_cast<TFormSett *>(modal);
            QVERIFY(dialog);
            auto *number = dialog->findChild<QLineEdit *>("Edit2");
            number->setText("9");
            dialog->findChild<QPushButton *>("Button3")->click(); // "Применить"
        });
        form.Menu().ConnectionSettings->trigger();
        QVERIFY(programming->isEnabled());
        QCOMPARE(status->text(), QString());
        QCOMPARE(form.Settings().NumKKT, 9u);
        // A port that does not open says why until one opens again.
        TDevicePortHandle handle = nullptr;
        QVERIFY(!OpenDevicePort(QStringLiteral("/dev/kkt-no-such-port"), 9600, 100, 0, handle));
        QCOMPARE(status->text(), QStringLiteral("Порт /dev/kkt-no-such-port не найден"));
        QVERIFY(OpenDevicePort(pty.PortName(), 9600, 100, 0, handle));
        CloseDevicePort(handle);
        QCOMPARE(status->text(), QString());
        QCOMPARE(form.Settings().Port.Name, pty.PortName());
        QTRY_VERIFY(form.findChildren<TFormSett *>().isEmpty());
        QCOMPARE(dialogs.MessageCount(), 0);

        // Written on closing, not before.
        QCOMPARE(PrivateProfile::ReadString(folder.FilePath("ProgSett.ini"), "COMMON", "NumKKT"),
                 QStringLiteral("0"));
        form.close();
        QCOMPARE(PrivateProfile::ReadString(folder.FilePath("ProgSett.ini"), "COMMON", "NumKKT"),
                 QStringLiteral("9"));
    }

    void closingDuringRunAsks_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<int>("requests");
        QTest::newRow("No: the run goes on") << false << 9;
        QTest::newRow("Yes: the run ends") << true << 2;
    }

    void closingDuringRunAsks()
    {
        QFETCH(bool, stop);
        TEmulatorPty pty;
        QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
        TTempProgramFolder folder;
        QVERIFY(folder.Write("ProgSett.ini", SettingsFile(pty.PortName())));
        TDialogRecorder dialogs;
        dialogs.QueueAnswer(stop ? TDialogs::Answer::Yes : TDialogs::Answer::No);
        TFormMain form;
        form.show();
        form.Menu().Programming->menuAction()->setEnabled(true);
        form.Menu().GsmParams->trigger();
        // Written on closing only: gone, it tells whether the window went through with it.
        QVERIFY(QFile::remove(folder.FilePath("ProgSett.ini")));
        auto *progress = form.GsmFrame()->findChild<QProgressBar *>("ProgressBar1");
        connect(progress, &QProgressBar::valueChanged, &form, [&form](int value) {
            if (value == 29)
                form.close();
        });
        form.GsmFrame()->Button3Click();

        QCOMPARE(dialogs.Messages(),
                 (QList<Shown>{{Kind::Question, QStringLiteral("Идет обмен с ККТ. Прервать?")}}));
        // A stray Enter answers No: the run goes on and the program stays.
        QCOMPARE(dialogs.Records().front().defaultButton, TDialogs::Answer::No);
        QTEST(pty.Engine().ReceivedCount(), "requests");
        QCOMPARE(form.isVisible(), !stop);
        QCOMPARE(form.Closing(), stop);
        QCOMPARE(folder.Exists("ProgSett.ini"), stop);
    }

    void framesAreSwitched()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        TFrameGsmSetting *gsm = form.GsmFrame();
        TFrameSetZ48 *tables = form.TablesFrame();
        QVERIFY(gsm && tables);
        QWidget *panel = form.centralWidget();
        QCOMPARE(gsm->parentWidget(), panel);
        QCOMPARE(tables->parentWidget(), panel);
        QVERIFY(gsm->isHidden());
        QVERIFY(tables->isHidden());
        QCOMPARE(form.CurrentFrame(), nullptr);

        form.Menu().GsmParams->trigger();
        QCOMPARE(form.CurrentFrame(), gsm);
        QVERIFY(gsm->isVisible());
        QVERIFY(form.Menu().SaveConfig->isEnabled());
        QCOMPARE(gsm->geometry(), QRect(1, 1, panel->width() - 2, panel->height() - 2));
        form.Menu().GsmParams->trigger();
        QCOMPARE(form.CurrentFrame(), gsm);
        QVERIFY(gsm->isVisible());
        QVERIFY(tables->isHidden());

        form.Menu().Z48Params->trigger();
        QCOMPARE(form.CurrentFrame(), tables);
        QVERIFY(tables->isVisible());
        QVERIFY(gsm->isHidden());
        form.ShowFrame(nullptr);
        QCOMPARE(form.CurrentFrame(), nullptr);
        QVERIFY(tables->isHidden());
    }

    void windowSizeAndKind()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        const int menu = form.menuBar()->height();
        QCOMPARE(form.width(), 905);
        QCOMPARE(form.height() - menu, 608);
        QCOMPARE(form.centralWidget()->height() + form.statusBar()->height(), 608);
        QCOMPARE(form.maximumSize(), QSize(905, 608 + menu));
        QCOMPARE(form.minimumSize(), QSize(550 - 8, 450 - 46 + menu));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        auto *panel = qobject_cast<QFrame *>(form.centralWidget());
        QVERIFY(panel);
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);
        QCOMPARE(panel->frameWidth(), 1);
    }

    void runLockHoldsTheMenu()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        const TMainMenu &menu = form.Menu();
        const auto *status = form.statusBar()->findChild<QLabel *>("StatusText");
        QVERIFY(status);
        for (int round = 0; round < 2; ++round) {
            // The hint stands while "Программирование" is disabled apart from the lock.
            const QString hint = round == 1 ? QString() : choosePort;
            form.SetRunLock(true);
            form.SetRunLock(true);
            QVERIFY(form.RunLocked());
            for (QAction *item : form.menuBar()->actions())
                QVERIFY2(!item->isEnabled(), qPrintable(item->text()));
            form.ShowStatus(QStringLiteral("Запись: товар 1 из 6000"));
            QCOMPARE(status->text(), QStringLiteral("Запись: товар 1 из 6000"));
            form.ShowStatus(QString());
            QCOMPARE(status->text(), hint);
            form.SetRunLock(false);
            QVERIFY(!form.RunLocked());
            QCOMPARE(status->text(), hint);
            QCOMPARE(menu.Programming->menuAction()->isEnabled(), round == 1);
            QCOMPARE(menu.Service->menuAction()->isEnabled(), round == 1);
            QVERIFY(menu.File->menuAction()->isEnabled());
            QVERIFY(menu.Settings->menuAction()->isEnabled());
            QVERIFY(menu.Version->isEnabled());
            menu.Programming->menuAction()->setEnabled(true);
        }
    }

    void scannerIndicatorFollowsScanCfg_data()
    {
        QTest::addColumn<QByteArray>("scanCfg");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("no file") << QByteArray() << true;
        QTest::newRow("model set")
            << QByteArray("[CURRENT]\r\nModelName=X\r\nComPort=COM9\r\nSpeedPort=9600\r\n")
            << false;
    }

    void scannerIndicatorFollowsScanCfg()
    {
        QFETCH(QByteArray, scanCfg);
        TTempProgramFolder folder;
        if (!scanCfg.isEmpty())
            QVERIFY(folder.Write("Scan.cfg", scanCfg));
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        QVERIFY(form.Scanner());
        const TZ48Controls tables(*form.TablesFrame());
        QTEST(tables.Shape1->isHidden(), "hidden");
        QTEST(tables.Label14->isHidden(), "hidden");
    }

    void scannedBarcodeLandsInTheBarcodeColumn()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        TFrameSetZ48 &tables = *form.TablesFrame();
        TStringGrid &goods = *tables.Grid(TTableTab::Goods);
        goods.SetCurrentCell(3, 2);
        ScanBarcodeReceived(tables, "4601234567893");
        QCOMPARE(goods.Cells(3, 2), QStringLiteral("4601234567893"));
        goods.SetCurrentCell(2, 2);
        ScanBarcodeReceived(tables, "12345670");
        QCOMPARE(goods.Cells(2, 2), goods.Cells(2, 3));
        QCOMPARE(goods.Cells(3, 2), QStringLiteral("4601234567893"));
        // A run uses the grid while it is read-only.
        goods.SetCurrentCell(3, 2);
        goods.SetReadOnly(true);
        ScanBarcodeReceived(tables, "12345670");
        QCOMPARE(goods.Cells(3, 2), QStringLiteral("4601234567893"));
    }

    void scannerMenuRecordsTheChosenScanner()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        QVERIFY(!form.Config().Scanner.Used);

        // Cancelled: the record stays as it was.
        WhenModalShown([](QWidget *modal) {
            auto *dialog = qobject_cast<TFormScannerSetting *>(modal);
            QVERIFY(dialog);
            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        });
        form.Menu().ScannerSettings->trigger();
        QVERIFY(!form.Config().Scanner.Used);

        // The model chosen and applied: model 1 with the dialog's port and speed.
        WhenModalShown([](QWidget *modal) {
            auto *dialog = qobject_cast<TFormScannerSetting *>(modal);
            QVERIFY(dialog);
            dialog->ComboBox1->setCurrentIndex(1);
            dialog->ComboBox1Change();
            dialog->Frame_X5710->ComboBox2->setCurrentText(QStringLiteral("9600"));
            dialog->Frame_X5710->ComboBox2Change();
            QTest::mouseClick(dialog->Button2, Qt::LeftButton);
        });
        form.Menu().ScannerSettings->trigger();
        const TScanner &scanner = form.Config().Scanner;
        QVERIFY(scanner.Used);
        QCOMPARE(scanner.ModelIndex, quint8(1));
        QCOMPARE(scanner.SpeedPort, QStringLiteral("9600"));
        QVERIFY(folder.Read("Scan.cfg").contains("ModelName=Ravix X-5710 (RS-232)"));
    }

    void configurationMenuSavesAndLoads()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        const QString path = folder.FilePath("setup.conf");
        dialogs.SetSaveFileName(path);
        form.Menu().SaveConfig->trigger(); // disabled until a frame is shown
        QVERIFY(dialogs.FileDialogs().isEmpty());
        form.Menu().GsmParams->trigger();
        form.Menu().SaveConfig->trigger();
        QCOMPARE(dialogs.FileDialogs().size(), 1);
        QVERIFY(folder.Exists("setup.conf"));
        QVERIFY(!folder.Read("setup.conf").isEmpty());

        dialogs.SetOpenFileName(path);
        form.Menu().LoadConfig->trigger();
        QCOMPARE(dialogs.FileDialogs().size(), 2);
        QCOMPARE(dialogs.FileDialogs().last().call, TDialogRecorder::Call::OpenFileName);
        QCOMPARE(dialogs.MessageCount(), form.Ports().isEmpty() ? 1 : 0);
        // The wait window went away with the work.
        QTRY_VERIFY(form.findChildren<TFormWait *>().isEmpty());
    }

    void versionWindow()
    {
        TFormVersion version("3.1.0.3");
        version.show();
        QCOMPARE(version.size(), QSize(304, 158));
        QVERIFY(version.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(version.findChild<QLabel *>("Label1")->text(), QStringLiteral("Версия продукта:"));
        QCOMPARE(version.findChild<QLabel *>("Label2")->text(), QStringLiteral("3.1.0.3"));
        QCOMPARE(version.findChild<QLabel *>("Label2")->font().pixelSize(), 16);
        for (auto *label : version.findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            QVERIFY2(version.rect().contains(label->mapTo(&version, label->rect().bottomRight())),
                     qPrintable(label->text()));
        }
        QCOMPARE(version.findChild<QLabel *>("Image1")->pixmap().size(), QSize(161, 89));
        QCOMPARE(version.focusWidget(), version.findChild<QFrame *>("Panel1"));
        auto *ok = version.findChild<QFrame *>("Panel2");
        QCOMPARE(version.findChild<QLabel *>("Label3")->text(), QStringLiteral("OK"));
        auto *pictureFrame = version.findChild<QFrame *>("Panel1");
        QCOMPARE(pictureFrame->frameShadow(), QFrame::Raised);
        QTest::mouseClick(ok, Qt::LeftButton);
        // "OK" lowers the framed panel around the picture.
        QCOMPARE(pictureFrame->frameShadow(), QFrame::Sunken);
        QCOMPARE(version.result(), int(QDialog::Accepted));
        QVERIFY(!version.isVisible());
    }

    void versionMenuShowsTheProgramVersion()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        TFormMain form;
        form.show();
        QString shown;
        WhenModalShown([&](QWidget *modal) {
            QVERIFY(qobject_cast<TFormVersion *>(modal));
            shown = modal->findChild<QLabel *>("Label2")->text();
            QTest::keyClick(modal, Qt::Key_Return);
        });
        form.Menu().Version->trigger();
        QCOMPARE(shown, form.VersionText());
    }

    void waitWindow()
    {
        QWidget owner;
        owner.setGeometry(100, 100, 900, 600);
        owner.show();
        QPointer<TFormWait> wait = TFormWait::ShowOver(&owner);
        QVERIFY(wait);
        QVERIFY(wait->isVisible());
        QCOMPARE(wait->size(), QSize(334, 78));
        QVERIFY(wait->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(wait->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(wait->geometry().center(), owner.geometry().center());
        QCOMPARE(wait->findChild<QLabel *>("Label1")->text(), QStringLiteral("Ждите..."));
        QCOMPARE(wait->findChild<QLabel *>("Label2")->text(),
                 QStringLiteral("Выполняется длинная операция...."));
        QCOMPARE(wait->findChild<QLabel *>("Label2")->font().pixelSize(), 13);
        wait->close();
        QTRY_VERIFY(wait.isNull());
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
