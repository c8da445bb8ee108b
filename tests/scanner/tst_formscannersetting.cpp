// The scanner settings dialog against "Scan.cfg" in a temporary program folder.
#include "dialogrecorder.h"
#include "formscannersetting.h"
#include "frame_x5710.h"
#include "inidocument.h"
#include "portnames.h"
#include "scancfg.h"
#include "scannerpty.h"
#include "scanports.h"
#include "tempfolder.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace
{

const QString FileName = QStringLiteral("Scan.cfg");
const QString NoScanner = QStringLiteral("Не использовать сканер");
const QString X5710 = QStringLiteral("Ravix X-5710 (RS-232)");

QByteArray CfgFile(const QString &model, const QString &port, const QString &speed)
{
    return QStringLiteral("[CURRENT]\r\nModelName=%1\r\nComPort=%2\r\nSpeedPort=%3\r\n")
        .arg(model, port, speed)
        .toLatin1();
}

// The user picks an entry of a list.
void Choose(QComboBox *list, const QString &text)
{
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

struct TWritten {
    QStringList keys;
    QStringList values;
};

TWritten ReadBack(const TTempProgramFolder &folder)
{
    const TIniDocument doc = TIniDocument::FromBytes(folder.Read(FileName));
    TWritten written;
    written.keys = doc.Keys(QStringLiteral("CURRENT"));
    for (const QString &key : written.keys)
        written.values << doc.Value(QStringLiteral("CURRENT"), key);
    return written;
}

const QStringList Keys{QStringLiteral("ModelName"), QStringLiteral("ComPort"),
                       QStringLiteral("SpeedPort")};

} // namespace

class TstFormScannerSetting : public QObject
{
    Q_OBJECT
private slots:
    void layoutAndLists();
    void opensOnNoScanner_data();
    void opensOnNoScanner();
    void opensOnTheConfiguredScanner();
    void applyWritesTheDialogTexts_data();
    void applyWritesTheDialogTexts();
    void unlistedPortIsKeptAndWrittenBack();
    void existingConfiguredDeviceIsOffered();
    void cancelLeavesTheFileAsItWas();
    void failedWriteIsReportedAndKeepsTheDialogOpen();
    void portNamesSortByNumber();
    void pipeInPlaceOfScanCfgIsNeverOpened();
};

void TstFormScannerSetting::layoutAndLists()
{
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    TFormScannerSetting dialog;
    dialog.show();

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Настройки сканера штрих-кода"));
    QCOMPARE(dialog.size(), QSize(433, 207));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));

    const auto text = [&dialog](QWidget *parent, const char *name) {
        auto *label = parent->findChild<QLabel *>(QString::fromLatin1(name));
        return label ? label->text() : QStringLiteral("<missing>");
    };
    QCOMPARE(text(&dialog, "Label1"), QStringLiteral("Модель:"));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("Button2"))->text(),
             QStringLiteral("Применить"));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("Button1"))->text(),
             QStringLiteral("Отмена"));
    auto *models = dialog.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    QVERIFY(models && !models->isEditable());
    QCOMPARE(models->count(), 2);
    QCOMPARE(models->itemText(0), NoScanner);
    QCOMPARE(models->itemText(1), X5710);

    TFrame_X5710 *frame = dialog.Frame_X5710;
    QVERIFY(frame);
    QCOMPARE(frame->parentWidget(), dialog.findChild<QWidget *>(QStringLiteral("Panel2")));
    QCOMPARE(frame->pos(), QPoint(1, 1));
    QCOMPARE(frame->size(), frame->parentWidget()->size() - QSize(2, 2));

    QCOMPARE(text(frame, "Label1"), QStringLiteral("COM порт:"));
    QCOMPARE(text(frame, "Label2"), QStringLiteral("Скорость:"));
    QCOMPARE(text(frame, "Label3"), QStringLiteral("Данные:"));
    QCOMPARE(text(frame, "Label4"), QStringLiteral("Стоп:"));
    QCOMPARE(text(frame, "Label5"), QStringLiteral("Четность:"));
    const QList<QPair<const char *, QString>> panels{{"Panel1", QStringLiteral("8 бит")},
                                                     {"Panel2", QStringLiteral("1 стоп бит")},
                                                     {"Panel3", QStringLiteral("Нет")}};
    for (const auto &[name, caption] : panels) {
        auto *panel = frame->findChild<QLabel *>(QString::fromLatin1(name));
        QVERIFY2(panel, name);
        QCOMPARE(panel->text(), caption);
        QVERIFY2(!panel->isEnabled(), name); // greyed and fixed
    }

    QStringList speeds;
    for (int i = 0; i < frame->ComboBox2->count(); ++i)
        speeds << frame->ComboBox2->itemText(i);
    QCOMPARE(speeds, (QStringList{"600", "1200", "2400", "4800", "9600", "19200", "38400", "57600",
                                  "115200"}));
    QVERIFY(!frame->ComboBox1->isEditable());
    QVERIFY(!frame->ComboBox2->isEditable());
#ifdef Q_OS_WIN
    QCOMPARE(frame->ComboBox1->count(), 99);
    QCOMPARE(frame->ComboBox1->itemText(0), QStringLiteral("COM1"));
    QCOMPARE(frame->ComboBox1->itemText(98), QStringLiteral("COM99"));
#endif
}

void TstFormScannerSetting::opensOnNoScanner_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("unknown model") << true << CfgFile("Other 1000", "COM2", "9600");
}

void TstFormScannerSetting::opensOnNoScanner()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, contents);
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    if (fileExists)
        QVERIFY(folder.Write(FileName, contents));

    TFormScannerSetting dialog;
    QVERIFY(folder.Exists(FileName)); // created empty when it was missing
    dialog.show();
    QCOMPARE(dialog.ComboBox1->currentIndex(), 0);
    QCOMPARE(dialog.ComboBox1->currentText(), NoScanner);
    QVERIFY(dialog.Frame_X5710->isHidden());
    QCOMPARE(dialog.Cfg(), TScanCfg());
    if (!fileExists)
        QCOMPARE(folder.Read(FileName), QByteArray());
}

void TstFormScannerSetting::opensOnTheConfiguredScanner()
{
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, "COM150", "38400")));
    TFormScannerSetting dialog;
    dialog.show();
    QCOMPARE(dialog.ComboBox1->currentText(), X5710);
    QVERIFY(dialog.Frame_X5710->isVisible());
    QCOMPARE(dialog.Frame_X5710->ComboBox2->currentText(), QStringLiteral("38400"));
    QCOMPARE(dialog.Cfg(), (TScanCfg{X5710, "COM150", "38400"}));

    // The user's choice of a speed lands in the dialog's texts.
    Choose(dialog.Frame_X5710->ComboBox2, QStringLiteral("115200"));
    QCOMPARE(dialog.Cfg().SpeedPort, QStringLiteral("115200"));
}

void TstFormScannerSetting::applyWritesTheDialogTexts_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no scanner writes three empty values")
        << CfgFile(X5710, "COM3", "9600") << NoScanner << QStringList{"", "", ""};
    QTest::newRow("model kept, lists untouched")
        << CfgFile(X5710, "COM3", "9600") << X5710 << QStringList{X5710, "COM3", "9600"};
    QTest::newRow("model chosen on a file without one")
        << CfgFile("", "COM3", "9600") << X5710 << QStringList{X5710, "", ""};
    QTest::newRow("model chosen on an empty file")
        << QByteArray() << X5710 << QStringList{X5710, "", ""};
}

void TstFormScannerSetting::applyWritesTheDialogTexts()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, model);
    QFETCH(QStringList, expected);
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, contents));

    TFormScannerSetting dialog;
    dialog.show();
    Choose(dialog.ComboBox1, model);
    QCOMPARE(dialog.Frame_X5710->isVisible(), model == X5710);
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.isHidden());

    const TWritten written = ReadBack(folder);
    QCOMPARE(written.keys, Keys);
    QCOMPARE(written.values, expected);
}

void TstFormScannerSetting::unlistedPortIsKeptAndWrittenBack()
{
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, "COM150", "4800")));
    TFormScannerSetting dialog;
    dialog.show();
    QCOMPARE(dialog.Frame_X5710->ComboBox1->currentIndex(), -1);
    QCOMPARE(dialog.Cfg().ComPort, QStringLiteral("COM150"));
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    QCOMPARE(ReadBack(folder).values, (QStringList{X5710, "COM150", "4800"}));
}

void TstFormScannerSetting::existingConfiguredDeviceIsOffered()
{
#ifdef Q_OS_WIN
    QSKIP("Windows offers COM1 to COM99 only");
#else
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, pty.SlavePath(), "9600")));
    TFormScannerSetting dialog;
    dialog.show();
    QComboBox *ports = dialog.Frame_X5710->ComboBox1;
    QCOMPARE(ports->currentText(), pty.SlavePath());
    QVERIFY(ports->findText(QStringLiteral("/dev/kkt-no-such-scanner")) < 0);
#endif
}

void TstFormScannerSetting::cancelLeavesTheFileAsItWas()
{
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    // Written by hand: a comment, odd spacing, no final line break.
    const QByteArray original =
        "; scanner\n[CURRENT]\nModelName = " + X5710.toLatin1() + "\nComPort=COM7\nSpeedPort=1200";
    QVERIFY(folder.Write(FileName, original));
    TFormScannerSetting dialog;
    dialog.show();
    Choose(dialog.ComboBox1, NoScanner);
    Choose(dialog.ComboBox1, X5710);
    Choose(dialog.Frame_X5710->ComboBox2, QStringLiteral("57600"));
    if (dialog.Frame_X5710->ComboBox1->count() > 0)
        Choose(dialog.Frame_X5710->ComboBox1, dialog.Frame_X5710->ComboBox1->itemText(0));
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(folder.Read(FileName), original);
}

void TstFormScannerSetting::failedWriteIsReportedAndKeepsTheDialogOpen()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    const QByteArray original = CfgFile(X5710, "COM3", "9600");
    QVERIFY(folder.Write(FileName, original));
    // The folder and file readable, but not writable, for the unprivileged user.
    QFile::setPermissions(folder.FilePath(FileName),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                             QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    TDialogRecorder dialogs;
    {
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot run as an unprivileged user here");
        TFormScannerSetting dialog;
        dialog.show();
        Choose(dialog.ComboBox1, NoScanner);
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialogs.MessageCount(), 1);
        QCOMPARE(dialogs.Messages().at(0).kind, TDialogs::Kind::Error);
        QVERIFY(dialogs.LastText().contains(FileName));
        dialog.reject();
    }
    QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(folder.Read(FileName), original);
}

void TstFormScannerSetting::portNamesSortByNumber()
{
    // As the connection settings dialog lists them: one kind of port together, a name without
    // a number before the numbered ones of its kind, numbers in ascending order.
    QStringList names{"ttyUSB1", "ttyS10", "ttyS2", "ttyUSB0", "ttyS0", "ttyACM", "ttyACM0"};
    names = SortPortNames(names);
    QCOMPARE(names,
             (QStringList{"ttyACM", "ttyACM0", "ttyS0", "ttyS2", "ttyS10", "ttyUSB0", "ttyUSB1"}));
}

void TstFormScannerSetting::pipeInPlaceOfScanCfgIsNeverOpened()
{
    KKT_SKIP_WITHOUT_SPECIAL_FILES();
    TTempProgramFolder folder;
    QVERIFY(folder.MakeSpecial(FileName, TTempProgramFolder::Special::Pipe));
    // Opening it would wait for a writer for ever; it reads as no scanner at once instead, and
    // a write is refused.
    QCOMPARE(ReadScanCfg(ScanCfg::FilePath()), TScanCfg());
    QVERIFY(!WriteScanCfg(ScanCfg::FilePath(), TScanCfg{X5710, "COM3", "9600"}));
}

QTEST_MAIN(TstFormScannerSetting)
#include "tst_formscannersetting.moc"
