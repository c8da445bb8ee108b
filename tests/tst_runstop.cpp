// A run with the register as the user follows it: the status bar text of its place.
#include "runstatus.h"

#include <QtTest>

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
};

QTEST_MAIN(TestRunStop)
#include "tst_runstop.moc"
