// The scanner controller: start-up from "Scan.cfg", the indicator beside the goods grid, start
// and stop as the goods tab is shown and left, and the scanner menu command; the scanner is a
// pseudo-terminal.
#include "formscannersetting.h"
#include "frame_x5710.h"
#include "scannercontrol.h"
#include "scannerindicator.h"
#include "scannerpty.h"
#include "scanthread.h"
#include "tempfolder.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace
{

const QString FileName = QStringLiteral("Scan.cfg");
const QString X5710 = QStringLiteral("Ravix X-5710 (RS-232)");
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QByteArray Digits13("4601234567893\r");
const QByteArray Digits8("46012345\r");

QByteArray CfgFile(const QString &model, const QString &port, const QString &speed)
{
    return QStringLiteral("[CURRENT]\r\nModelName=%1\r\nComPort=%2\r\nSpeedPort=%3\r\n")
        .arg(model, port, speed)
        .toUtf8();
}

// The circle and caption as the tables frame would show them; both visible at first, as laid out.
class TIndicator : public TScannerIndicator
{
public:
    bool lampVisible = true;
    bool captionVisible = true;
    QColor color;
    void SetLampVisible(bool visible) override { lampVisible = visible; }
    void SetLampColor(const QColor &c) override { color = c; }
    void SetCaptionVisible(bool visible) override { captionVisible = visible; }
};

// Acts on the scanner settings dialog once the menu command has opened it.
void WhenDialogOpens(std::function<void(TFormScannerSetting &)> action)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<TFormScannerSetting *>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(*dialog);
                return;
            }
        }
    });
    timer->start(10);
}

void Choose(QComboBox *list, const QString &text)
{
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

} // namespace

class TstScannerControl : public QObject
{
    Q_OBJECT
private slots:
    void noModelHidesTheIndicatorAndIgnoresScans();
    void missingPortShowsRedWithoutCaption_data();
    void missingPortShowsRedWithoutCaption();
    void openPortShowsGreenAndDeliversBarcodes();
    void stoppedScannerDropsWhatCameMeanwhile();
    void startWhileRunningOpensAnew();
    void menuCommandTakesTheNewPortAndSpeed();
    void menuCommandCancelledLeavesTheReaderStopped();
    void modelChosenInTheMenuWorksFromTheNextStart();
};

void TstScannerControl::noModelHidesTheIndicatorAndIgnoresScans()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile("", pty.SlavePath(), "9600")));
    TIndicator indicator;
    TScannerControl control(&indicator);
    QVERIFY(!control.Configured());
    QVERIFY(!indicator.lampVisible);
    QVERIFY(!indicator.captionVisible);

    indicator.lampVisible = indicator.captionVisible = true;
    QSignalSpy spy(&control, &TScannerControl::BarcodeReceived);
    control.StartScanner();
    QVERIFY(!indicator.lampVisible);
    QVERIFY(!indicator.captionVisible);
    QVERIFY(!control.Reader().IsRunning());
    QVERIFY(pty.Write(Digits13));
    QVERIFY(!spy.wait(200));
}

void TstScannerControl::missingPortShowsRedWithoutCaption_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("no such port") << CfgFile(X5710, "/dev/kkt-no-such-scanner", "9600");
    QTest::newRow("no port chosen") << CfgFile(X5710, "", "");
    QTest::newRow("speed not a number") << CfgFile(X5710, "/dev/null", "fast");
}

void TstScannerControl::missingPortShowsRedWithoutCaption()
{
    QFETCH(QByteArray, contents);
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, contents));
    TIndicator indicator;
    TScannerControl control(&indicator);
    QVERIFY(control.Configured());
    QVERIFY(indicator.lampVisible); // left as laid out at start-up

    control.StartScanner();
    QVERIFY(indicator.lampVisible);
    QCOMPARE(indicator.color, Red);
    QVERIFY(!indicator.captionVisible);
    QVERIFY(!control.Reader().IsRunning());
}

void TstScannerControl::openPortShowsGreenAndDeliversBarcodes()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, pty.SlavePath(), "9600")));
    TIndicator indicator;
    indicator.captionVisible = false;
    TScannerControl control(&indicator);
    QCOMPARE(control.Cfg(), (TScanCfg{X5710, pty.SlavePath(), "9600"}));
    QSignalSpy spy(&control, &TScannerControl::BarcodeReceived);

    control.StartScanner();
    QCOMPARE(indicator.color, Green);
    QVERIFY(indicator.lampVisible);
    QVERIFY(indicator.captionVisible);
    QVERIFY(control.Reader().IsRunning());

    QVERIFY(pty.Write(Digits13));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("4601234567893"));
    QVERIFY(pty.Write("460123456789\r"));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.at(1).at(0).toString(), QString());
}

void TstScannerControl::stoppedScannerDropsWhatCameMeanwhile()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, pty.SlavePath(), "19200")));
    TIndicator indicator;
    TScannerControl control(&indicator);
    QSignalSpy spy(&control, &TScannerControl::BarcodeReceived);
    control.StartScanner();

    control.StopScanner();
    QVERIFY(!control.Reader().IsRunning());
    QVERIFY(pty.Write(Digits13 + "12"));
    QVERIFY(!spy.wait(300));

    control.StartScanner();
    QVERIFY(pty.Write(Digits8));
    QVERIFY(spy.wait(5000));
    QTest::qWait(100);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("46012345"));
}

void TstScannerControl::startWhileRunningOpensAnew()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, pty.SlavePath(), "9600")));
    TIndicator indicator;
    TScannerControl control(&indicator);
    QSignalSpy spy(&control, &TScannerControl::BarcodeReceived);
    control.StartScanner();
    control.StartScanner();
    QVERIFY(control.Reader().IsRunning());
    QCOMPARE(indicator.color, Green);
    QVERIFY(pty.Write(Digits8));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("46012345"));
}

void TstScannerControl::menuCommandTakesTheNewPortAndSpeed()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, "/dev/kkt-no-such-scanner", "9600")));
    TIndicator indicator;
    TScannerControl control(&indicator);
    control.StartScanner();
    QCOMPARE(indicator.color, Red);

    // The user changes the file behind the program's back: the dialog starts from the file.
    QVERIFY(folder.Write(FileName, CfgFile(X5710, pty.SlavePath(), "9600")));
    WhenDialogOpens([](TFormScannerSetting &dialog) {
        Choose(dialog.Frame_X5710->ComboBox2, QStringLiteral("115200"));
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    });
    QSignalSpy spy(&control, &TScannerControl::BarcodeReceived);
    const TScannerDialogResult result = control.ScannerClick(nullptr);
    QVERIFY(result.Accepted);
    QCOMPARE(result.Cfg, (TScanCfg{X5710, pty.SlavePath(), "115200"}));
    QCOMPARE(control.Cfg().ComPort, pty.SlavePath());
    QCOMPARE(control.Cfg().SpeedPort, QStringLiteral("115200"));
    QCOMPARE(indicator.color, Green);
    QVERIFY(control.Reader().IsRunning());
    QVERIFY(pty.Write(Digits13));
    QVERIFY(spy.wait(5000));
}

void TstScannerControl::menuCommandCancelledLeavesTheReaderStopped()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile(X5710, pty.SlavePath(), "9600")));
    TIndicator indicator;
    TScannerControl control(&indicator);
    control.StartScanner();
    QVERIFY(control.Reader().IsRunning());

    WhenDialogOpens([](TFormScannerSetting &dialog) {
        Choose(dialog.Frame_X5710->ComboBox2, QStringLiteral("600"));
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    const TScannerDialogResult result = control.ScannerClick(nullptr);
    QVERIFY(!result.Accepted);
    QVERIFY(!control.Reader().IsRunning());
    QCOMPARE(control.Cfg().SpeedPort, QStringLiteral("9600"));
}

void TstScannerControl::modelChosenInTheMenuWorksFromTheNextStart()
{
    TScannerPty pty;
    QVERIFY(pty.IsValid());
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    QVERIFY(folder.Write(FileName, CfgFile("", pty.SlavePath(), "9600")));
    TIndicator indicator;
    TScannerControl control(&indicator);

    WhenDialogOpens([&pty](TFormScannerSetting &dialog) {
        Choose(dialog.ComboBox1, X5710);
        Choose(dialog.Frame_X5710->ComboBox1, pty.SlavePath());
        Choose(dialog.Frame_X5710->ComboBox2, QStringLiteral("9600"));
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    });
    QVERIFY(control.ScannerClick(nullptr).Accepted);
    // The model counts from the next program start only.
    QVERIFY(!control.Configured());
    QVERIFY(!control.Reader().IsRunning());
    QVERIFY(!indicator.lampVisible);

    TScannerControl nextStart(&indicator);
    QVERIFY(nextStart.Configured());
    nextStart.StartScanner();
    QCOMPARE(indicator.color, Green);
}

QTEST_MAIN(TstScannerControl)
#include "tst_scannercontrol.moc"
