#include "deviceport.h"
#include "serialline.h"

#include "tempfolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#ifdef Q_OS_WIN
#include "portpairs.h"
#include "winecommwait.h"

#include <QSerialPort>
#else
#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace
{

#ifdef Q_OS_WIN
// The register's end of a null-modem COM port pair; the program opens Name(), the other end.
class TBarePty
{
public:
    TBarePty() : pair(TakePortPair(nullptr))
    {
        port.setPortName(pair.own);
        if (pair.index >= 0 && port.open(QIODevice::ReadWrite))
            port.clear();
    }
    ~TBarePty()
    {
        port.close();
        ReleasePortPair(pair.index);
    }
    bool IsOpen() const { return port.isOpen(); }
    QString Name() const { return pair.other; }
    void Send(const QByteArray &bytes)
    {
        QCOMPARE(port.write(bytes), qint64(bytes.size()));
        QVERIFY(port.waitForBytesWritten(2000));
    }
    // The program's input queue lies at the other end of the pair, out of sight here: what has
    // arrived shows in the line's own count.
    int Queued() const { return 0; }
    QByteArray Received()
    {
        port.waitForReadyRead(20);
        return port.readAll();
    }

private:
    TPortPair pair;
    QSerialPort port;
};
#else

// A bare pseudo-terminal: the test writes into the master what the "register" sends, and keeps
// a raw slave descriptor of its own open to look at the slave's input queue.
class TBarePty
{
public:
    TBarePty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return;
        name = QString::fromLocal8Bit(ptsname(master));
        slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        termios t{};
        if (slave >= 0 && tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave, TCSANOW, &t);
        }
    }
    ~TBarePty()
    {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }
    bool IsOpen() const { return master >= 0 && slave >= 0; }
    QString Name() const { return name; }
    void Send(const QByteArray &bytes)
    {
        QCOMPARE(::write(master, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }
    // Bytes waiting in the slave's input queue.
    int Queued() const
    {
        int n = -1;
        ioctl(slave, FIONREAD, &n);
        return n;
    }
    // Bytes the program wrote towards the register, taken from the master.
    QByteArray Received()
    {
        char buffer[512];
        const int flags = fcntl(master, F_GETFL);
        fcntl(master, F_SETFL, flags | O_NONBLOCK);
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        fcntl(master, F_SETFL, flags);
        return n > 0 ? QByteArray(buffer, int(n)) : QByteArray();
    }

private:
    int master = -1;
    int slave = -1;
    QString name;
};
#endif

} // namespace

// The serial line and the device port functions over a bare pseudo-terminal.
class TestSerialLine : public QObject
{
    Q_OBJECT

private slots:
    void missingPortDoesNotOpen()
    {
        TSerialLine line;
        QVERIFY(!line.Open(QStringLiteral("/dev/kkt-no-such-port"), 9600));
        QCOMPARE(line.OpenFailure(), QStringLiteral("Порт /dev/kkt-no-such-port не найден"));
        QVERIFY(!line.Open(QString(), 9600));
        QCOMPARE(line.OpenFailure(), QStringLiteral("Не выбран порт ККТ"));
        TDevicePortHandle handle = nullptr;
        QString told = QStringLiteral("-");
        SetPortOpenListener([&told](const QString &failure) { told = failure; });
        QVERIFY(!OpenDevicePort(QStringLiteral("/dev/kkt-no-such-port"), 9600, 100, 0, handle));
        QVERIFY(handle == nullptr);
        QCOMPARE(told, QStringLiteral("Порт /dev/kkt-no-such-port не найден"));
        TBarePty pty;
        QVERIFY(OpenDevicePort(pty.Name(), 9600, 100, 0, handle));
        QCOMPARE(told, QString());
        CloseDevicePort(handle);
        SetPortOpenListener({});
    }

    void invalidSpeedDoesNotOpen()
    {
        TBarePty pty;
        QVERIFY(pty.IsOpen());
        TSerialLine line;
        QVERIFY(!line.Open(pty.Name(), 0));
        QVERIFY(!line.Open(pty.Name(), -9600));
        QVERIFY(!line.IsOpen());
    }

    void openIsExclusive()
    {
        TBarePty pty;
#ifdef Q_OS_WIN
        if (RunningUnderWine())
            QSKIP("Wine lets a COM port that is already open be opened again");
#endif
        QVERIFY(pty.IsOpen());
        TSerialLine first, second;
        QVERIFY(first.Open(pty.Name(), 19200));
        QVERIFY(!second.Open(pty.Name(), 19200));
        QCOMPARE(second.OpenFailure(),
                 QStringLiteral("Порт %1 занят другой программой").arg(pty.Name()));
        first.Close();
        QVERIFY(second.Open(pty.Name(), 19200));
        QCOMPARE(second.OpenFailure(), QString());
    }

    // A user outside the port's group is told so (root would open any port: the check runs as
    // an unprivileged user).
    void forbiddenPortSaysWhy()
    {
#ifdef Q_OS_WIN
        KKT_SKIP_WITHOUT_MODE_BITS();
#else
        TBarePty pty;
        QVERIFY(pty.IsOpen());
        QVERIFY(::chmod(QFile::encodeName(pty.Name()).constData(), 0600) == 0);
        TSerialLine line;
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot drop root rights here to meet a port this user may not open");
        QVERIFY(!line.Open(pty.Name(), 19200));
        QCOMPARE(line.OpenFailure(),
                 QStringLiteral("Нет доступа к порту %1 (добавьте пользователя в группу dialout)")
                     .arg(pty.Name()));
#endif
    }

    // A handle still held is closed before the port is opened again; otherwise the second
    // opening of the same port would be refused.
    void reopeningClosesTheOldHandle()
    {
        TBarePty pty;
        QVERIFY(pty.IsOpen());
        TDevicePortHandle &handle = DevicePortHandle();
        QVERIFY(OpenDevicePort(pty.Name(), 115200, 100, 0, handle));
        QVERIFY(handle != nullptr);
        QVERIFY(OpenDevicePort(pty.Name(), 115200, 100, 0, handle));
        QVERIFY(handle != nullptr);
        CloseDevicePort(handle);
        QVERIFY(handle == nullptr);
    }

    void readStopsAtCount()
    {
        TBarePty pty;
        QVERIFY(pty.IsOpen());
        TSerialLine line;
        QVERIFY(line.Open(pty.Name(), 115200));
        line.SetReadTimeouts(20000);
        pty.Send("0123456789AB");
        char buffer[16] = {};
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(line.Read(buffer, 10), qint64(10));
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(QByteArray(buffer, 10), QByteArray("0123456789"));
        line.SetReadTimeouts(0);
        QCOMPARE(line.Read(buffer, 10), qint64(2));
        QCOMPARE(QByteArray(buffer, 2), QByteArray("AB"));
    }

    // A total time-out of 0 takes what is there and never waits for more.
    void zeroTimeOutTakesWhatIsThere()
    {
        TBarePty pty;
        QVERIFY(pty.IsOpen());
        TSerialLine line;
        QVERIFY(line.Open(pty.Name(), 115200));
        line.SetReadTimeouts(0);
        char buffer[16] = {};
        QCOMPARE(line.Read(buffer, 16), qint64(0));
        pty.Send("abc");
        QTRY_COMPARE(pty.Queued() + line.BytesAvailable(), 3);
        QCOMPARE(line.Read(buffer, 16), qint64(3));
        QCOMPARE(QByteArray(buffer, 3), QByteArray("abc"));
        // A negative time-out is the same as 0, not "forever".
        line.SetReadTimeouts(-1);
        QCOMPARE(line.Read(buffer, 16), qint64(0));
    }

    void purgeDiscardsInput()
    {
        TBarePty pty;
        QVERIFY(pty.IsOpen());
        TSerialLine line;
        QVERIFY(line.Open(pty.Name(), 115200));
        line.SetReadTimeouts(0);
        pty.Send("stale answer");
        QTRY_COMPARE(pty.Queued() + line.BytesAvailable(), 12);
        line.Purge();
        char buffer[16] = {};
        QCOMPARE(line.Read(buffer, 16), qint64(0));
        pty.Send("new");
        QTRY_COMPARE(pty.Queued() + line.BytesAvailable(), 3);
        QCOMPARE(line.Read(buffer, 16), qint64(3));
    }

    void writeReachesTheLine()
    {
        TBarePty pty;
        QVERIFY(pty.IsOpen());
        TSerialLine line;
        QVERIFY(line.Open(pty.Name(), 115200));
        const QByteArray frame = QByteArray::fromHex("17020100000075 0b 19 b300");
        line.Write(frame.constData(), frame.size());
        QByteArray got;
        QTRY_VERIFY((got += pty.Received()).size() >= frame.size());
        QCOMPARE(got, frame);
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
