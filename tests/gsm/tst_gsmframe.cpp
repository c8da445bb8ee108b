// The GSM parameters frame against the emulated register on a pseudo-terminal: its grid and its
// key filter, and what it adds to the runs (the grid's values, the progress, the messages, the
// stop and the guards, the verify window). What goes to the register is the runs' own
// (tst_gsmruns).

#include "devicetext.h"
#include "dialogrecorder.h"
#include "emulatorpty.h"
#include "fakeworkhost.h"
#include "framegsmsetting.h"
#include "gsmparams.h"
#include "rundriver.h"
#include "stringgrid.h"
#include "verifywindow.h"
#include "workhost.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace
{

using TFakeHost = TFakeWorkHost;

// Records, with every message, where the progress bar stood when the box came up.
class TProgressRecorder : public TDialogRecorder
{
public:
    explicit TProgressRecorder(QProgressBar *bar) : bar_(bar) {}
    void Message(QWidget *parent, Kind kind, const QString &text) override
    {
        progressAtMessage.append(bar_->value());
        TDialogRecorder::Message(parent, kind, text);
    }
    QList<int> progressAtMessage;

private:
    QProgressBar *bar_;
};

// One "p" request as the register received it.
struct TFieldRequest {
    int mode, table, row, field, attribute;
    QByteArray text; // the 24 device bytes
};

TFieldRequest Decode(const QByteArray &request)
{
    return {quint8(request.at(8)),  quint8(request.at(9)),  quint8(request.at(10)),
            quint8(request.at(11)), quint8(request.at(12)), request.mid(13, 24)};
}

// The device bytes of a text padded with zeros to 24 bytes, as the register keeps it.
QByteArray Padded(const QByteArray &bytes)
{
    QByteArray result = bytes.left(24);
    result.append(QByteArray(24 - result.size(), '\0'));
    return result;
}

QString StoredText(TEmulatorEngine &engine, int row, int field)
{
    return QString::fromLatin1(FromDeviceText(engine.Field(5, row, field).value().text));
}

} // namespace

class TestGsmFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TRunDriver::SetPaintInterval(0); } // every exchange is followed
    void init();
    void cleanup();

    void GridKeyFilterFollowsTheEditedRow();
    void InitFrameLaysOutTheGrid();

    void FailureOnFourthParameterStopsTheRun_data();
    void FailureOnFourthParameterStopsTheRun();
    void ProgressReachesHundredOnlyAfterSeventh_data();
    void ProgressReachesHundredOnlyAfterSeventh();
    void ClickDuringRunIsIgnored();
    void ClosingEndsRunAfterCurrentExchange();
    void FrameDestroyedDuringRunEndsQuietly_data();
    void FrameDestroyedDuringRunEndsQuietly();
    void VerifyListsEachDifferingParameter();
    void WriteChangedSendsOnlyTheChangedParameters();

private:
    void FillGrid(const QStringList &values);

    std::unique_ptr<TEmulatorPty> pty;
    std::unique_ptr<TFakeHost> host;
    std::unique_ptr<TFrameGsmSetting> frame;
    QProgressBar *progress = nullptr;
};

void TestGsmFrame::init()
{
    pty = std::make_unique<TEmulatorPty>();
    QVERIFY2(pty->IsOpen(), qPrintable(pty->ErrorText()));
    host = std::make_unique<TFakeHost>();
    host->settings.Port.Name = pty->PortName();
    host->settings.Port.Speed = 115200;
    host->settings.Port.TimeOut = 2000;
    frame = std::make_unique<TFrameGsmSetting>(host.get());
    frame->InitFrame();
    progress = frame->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
    QVERIFY(progress);
}

void TestGsmFrame::cleanup()
{
    frame.reset();
    host.reset();
    pty.reset();
}

void TestGsmFrame::FillGrid(const QStringList &values)
{
    for (int row = 1; row <= values.size(); ++row)
        frame->Grid()->SetCells(1, row, values.at(row - 1));
}

void TestGsmFrame::GridKeyFilterFollowsTheEditedRow()
{
    TStringGrid *grid = frame->Grid();
    QCOMPARE(grid->FilterKey(1, 4, u'a', QString()), QChar());
    QCOMPARE(grid->FilterKey(1, 4, u'5', QStringLiteral("1234")), QChar());
    QCOMPARE(grid->FilterKey(1, 4, u'5', QStringLiteral("123")), QChar(u'5'));
    QCOMPARE(grid->FilterKey(1, 5, u'a', QStringLiteral("123")), QChar(u'a'));

    // Typed into the open editor of the PIN row.
    frame->show();
    grid->setFocus();
    grid->SetCurrentCell(1, 4);
    QCOMPARE(frame->CurrentRow(), 4);
    QTRY_VERIFY(grid->Editor());
    QTest::keyClicks(grid->Editor(), QStringLiteral("1x2345"));
    QCOMPARE(grid->Editor()->text(), QStringLiteral("1234"));
    QTest::keyClick(grid->Editor(), Qt::Key_Backspace);
    QCOMPARE(grid->Editor()->text(), QStringLiteral("123"));
}

void TestGsmFrame::InitFrameLaysOutTheGrid()
{
    TStringGrid *grid = frame->Grid();
    QCOMPARE(grid->objectName(), QStringLiteral("sgGsm"));
    QCOMPARE(grid->ColCount(), 2);
    QCOMPARE(grid->RowCount(), 8);
    const QStringList captions = {"Параметр",
                                  "IP сервера ОФД",
                                  "Имя сервера ОФД",
                                  "Порт сервера ОФД",
                                  "PIN-код сим карты",
                                  "APN строка для подключения к Internet",
                                  "Логин для подключения к Internet",
                                  "Пароль для подключения к Internet"};
    for (int row = 0; row < 8; ++row) {
        QCOMPARE(grid->Cells(0, row), captions.at(row));
        QCOMPARE(grid->Cells(1, row), row == 0 ? QStringLiteral("Значение") : QString());
    }
    QCOMPARE(grid->ColWidth(0), 250);
    QCOMPARE(grid->ColWidth(1), 595);
    QCOMPARE(grid->DefaultRowHeight(), 21);
    QCOMPARE(frame->CurrentRow(), 1);

    auto *title = frame->findChild<QLabel *>(QStringLiteral("Label1"));
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Параметры GSM"));
    QVERIFY(title->font().bold());
    for (const char *name : {"Label2", "Button1", "Edit2", "Button2"}) {
        auto *widget = frame->findChild<QWidget *>(QString::fromLatin1(name));
        QVERIFY2(widget && !widget->isVisibleTo(frame.get()), name);
    }
    QCOMPARE(frame->findChild<QPushButton *>(QStringLiteral("Button2"))->text(),
             QStringLiteral("Проверить соединение"));
    QCOMPARE(frame->findChild<QPushButton *>(QStringLiteral("Button3"))->text(),
             QStringLiteral("Записать в ККТ"));
    QCOMPARE(frame->findChild<QPushButton *>(QStringLiteral("Button4"))->text(),
             QStringLiteral("Прочитать из ККТ"));
    QVERIFY(!progress->isVisibleTo(frame.get()));
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
}

void TestGsmFrame::FailureOnFourthParameterStopsTheRun_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("message");

    QTest::newRow("write") << false
                           << "ВНИМАНИЕ!\r\nНе удалось записать параметр PIN-код сим карты!";
    QTest::newRow("read") << true
                          << "ВНИМАНИЕ!\r\nНе удалось прочитать параметр PIN-код сим карты!";
}

void TestGsmFrame::FailureOnFourthParameterStopsTheRun()
{
    QFETCH(bool, reading);
    QFETCH(QString, message);

    TEmulatorEngine &engine = pty->Engine();
    engine.SetField(5, 1, 0, {'0', Padded("1.1.1.1")});
    FillGrid({"10.0.0.1", "NAME", "7777", "1234", "APN", "LOGIN", "PASS"});
    // Rows 1 and 2 take one request each, the name three: the PIN is the sixth request.
    engine.AnswerStatusAt(6, 0x41);

    TProgressRecorder dialogs(progress);
    if (reading)
        frame->Button4Click();
    else
        frame->Button3Click();

    QCOMPARE(dialogs.Messages(), (QList<TDialogRecorder::Shown>{{TDialogs::Kind::Error, message}}));
    QCOMPARE(dialogs.progressAtMessage, QList<int>{43});
    const QList<QByteArray> log = engine.ReceivedRequests();
    QCOMPARE(log.size(), 6);
    QCOMPARE(Decode(log.last()).row, 4);
    QVERIFY(!progress->isVisibleTo(frame.get()));
    QVERIFY(!frame->Running());
    QCOMPARE(host->lockCalls, (QList<bool>{true, false}));
    if (reading) {
        // Rows read before the failure keep their new values, the rest what they showed.
        QCOMPARE(frame->Grid()->Cells(1, 1), QStringLiteral("1.1.1.1"));
        QCOMPARE(frame->Grid()->Cells(1, 4), QStringLiteral("1234"));
        QCOMPARE(frame->Grid()->Cells(1, 5), QStringLiteral("APN"));
    } else {
        QCOMPARE(StoredText(engine, 1, 0), QStringLiteral("10.0.0.1"));
        QCOMPARE(StoredText(engine, 5, 0), QString());
    }
}

void TestGsmFrame::ProgressReachesHundredOnlyAfterSeventh_data()
{
    QTest::addColumn<bool>("reading");
    QTest::newRow("write") << false;
    QTest::newRow("read") << true;
}

void TestGsmFrame::ProgressReachesHundredOnlyAfterSeventh()
{
    QFETCH(bool, reading);

    QList<int> values;
    QList<int> requestsAt;
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        values.append(value);
        requestsAt.append(pty->Engine().ReceivedCount());
    });
    progress->setValue(50); // left over from an earlier run
    values.clear();
    requestsAt.clear();

    if (reading)
        frame->Button4Click();
    else
        frame->Button3Click();

    QCOMPARE(values, (QList<int>{0, 14, 29, 43, 57, 71, 86, 100}));
    // Each step follows its parameter's last request; 100 comes after the ninth request.
    QCOMPARE(requestsAt, (QList<int>{0, 1, 2, 5, 6, 7, 8, 9}));
    progress->disconnect(this);
}

void TestGsmFrame::ClickDuringRunIsIgnored()
{
    int nested = 0;
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        // Once only: without the guard a nested run would otherwise nest again at its own 29.
        if (value == 29 && nested == 0) {
            ++nested;
            frame->Button3Click();
            frame->Button4Click();
        }
    });
    TDialogRecorder dialogs;
    frame->Button3Click();
    progress->disconnect(this);

    QCOMPARE(nested, 1);
    // The main menu was locked for the run and given back after it.
    QCOMPARE(host->lockCalls, (QList<bool>{true, false}));
    QCOMPARE(dialogs.MessageCount(), 0);
    const QList<QByteArray> log = pty->Engine().ReceivedRequests();
    QCOMPARE(log.size(), 9);
    for (const QByteArray &request : log)
        QCOMPARE(Decode(request).mode, 0);
    QVERIFY(!frame->Running());

    // The guard is released: the next click runs.
    frame->Button4Click();
    QCOMPARE(pty->Engine().ReceivedCount(), 18);
}

void TestGsmFrame::ClosingEndsRunAfterCurrentExchange()
{
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (value == 29)
            host->closing = true;
    });
    TDialogRecorder dialogs;
    frame->Button3Click();
    progress->disconnect(this);

    QCOMPARE(pty->Engine().ReceivedCount(), 2);
    QCOMPARE(dialogs.MessageCount(), 0);
    QCOMPARE(host->lockCalls, (QList<bool>{true, false}));
    QVERIFY(!progress->isVisibleTo(frame.get()));
    QVERIFY(!frame->Running());
}

void TestGsmFrame::FrameDestroyedDuringRunEndsQuietly_data()
{
    QTest::addColumn<bool>("reading");
    QTest::newRow("write") << false;
    QTest::newRow("read") << true;
}

void TestGsmFrame::FrameDestroyedDuringRunEndsQuietly()
{
    QFETCH(bool, reading);

    // The frame goes away while the window repaints, as the third parameter's answer is awaited;
    // the run must not touch it again (the sanitizer build catches any use after the deletion).
    bool posted = false;
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (value == 29 && !posted) {
            posted = true;
            QTimer::singleShot(0, this, [this] { frame.reset(); });
        }
    });
    TDialogRecorder dialogs;
    TFrameGsmSetting *running = frame.get();
    if (reading)
        running->Button4Click();
    else
        running->Button3Click();

    QVERIFY(posted);
    QVERIFY(!frame);
    // That request was on the line already (the register may not have taken it in yet); none
    // follows it.
    const int received = pty->Engine().ReceivedCount();
    QVERIFY2(received == 2 || received == 3, qPrintable(QString::number(received)));
    QCOMPARE(dialogs.MessageCount(), 0);
}

void TestGsmFrame::VerifyListsEachDifferingParameter()
{
    TEmulatorEngine &engine = pty->Engine();
    const QByteArray a24(24, 'A'), b24(24, 'B');
    engine.SetField(5, 3, 0, {'0', a24});
    engine.SetField(5, 3, 1, {'0', b24});
    engine.SetField(5, 4, 0, {'0', Padded("1234")});
    // The name differs in its second field only, and is typed in small letters; the PIN differs.
    const QString name = QString(24, u'a') + QString(23, u'b') + u'x';
    FillGrid({"", name, "", "4321", "", "", ""});
    TDialogRecorder dialogs;
    frame->VerifyClick();

    QCOMPARE(dialogs.MessageCount(), 0);
    QCOMPARE(pty->Engine().ReceivedCount(), 9); // read only
    auto *window = frame->findChild<TVerifyWindow *>();
    QVERIFY(window && window->isVisible());
    QTreeWidget *list = window->List();
    QCOMPARE(list->topLevelItemCount(), 2);
    const auto line = [list](int i) {
        QTreeWidgetItem *item = list->topLevelItem(i);
        return QStringList{item->text(0), item->text(1), item->text(2), item->text(3)};
    };
    QCOMPARE(line(0),
             (QStringList{"Имя сервера ОФД", "Значение", name, QString::fromLatin1(a24 + b24)}));
    QCOMPARE(line(1), (QStringList{"PIN-код сим карты", "Значение", "4321", "1234"}));
    QCOMPARE(frame->Grid()->Cells(1, 4), QStringLiteral("4321")); // the grid keeps its text
    emit list->itemActivated(list->topLevelItem(1), 0);
    QCOMPARE(frame->Grid()->Row(), 4);
}

void TestGsmFrame::WriteChangedSendsOnlyTheChangedParameters()
{
    TDialogRecorder dialogs;
    frame->Button4Click(); // what the register holds is known now
    frame->Grid()->SetCells(1, 2, QStringLiteral("ofd.ru"));
    frame->Grid()->SetCells(1, 6, QStringLiteral("user"));
    pty->Engine().ClearReceivedRequests();
    host->statuses.clear();
    frame->WriteChangedClick();

    QCOMPARE(dialogs.MessageCount(), 0);
    const QList<QByteArray> log = pty->Engine().ReceivedRequests();
    QCOMPARE(log.size(), 4); // the name's three fields, then the login
    const int rows[] = {3, 3, 3, 6};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(Decode(log.at(i)).mode, 0);
        QCOMPARE(Decode(log.at(i)).row, rows[i]);
    }
    QCOMPARE(host->statuses, (QStringList{"Запись: параметр 3 (1 из 2)",
                                          "Запись: параметр 6 (2 из 2)", QString()}));

    // Nothing left to write: told so, nothing sent.
    pty->Engine().ClearReceivedRequests();
    frame->WriteChangedClick();
    QCOMPARE(dialogs.Texts(), QStringList{QStringLiteral(
                                  "Нет изменённых параметров: ККТ уже содержит эти данные.")});
    QCOMPARE(pty->Engine().ReceivedCount(), 0);
}

QTEST_MAIN(TestGsmFrame)
#include "tst_gsmframe.moc"
