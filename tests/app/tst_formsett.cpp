#include "dialogrecorder.h"
#include "digitkeyfilter.h"
#include "emulatorpty.h"
#include "formsett.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace
{
const QString badParameter = QStringLiteral("ВНИМАНИЕ!\r\nНеккоректный параметр!");
const QString noConnection = QStringLiteral("ВНИМАНИЕ!\r\nНе удалось подключиться к ККТ!");
const QString connected = QStringLiteral("Связь с ККТ установленна!");

using Shown = TDialogRecorder::Shown;
using Kind = TDialogs::Kind;

TStructSetting Settings(const QString &port, qint32 speed, qint32 timeOut, quint32 number)
{
    TStructSetting settings;
    settings.Port.Name = port;
    settings.Port.Speed = speed;
    settings.Port.TimeOut = timeOut;
    settings.NumKKT = number;
    return settings;
}

bool Same(const TStructSetting &a, const TStructSetting &b)
{
    return a.Port.Name == b.Port.Name && a.Port.Speed == b.Port.Speed &&
           a.Port.TimeOut == b.Port.TimeOut && a.NumKKT == b.NumKKT;
}

// The dialog with its controls found by name, shown as the main window shows it.
struct TDialog {
    TDialog(TStructSetting &settings, const QStringList &ports)
        : form(std::make_unique<TFormSett>(settings, ports))
    {
        port = form->findChild<QComboBox *>("ComboBox1");
        speed = form->findChild<QComboBox *>("ComboBox2");
        timeOut = form->findChild<QLineEdit *>("Edit1");
        number = form->findChild<QLineEdit *>("Edit2");
        check = form->findChild<QPushButton *>("Button1");
        cancel = form->findChild<QPushButton *>("Button2");
        apply = form->findChild<QPushButton *>("Button3");
        form->show();
    }
    bool Found() const { return port && speed && timeOut && number && check && cancel && apply; }
    // Replaces a field's text as a paste from the clipboard does: no key passes the filter.
    static void Paste(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QApplication::clipboard()->setText(text);
        edit->paste();
        if (edit->text() != text) // a platform without a clipboard
            edit->insert(text);
    }
    static void Clear(QLineEdit *edit)
    {
        edit->setFocus();
        edit->end(false);
        while (!edit->text().isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
    }

    std::unique_ptr<TFormSett> form;
    QComboBox *port = nullptr, *speed = nullptr;
    QLineEdit *timeOut = nullptr, *number = nullptr;
    QPushButton *check = nullptr, *cancel = nullptr, *apply = nullptr;
};
} // namespace

class TestFormSett : public QObject
{
    Q_OBJECT
private slots:
    void windowAndControls()
    {
        TStructSetting settings;
        TDialog d(settings, {"COM1"});
        QVERIFY(d.Found());
        QCOMPARE(d.form->windowTitle(), QStringLiteral("Настройки связи с ККТ"));
        QCOMPARE(d.form->size(), QSize(363, 183));
        QCOMPARE(d.form->minimumSize(), d.form->maximumSize());
        QVERIFY(!(d.form->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(d.form->windowFlags() & Qt::WindowSystemMenuHint));
        QCOMPARE(d.check->text(), QStringLiteral("Проверить связь с ККТ"));
        QCOMPARE(d.cancel->text(), QStringLiteral("Отмена"));
        QCOMPARE(d.apply->text(), QStringLiteral("Применить"));
        QStringList labels;
        for (QLineEdit *edit : {d.timeOut, d.number})
            QVERIFY(!edit->isReadOnly());
        for (QWidget *field : {static_cast<QWidget *>(d.port), static_cast<QWidget *>(d.speed),
                               static_cast<QWidget *>(d.timeOut), static_cast<QWidget *>(d.number)})
            for (QLabel *label : d.form->findChildren<QLabel *>())
                if (label->buddy() == field)
                    labels.append(label->text());
        QCOMPARE(labels, (QStringList{"COM порт:", "Скорость:", "Тайм-аут:", "Номер ККМ:"}));
        QStringList speeds;
        for (int i = 0; i < d.speed->count(); ++i)
            speeds.append(d.speed->itemText(i));
        QCOMPARE(speeds, (QStringList{"1200", "2400", "4800", "9600", "19200", "38400", "57600",
                                      "115200"}));
        QVERIFY(!d.port->isEditable());
        QVERIFY(!d.speed->isEditable());
        // Tab order: port, speed, time-out, device number, test, cancel, apply.
        QList<QWidget *> order{d.port, d.speed, d.timeOut, d.number, d.check, d.cancel, d.apply};
        for (int i = 0; i + 1 < order.size(); ++i) {
            QWidget *next = order[i]->nextInFocusChain();
            while (next != order[i] && !(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            QCOMPARE(next, order[i + 1]);
        }
    }

    void showsTheCurrentSettings()
    {
        TStructSetting settings = Settings("COM3", 9600, 1500, 7);
        TDialog d(settings, {"COM1", "COM3", "COM12"});
        QCOMPARE(d.port->count(), 3);
        QCOMPARE(d.port->currentText(), QStringLiteral("COM3"));
        QCOMPARE(d.speed->currentText(), QStringLiteral("9600"));
        QCOMPARE(d.timeOut->text(), QStringLiteral("1500"));
        QCOMPARE(d.number->text(), QStringLiteral("7"));
        QVERIFY(d.apply->isEnabled());
        QVERIFY(d.check->isEnabled());
        QCOMPARE(d.form->focusWidget(), d.cancel);
    }

    void applyStartsDisabled_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("timeOut");
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<int>("portIndex");
        QTest::addColumn<int>("speedIndex");
        QTest::addColumn<bool>("applyEnabled");
        const QStringList ports{"COM1", "COM2"};
        QTest::newRow("all shown") << "COM2" << 19200 << 3500 << ports << 1 << 4 << true;
        QTest::newRow("port removed") << "COM3" << 19200 << 3500 << ports << -1 << 4 << false;
        QTest::newRow("no port at all")
            << "COM3" << 19200 << 3500 << QStringList{} << -1 << 4 << false;
        QTest::newRow("speed not offered") << "COM1" << 14400 << 3500 << ports << 0 << -1 << false;
        QTest::newRow("time-out 0") << "COM1" << 19200 << 0 << ports << 0 << 4 << false;
    }

    void applyStartsDisabled()
    {
        QFETCH(QString, port);
        QFETCH(int, speed);
        QFETCH(int, timeOut);
        QFETCH(QStringList, ports);
        TStructSetting settings = Settings(port, speed, timeOut, 0);
        TDialog d(settings, ports);
        QTEST(d.port->currentIndex(), "portIndex");
        QTEST(d.speed->currentIndex(), "speedIndex");
        QTEST(d.apply->isEnabled(), "applyEnabled");
        QVERIFY(d.check->isEnabled());
    }

    void selectingEnablesApply()
    {
        TStructSetting settings = Settings("COM3", 14400, 3500, 0);
        TDialog d(settings, {"COM1", "COM2"});
        QVERIFY(!d.apply->isEnabled());
        QTest::keyClick(d.port, Qt::Key_Down);
        QCOMPARE(d.port->currentText(), QStringLiteral("COM1"));
        QVERIFY(d.apply->isEnabled());

        TStructSetting other = Settings("COM1", 14400, 3500, 0);
        TDialog e(other, {"COM1"});
        QVERIFY(!e.apply->isEnabled());
        QTest::keyClick(e.speed, Qt::Key_Down);
        QCOMPARE(e.speed->currentText(), QStringLiteral("1200"));
        QVERIFY(e.apply->isEnabled());
    }

    void timeOutFieldRule()
    {
        TStructSetting settings = Settings("COM1", 19200, 3500, 0);
        TDialog d(settings, {"COM1"});
        TDialog::Clear(d.timeOut);
        QVERIFY(!d.apply->isEnabled());
        QTest::keyClicks(d.timeOut, "0");
        QCOMPARE(d.timeOut->text(), QStringLiteral("0"));
        QVERIFY(!d.apply->isEnabled());
        TDialog::Clear(d.timeOut);
        QTest::keyClicks(d.timeOut, "3500");
        QCOMPARE(d.timeOut->text(), QStringLiteral("3500"));
        QVERIFY(d.apply->isEnabled());
        // Beyond 32 bits is no number.
        TDialog::Paste(d.timeOut, "99999999999");
        QVERIFY(!d.apply->isEnabled());
        QVERIFY(d.check->isEnabled());
    }

    void deviceNumberFieldRule()
    {
        TStructSetting settings = Settings("COM1", 19200, 3500, 12);
        TDialog d(settings, {"COM1"});
        TDialog::Clear(d.number);
        QVERIFY(!d.apply->isEnabled());
        QVERIFY(!d.check->isEnabled());
        QTest::keyClicks(d.number, "5");
        QVERIFY(d.apply->isEnabled());
        QVERIFY(d.check->isEnabled());
    }

    void fieldsTakeDigitsAndBackspaceOnly_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("time-out") << "Edit1";
        QTest::newRow("device number") << "Edit2";
    }

    void fieldsTakeDigitsAndBackspaceOnly()
    {
        QFETCH(QString, field);
        TStructSetting settings = Settings("COM1", 19200, 3500, 4);
        TDialog d(settings, {"COM1"});
        auto *edit = d.form->findChild<QLineEdit *>(field);
        QVERIFY(edit);
        edit->setFocus();
        edit->end(false);
        const QString before = edit->text();
        QTest::keyClicks(edit, "a-. +,e");
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("Ж"),
                            Qt::NoModifier);
        QTest::keyClick(edit, Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(edit->text(), before);
        QTest::keyClicks(edit, "0123456789");
        QCOMPARE(edit->text(), before + "0123456789");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), before + "012345678");
        // Moving about still works.
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClicks(edit, "9");
        QCOMPARE(edit->text(), "9" + before + "012345678");
    }

    void enterInAFieldPressesNoButton()
    {
        TDialogRecorder dialogs;
        TEmulatorPty pty;
        QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
        const TStructSetting before = Settings(pty.PortName(), 19200, 3500, 0);
        TStructSetting settings = before;
        TDialog d(settings, {pty.PortName()});
        for (QLineEdit *edit : {d.timeOut, d.number}) {
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
        }
        QCOMPARE(dialogs.MessageCount(), 0);
        QVERIFY(pty.Engine().ReceivedRequests().isEmpty());
        QVERIFY(d.form->isVisible());
        QCOMPARE(d.form->result(), int(QDialog::Rejected));
        QVERIFY(Same(settings, before));
    }

    void keyFilterFunction_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("digit 7") << int(Qt::Key_7) << "7" << 0 << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << 0 << true;
        QTest::newRow("letter") << int(Qt::Key_Q) << "q" << 0 << false;
        QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << 0 << false;
        QTest::newRow("space") << int(Qt::Key_Space) << " " << 0 << false;
        QTest::newRow("Arabic-Indic digit")
            << int(Qt::Key_unknown) << QString(QChar(0x0663)) << 0 << false;
        QTest::newRow("left arrow") << int(Qt::Key_Left) << "" << 0 << true;
        QTest::newRow("return") << int(Qt::Key_Return) << "\r" << 0 << false;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << "\r" << 0 << false;
        QTest::newRow("paste shortcut")
            << int(Qt::Key_V) << "\x16" << int(Qt::ControlModifier) << true;
    }

    void keyFilterFunction()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QTEST(DigitFieldAcceptsKey(event), "accepted");
    }

    void applyStoresTheShownValues()
    {
        TDialogRecorder dialogs;
        TStructSetting settings = Settings("COM1", 19200, 3500, 0);
        TDialog d(settings, {"COM1", "COM2"});
        d.port->setCurrentIndex(1);
        d.speed->setCurrentIndex(d.speed->findText("115200"));
        TDialog::Clear(d.timeOut);
        QTest::keyClicks(d.timeOut, "800");
        TDialog::Clear(d.number);
        QTest::keyClicks(d.number, "2147483647");
        QTest::mouseClick(d.apply, Qt::LeftButton);
        QCOMPARE(d.form->result(), int(QDialog::Accepted));
        QVERIFY(Same(settings, Settings("COM2", 115200, 800, 2147483647u)));
        QCOMPARE(dialogs.MessageCount(), 0);
    }

    void cancelKeepsTheSettings()
    {
        const TStructSetting before = Settings("COM1", 9600, 3500, 3);
        TStructSetting settings = before;
        {
            TDialog d(settings, {"COM1", "COM2"});
            d.port->setCurrentIndex(1);
            TDialog::Clear(d.timeOut);
            QTest::keyClicks(d.timeOut, "100");
            QTest::mouseClick(d.cancel, Qt::LeftButton);
            QCOMPARE(d.form->result(), int(QDialog::Rejected));
            QVERIFY(!d.form->isVisible());
        }
        QVERIFY(Same(settings, before));
        TDialog again(settings, {"COM1", "COM2"});
        QCOMPARE(again.port->currentText(), QStringLiteral("COM1"));
        QCOMPARE(again.speed->currentText(), QStringLiteral("9600"));
        QCOMPARE(again.timeOut->text(), QStringLiteral("3500"));
        QCOMPARE(again.number->text(), QStringLiteral("3"));
    }

    void applyRefusesValuesThatDoNotConvert_data()
    {
        QTest::addColumn<QString>("timeOut");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("speedIndex");
        QTest::newRow("device number beyond 32 bits") << "3500"
                                                      << "4294967296" << 4;
        QTest::newRow("device number of 11 digits") << "3500"
                                                    << "99999999999" << 4;
        QTest::newRow("pasted letters in device number") << "3500"
                                                         << "12abc" << 4;
        QTest::newRow("time-out beyond 32 bits") << "3000000000"
                                                 << "1" << 4;
        QTest::newRow("pasted negative time-out") << "-5"
                                                  << "1" << 4;
        QTest::newRow("time-out 0") << "0"
                                    << "1" << 4;
        QTest::newRow("no speed chosen") << "3500"
                                         << "1" << -1;
    }

    void applyRefusesValuesThatDoNotConvert()
    {
        QFETCH(QString, timeOut);
        QFETCH(QString, number);
        QFETCH(int, speedIndex);
        TDialogRecorder dialogs;
        const TStructSetting before = Settings("COM1", 19200, 3500, 0);
        TStructSetting settings = before;
        TDialog d(settings, {"COM1"});
        d.speed->setCurrentIndex(speedIndex);
        TDialog::Paste(d.timeOut, timeOut);
        // The device number field's rule enables "Применить" for any text.
        TDialog::Paste(d.number, number);
        QVERIFY(d.apply->isEnabled());
        QTest::mouseClick(d.apply, Qt::LeftButton);
        QCOMPARE(dialogs.Messages(), (QList<Shown>{{Kind::Information, badParameter}}));
        QVERIFY(Same(settings, before));
        QVERIFY(d.form->isVisible());
        QCOMPARE(d.form->result(), int(QDialog::Rejected));
    }

    void testRefusesValuesThatDoNotConvert()
    {
        TDialogRecorder dialogs;
        TStructSetting settings = Settings("COM1", 14400, 3500, 0);
        TDialog d(settings, {"COM1"});
        QCOMPARE(d.speed->currentIndex(), -1);
        QTest::mouseClick(d.check, Qt::LeftButton);
        d.speed->setCurrentIndex(0);
        TDialog::Paste(d.number, "5000000000");
        QTest::mouseClick(d.check, Qt::LeftButton);
        QCOMPARE(dialogs.Messages(), (QList<Shown>{{Kind::Information, badParameter},
                                                   {Kind::Information, badParameter}}));
    }

    void testReachesTheRegister()
    {
        TEmulatorPty pty;
        QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
        TDialogRecorder dialogs;
        // The applied settings name no port; the test uses what the dialog shows.
        const TStructSetting before = Settings("", 19200, 3500, 0);
        TStructSetting settings = before;
        TDialog d(settings, {pty.PortName()});
        d.port->setCurrentIndex(0);
        QTest::mouseClick(d.check, Qt::LeftButton);
        QCOMPARE(dialogs.Messages(), (QList<Shown>{{Kind::Information, connected}}));
        QVERIFY(Same(settings, before));
        QVERIFY(d.form->isVisible());
        QVERIFY(!pty.Engine().ReceivedRequests().isEmpty());
    }

    void testReportsFailure_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("silent register") << "silent";
        QTest::newRow("another device number") << "number";
        QTest::newRow("port that does not exist") << "missing";
        QTest::newRow("no port chosen") << "none";
    }

    void testReportsFailure()
    {
        QFETCH(QString, fault);
        TEmulatorPty pty(5);
        QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
        if (fault == "silent")
            pty.Engine().StaySilentAlways(true);
        const QString port = fault == "missing" ? "/dev/ttyNoSuchPort77" : pty.PortName();
        TDialogRecorder dialogs;
        TStructSetting settings = Settings(port, 19200, 300, fault == "number" ? 6 : 5);
        TDialog d(settings, fault == "none" ? QStringList{} : QStringList{port});
        QTest::mouseClick(d.check, Qt::LeftButton);
        QCOMPARE(dialogs.Messages(), (QList<Shown>{{Kind::Question, noConnection}}));
    }
};

QTEST_MAIN(TestFormSett)
#include "tst_formsett.moc"
