// A run with the register as the user follows and stops it: the status bar text of its place;
// the stop button and Esc end a tables or GSM run after the exchange under way.
#include "framegsmsetting.h"
#include "gsmparams.h"
#include "runstatus.h"
#include "tablesrunfixture.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace
{

// A record's own value, as the source of a run holds it.
QString Value(int record)
{
    return QStringLiteral("V") + QString::number(record);
}

QByteArray Stored(int record)
{
    return Padded(Value(record).toLatin1());
}

} // namespace

class TestRunStop : public QObject
{
    Q_OBJECT
private slots:
    void statusText_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("noun");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("text");
        QTest::newRow("write from 1")
            << true << "товар" << 1234 << 1 << 6000 << "Запись: товар 1234 из 6000";
        QTest::newRow("read from 1")
            << false << "товар" << 12 << 1 << 6000 << "Чтение: товар 12 из 6000";
        QTest::newRow("from 3") << true << "товар" << 4 << 3 << 5 << "Запись: товар 4 (2 из 3)";
        QTest::newRow("one record")
            << false << "строка клише" << 21 << 21 << 21 << "Чтение: строка клише 21 (1 из 1)";
    }

    void statusText()
    {
        QFETCH(bool, write);
        QFETCH(QString, noun);
        QFETCH(int, record);
        QFETCH(int, first);
        QFETCH(int, last);
        const TRunDirection direction = write ? TRunDirection::Write : TRunDirection::Read;
        QTEST(RunStatusText(direction, noun, record, first, last), "text");
    }

    void stopEndsRunAfterCurrentExchange_data()
    {
        QTest::addColumn<bool>("gsmRun");
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("byEsc");
        // Up to the one the user stops at; one exchange per record before it. Then the status
        // bar keeps how many went through.
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<QString>("got");
        QTest::newRow("goods write, Esc")
            << false << true << true
            << QStringList{"Запись: товар 5 (1 из 50)", "Запись: товар 6 (2 из 50)",
                           "Запись: товар 7 (3 из 50)"}
            << "Записано: 2 из 50";
        QTest::newRow("goods read, Стоп")
            << false << false << false
            << QStringList{"Чтение: товар 1 из 50", "Чтение: товар 2 из 50"}
            << "Прочитано: 1 из 50";
        QTest::newRow("GSM write, Стоп")
            << true << true << false
            << QStringList{"Запись: параметр 1 из 7", "Запись: параметр 2 из 7",
                           "Запись: параметр 3 из 7"}
            << "Записано: 2 из 7";
        QTest::newRow("GSM read, Esc")
            << true << false << true
            << QStringList{"Чтение: параметр 1 из 7", "Чтение: параметр 2 из 7"}
            << "Прочитано: 1 из 7";
    }

    void stopEndsRunAfterCurrentExchange()
    {
        QFETCH(bool, gsmRun);
        QFETCH(bool, write);
        QFETCH(bool, byEsc);
        QFETCH(QStringList, statuses);
        TFrameUnderTest t;
        QVERIFY2(t.Ready(), qPrintable(t.pty.ErrorText()));
        TFrameGsmSetting gsm(&t.host);
        gsm.InitFrame();
        gsm.show();
        TEmulatorEngine &engine = t.Engine();
        TStringGrid &grid = gsmRun ? *gsm.Grid() : t.Grid(1);
        auto gridRow = [gsmRun](int record) {
            return gsmRun ? GsmParamAtDeviceRow(record)->GridRow : record;
        };
        // Value(n) at the run's source for 50 goods items or the seven GSM parameters.
        const int first = gsmRun || !write ? 1 : 5;
        const int last = gsmRun ? kGsmParamCount : first + 49;
        t.OpenTab(1);
        t.SetRange(1, QString::number(first), QString::number(last));
        for (int record = first; record <= last; ++record) {
            if (write) {
                grid.SetCells(1, gridRow(record), Value(record));
            } else if (gsmRun) {
                engine.SetField(5, record, 0, {'0', Stored(record)});
            } else {
                TEmulatorItem item;
                item.name = Stored(record);
                engine.SetItem(record, item);
            }
        }
        auto arrived = [&](int record) {
            if (!write)
                return grid.Cells(1, gridRow(record)) == Value(record);
            return (gsmRun ? engine.Field(5, record, 0)->text : engine.Item(record)->name) ==
                   Stored(record);
        };
        QWidget *frame = gsmRun ? static_cast<QWidget *>(&gsm) : &t.frame;
        auto *stop = frame->findChild<QPushButton *>(QStringLiteral("ButtonStop"));
        QVERIFY(stop);
        QCOMPARE(stop->text(), QStringLiteral("Стоп"));
        // The grid holds the focus with its editor open as the run starts.
        grid.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(grid.window()));
        grid.setFocus();
        QTRY_VERIFY(grid.Editor());

        bool shownDuringRun = false;
        bool editableDuringRun = false;
        QWidget *escTarget = nullptr;
        t.host.onStatus = [&](const QString &text) {
            if (text.isEmpty())
                return;
            // Moving to another cell opens no editor either.
            grid.SetCurrentCell(1, t.host.statuses.size() % 2 + 1);
            editableDuringRun |= !grid.ReadOnly() || grid.Editor();
            if (t.host.statuses.size() != statuses.size())
                return;
            shownDuringRun = stop->isVisible() && stop->isEnabled();
            if (byEsc)
                QTest::keyClick(escTarget = QApplication::focusWidget(), Qt::Key_Escape);
            else
                QTest::mouseClick(stop, Qt::LeftButton);
        };
        // The button's own slot: a click would take the focus off the grid.
        if (gsmRun)
            write ? gsm.Button3Click() : gsm.Button4Click();
        else
            write ? t.frame.Button3Click() : t.frame.Button4Click();

        QCOMPARE(t.dialogs.Texts(),
                 QStringList{QStringLiteral("ВНИМАНИЕ!\r\nОперация прервана пользователем!")});
        QCOMPARE(engine.ReceivedCount(), statuses.size() - 1);
        QFETCH(QString, got);
        QCOMPARE(t.host.statuses, statuses + QStringList{got});
        // What was done stays; the record the user stopped at was not touched.
        QVERIFY(arrived(first + int(statuses.size()) - 2));
        QVERIFY(!arrived(first + int(statuses.size()) - 1));
        QVERIFY(shownDuringRun);
        QCOMPARE(escTarget, byEsc ? &grid : nullptr);
        QVERIFY(stop->isHidden());
        QVERIFY(!editableDuringRun);
        QVERIFY(!grid.ReadOnly());
        QTRY_VERIFY(grid.Editor());
        QVERIFY(!t.host.runLocked);
    }

    // A click that comes while an answer is on the line (the window paints meanwhile) stops the
    // run before the next request.
    void stopClickedWhileAnAnswerIsAwaited()
    {
        TFrameUnderTest t;
        QVERIFY2(t.Ready(), qPrintable(t.pty.ErrorText()));
        TEmulatorEngine &engine = t.Engine();
        // 25 ms for each request and its answer: within one slice of the wait.
        engine.SetLineSpeed(38400);
        t.OpenTab(1);
        t.SetRange(1, QStringLiteral("1"), QStringLiteral("20"));
        auto *stop = t.frame.findChild<QPushButton *>(QStringLiteral("ButtonStop"));
        QVERIFY(stop);
        std::atomic<bool> ended = false;
        std::thread user([&] {
            while (!ended && engine.ReceivedCount() < 3)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            QMetaObject::invokeMethod(stop, &QPushButton::click, Qt::QueuedConnection);
        });
        t.frame.Button3Click();
        ended = true;
        user.join();
        QCOMPARE(engine.ReceivedCount(), 3);
        QCOMPARE(t.dialogs.Texts(),
                 QStringList{QStringLiteral("ВНИМАНИЕ!\r\nОперация прервана пользователем!")});
    }
};

QTEST_MAIN(TestRunStop)
#include "tst_runstop.moc"
