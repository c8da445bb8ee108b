// Reading goods from a register whose answer carries an item number the goods grid has no row
// for: no row is filled and the run ends with the read message for the item asked for.
#include "emulatorengine.h"
#include "tablesrunfixture.h"

#include <atomic>
#include <thread>

#ifdef Q_OS_WIN
#include "portpairs.h"

#include <QEventLoop>
#include <QSerialPort>

#include <future>
#else
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace
{

// A register that answers every goods request as the emulator would, but with the item number
// of its answer replaced: on a pseudo-terminal, or on Windows on one end of a COM port pair.
class TWrongNumberRegister
{
public:
#ifdef Q_OS_WIN
    explicit TWrongNumberRegister(quint16 answeredNumber)
        : number_(answeredNumber), pair_(TakePortPair(nullptr))
    {
        if (pair_.index < 0)
            return;
        std::promise<bool> opened;
        std::future<bool> isOpen = opened.get_future();
        thread_ = std::thread([this, &opened] { Serve(opened); });
        if (isOpen.get())
            portName_ = pair_.other;
        else
            thread_.join();
    }
    ~TWrongNumberRegister()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        ReleasePortPair(pair_.index);
    }
#else
    explicit TWrongNumberRegister(quint16 answeredNumber) : number_(answeredNumber)
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return;
        portName_ = QString::fromLocal8Bit(ptsname(master_));
        slave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        if (slave_ < 0 || tcgetattr(slave_, &tio) != 0)
            return;
        cfmakeraw(&tio);
        tcsetattr(slave_, TCSANOW, &tio);
        if (pipe(wake_) != 0)
            return;
        thread_ = std::thread([this] { Serve(); });
    }
    ~TWrongNumberRegister()
    {
        if (thread_.joinable()) {
            stop_ = true;
            (void)!::write(wake_[1], "x", 1);
            thread_.join();
        }
        for (int fd : {master_, slave_, wake_[0], wake_[1]})
            if (fd >= 0)
                ::close(fd);
    }
#endif
    bool IsOpen() const
    {
        return thread_.joinable();
    }
    QString PortName() const
    {
        return portName_;
    }
    int Requests() const
    {
        return requests_;
    }
    TEmulatorEngine &Engine()
    {
        return engine_;
    }

private:
    // The answers to the whole requests in pending, which are taken from it.
    QByteArray TakeAnswers(QByteArray &pending)
    {
        QByteArray answers;
        while (pending.size() >= 51) {
            QByteArray answer = engine_.Answer(pending.left(51));
            pending.remove(0, 51);
            ++requests_;
            if (answer.size() != 46)
                continue;
            answer[4] = char(number_ & 0xFF);
            answer[5] = char(number_ >> 8);
            const quint16 sum = TEmulatorEngine::Checksum(answer);
            answer[44] = char(sum & 0xFF);
            answer[45] = char(sum >> 8);
            answers += answer;
        }
        return answers;
    }

#ifdef Q_OS_WIN
    void Serve(std::promise<bool> &opened)
    {
        const QEventLoop dispatcher; // for QSerialPort's timers in this thread
        QSerialPort port(pair_.own);
        if (!port.open(QIODevice::ReadWrite)) {
            opened.set_value(false);
            return;
        }
        port.clear();
        opened.set_value(true);
        QByteArray pending;
        while (!stop_) {
            if (port.bytesAvailable() == 0 && !port.waitForReadyRead(50))
                continue;
            pending += port.readAll();
            const QByteArray answers = TakeAnswers(pending);
            if (!answers.isEmpty() && port.write(answers) == answers.size())
                port.waitForBytesWritten(2000);
        }
    }
#else
    void Serve()
    {
        QByteArray pending;
        while (!stop_) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            if (poll(fds, 2, 1000) <= 0 || (fds[1].revents & POLLIN))
                continue;
            char buffer[256];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0)
                continue;
            pending.append(buffer, got);
            const QByteArray answers = TakeAnswers(pending);
            if (!answers.isEmpty())
                (void)!::write(master_, answers.constData(), answers.size());
        }
    }
#endif

    quint16 number_;
    TEmulatorEngine engine_;
#ifdef Q_OS_WIN
    TPortPair pair_;
#else
    int master_ = -1;
    int slave_ = -1;
    int wake_[2] = {-1, -1};
#endif
    QString portName_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

} // namespace

class TestTablesReadAnswer : public QObject
{
    Q_OBJECT
private slots:
    void itemNumberWithoutRow_data();
    void itemNumberWithoutRow();
};

void TestTablesReadAnswer::itemNumberWithoutRow_data()
{
    QTest::addColumn<int>("answered");
    QTest::newRow("0") << 0;
    QTest::newRow("6001") << 6001;
    QTest::newRow("65535") << 65535;
}

void TestTablesReadAnswer::itemNumberWithoutRow()
{
    QFETCH(int, answered);
    TWrongNumberRegister device{quint16(answered)};
    QVERIFY(device.IsOpen());
    TEmulatorItem item;
    item.name = Padded("NAME");
    QVERIFY(device.Engine().SetItem(4, item));
    TFrameUnderTest t;
    t.host.settings.Port.Name = device.PortName();
    t.Grid(1).SetCells(1, 4, QStringLiteral("KEEP"));
    t.Grid(1).SetCells(1, 5, QStringLiteral("KEEP"));
    t.Read(1, QStringLiteral("4"), QStringLiteral("5"));
    QCOMPARE(device.Requests(), 1);
    QCOMPARE(t.dialogs.Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind::Error,
                  QStringLiteral("Внимание!\r\nОшибка (0) при чтении базы. Товар номер 4 !")}}));
    QCOMPARE(t.Grid(1).Cells(1, 4), QStringLiteral("KEEP"));
    QCOMPARE(t.Grid(1).Cells(1, 5), QStringLiteral("KEEP"));
    QCOMPARE(t.Grid(1).Cells(4, 4), QString());
    QVERIFY(!t.ui.ProgressBar1->isVisible());
    QVERIFY(t.Unlocked());
}

QTEST_MAIN(TestTablesReadAnswer)
#include "tst_tablesreadanswer.moc"
