#include "portsearch.h"

#include <QSerialPortInfo>
#include <QTemporaryFile>
#include <QTest>

#include <atomic>
#include <future>
#include <thread>

// The port list the connection dialog offers.
class TestPortSearch : public QObject
{
    Q_OBJECT
private slots:
    void ordersByTheNumberInTheName_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("COM1 and COM12")
            << QStringList{"COM12", "COM1"} << QStringList{"COM1", "COM12"};
        QTest::newRow("numbers, not letters") << QStringList{"COM10", "COM2", "COM1", "COM99"}
                                              << QStringList{"COM1", "COM2", "COM10", "COM99"};
        QTest::newRow("stems apart") << QStringList{"ttyUSB0", "ttyS10", "ttyS2", "ttyACM1"}
                                     << QStringList{"ttyACM1", "ttyS2", "ttyS10", "ttyUSB0"};
        QTest::newRow("no number first")
            << QStringList{"COM3", "COM"} << QStringList{"COM", "COM3"};
        QTest::newRow("leading zero")
            << QStringList{"tty02", "tty1"} << QStringList{"tty1", "tty02"};
        QTest::newRow("empty") << QStringList{} << QStringList{};
    }

    void ordersByTheNumberInTheName()
    {
        QFETCH(QStringList, names);
        QTEST(SortPortNames(names), "ordered");
    }

    void deviceExistence()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
#ifdef Q_OS_WIN
        // Windows lists every COM port itself: no name is looked up as a file.
        QVERIFY(!PortDeviceExists(file.fileName()));
        QVERIFY(!PortDeviceExists(QStringLiteral("COM1")));
        return;
#endif
        QVERIFY(PortDeviceExists(file.fileName()));
        QVERIFY(!PortDeviceExists(file.fileName() + QStringLiteral(".missing")));
        QVERIFY(!PortDeviceExists(QString()));
        QVERIFY(!PortDeviceExists(QStringLiteral("ttyNoSuchPort77")));
        QVERIFY(PortDeviceExists(QStringLiteral("null"))); // /dev/null
    }

    void listsWhatTheSystemLists()
    {
        QStringList system;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            system.append(info.portName());
        system.removeDuplicates();
        QCOMPARE(EnumeratePorts(QString()), SortPortNames(system));
    }

    // "FILE" stands for a file that exists (as a pseudo-terminal's device does).
    void addsTheConfiguredPortOnlyWhenUnlistedAndThere_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("locations");
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QStringList>("ports");
        QTest::newRow("each once, in order")
            << QStringList{"ttyUSB0", "ttyS10", "ttyS2", "ttyS2"}
            << QStringList{"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS2"} << QString()
            << QStringList{"ttyS2", "ttyS10", "ttyUSB0"};
        QTest::newRow("listed by name")
            << QStringList{"FILE"} << QStringList{"/dev/ttyS0"} << "FILE" << QStringList{"FILE"};
        QTest::newRow("listed by path")
            << QStringList{"ttyACM0"} << QStringList{"FILE"} << "FILE" << QStringList{"ttyACM0"};
        QTest::newRow("not there") << QStringList{"ttyS0"} << QStringList{"/dev/ttyS0"}
                                   << "/dev/ttyNoSuchPort77" << QStringList{"ttyS0"};
        QTest::newRow("there, unlisted") << QStringList{"ttyS0"} << QStringList{"/dev/ttyS0"}
                                         << "FILE" << QStringList{"ttyS0", "FILE"};
    }

    void addsTheConfiguredPortOnlyWhenUnlistedAndThere()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, locations);
        QFETCH(QString, configured);
        QFETCH(QStringList, ports);
        QTemporaryFile file;
        QVERIFY(file.open());
        if (configured == u"FILE") {
#ifdef Q_OS_WIN
            QSKIP("Windows lists every COM port itself: a configured port is never added");
#endif
            configured = file.fileName();
            for (QStringList *list : {&names, &locations, &ports})
                list->replaceInStrings(QStringLiteral("FILE"), file.fileName());
        }
        TSystemPortList system;
        for (qsizetype i = 0; i < names.size(); ++i)
            system.append({names[i], locations[i]});
        QCOMPARE(EnumeratePorts(system, configured), ports);
    }

    // The main window starts the search as it is created and takes it at its port step.
    void searchRunsAheadAndIsWaitedFor()
    {
        std::promise<void> release;
        std::atomic<bool> started{false};
        TPortSearch search([&started, done = release.get_future().share()] {
            started = true;
            done.wait_for(std::chrono::seconds(10)); // never hangs the test
            return TSystemPortList{{"COM12", "COM12"}, {"COM1", "COM1"}};
        });
        // Under way before it is asked for, so not on the asking thread.
        QTRY_VERIFY(started);
        std::thread late([&release] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            release.set_value();
        });
        QCOMPARE(search.Take(QString()), (QStringList{"COM1", "COM12"}));
        late.join();
    }
};

QTEST_MAIN(TestPortSearch)
#include "tst_portsearch.moc"
