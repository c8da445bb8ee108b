#include "emulatorengine.h"
#include "emulatorpty.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <QSerialPort>
#else
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace
{

constexpr int kStatusAnswer = 31;
constexpr int kGoodsAnswer = 46;

QByteArray Frame(quint32 device, char letter, const QByteArray &payload)
{
    QByteArray frame(8, '\0');
    frame[0] = 0x17;
    frame[1] = 0x02;
    for (int i = 0; i < 4; ++i)
        frame[2 + i] = char((device >> (8 * i)) & 0xFF);
    frame[6] = letter;
    frame[7] = char(payload.size() + 11);
    frame += payload;
    frame += char(0x19);
    quint16 sum = 0;
    for (char c : frame)
        sum = quint16(sum + quint8(c));
    frame += char(sum & 0xFF);
    frame += char(sum >> 8);
    return frame;
}

#ifndef Q_OS_WIN // for the kkt-emulator program
QByteArray ItemRequest(quint32 device, quint8 mode, quint16 number, const QByteArray &name)
{
    QByteArray payload(40, '\0');
    payload[0] = char(mode);
    payload[1] = char(number & 0xFF);
    payload[2] = char(number >> 8);
    payload[3] = '1';
    payload.replace(4, name.size(), name);
    return Frame(device, 'T', payload);
}
#endif

bool ChecksumOk(const QByteArray &answer)
{
    const qsizetype n = answer.size();
    if (n < 3)
        return false;
    quint16 sum = 0;
    for (qsizetype i = 0; i < n - 2; ++i)
        sum = quint16(sum + quint8(answer[i]));
    return quint8(answer[n - 2]) == (sum & 0xFF) && quint8(answer[n - 1]) == (sum >> 8);
}

#ifdef Q_OS_WIN
// The other end of the emulator's COM port pair, as the program opens it.
class TClientPort
{
public:
    explicit TClientPort(const QString &name) : port_(name)
    {
        if (port_.open(QIODevice::ReadWrite))
            port_.setBaudRate(QSerialPort::Baud115200);
    }
    bool IsOpen() const { return port_.isOpen(); }
    void Close() { port_.close(); }
    bool Write(const QByteArray &bytes)
    {
        if (port_.write(bytes) != bytes.size())
            return false;
        while (port_.bytesToWrite() > 0) {
            if (!port_.waitForBytesWritten(2000))
                return false;
        }
        return true;
    }
    // Up to count bytes, giving up when nothing has arrived for gapMs.
    QByteArray Read(int count, int gapMs = 2000)
    {
        QByteArray bytes;
        while (bytes.size() < count) {
            if (port_.bytesAvailable() == 0 && !port_.waitForReadyRead(gapMs))
                break;
            bytes += port_.read(count - bytes.size());
        }
        return bytes;
    }

private:
    QSerialPort port_;
};
#else
// The port as the program opens it: raw, no controlling terminal.
class TClientPort
{
public:
    explicit TClientPort(const QString &path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        if (fd_ >= 0) {
            termios tio{};
            tcgetattr(fd_, &tio);
            cfmakeraw(&tio);
            tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~TClientPort() { Close(); }
    TClientPort(const TClientPort &) = delete;
    TClientPort &operator=(const TClientPort &) = delete;
    bool IsOpen() const { return fd_ >= 0; }
    void Close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    bool Write(const QByteArray &bytes)
    {
        return ::write(fd_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // Up to count bytes, giving up when nothing has arrived for gapMs.
    QByteArray Read(int count, int gapMs = 2000)
    {
        QByteArray bytes;
        while (bytes.size() < count) {
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, gapMs) <= 0)
                break;
            char buffer[256];
            const ssize_t n =
                ::read(fd_, buffer, size_t(std::min<qsizetype>(count - bytes.size(), 256)));
            if (n <= 0)
                break;
            bytes.append(buffer, n);
        }
        return bytes;
    }

private:
    int fd_;
};

int OpenFdCount()
{
    return int(QDir("/proc/self/fd")
                   .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)
                   .size());
}
#endif

} // namespace

class TestEmulatorPty : public QObject
{
    Q_OBJECT

private slots:
    void answersAcrossReopenedPorts();
    void silenceSendsNothing();
    void brokenInputDoesNotSwallowTheNextRequest();
    void pauseInsideTheAnswer();
    void lineSpeedTakesTheLineTime();
    void destructionLeavesNothingBehind();
    void programServesAndKeepsItsMemory();
    void programOptions();
};

void TestEmulatorPty::answersAcrossReopenedPorts()
{
    TEmulatorPty pty(1);
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
#ifdef Q_OS_WIN
    QVERIFY(pty.PortName().startsWith("COM"));
#else
    QVERIFY(pty.PortName().startsWith("/dev/"));
#endif
    const QByteArray request = Frame(1, 'u', {});
    for (int round = 0; round < 3; ++round) {
        TClientPort port(pty.PortName());
        QVERIFY(port.IsOpen());
        QVERIFY(port.Write(request));
        const QByteArray answer = port.Read(kStatusAnswer);
        port.Close();
        QCOMPARE(answer.size(), kStatusAnswer);
        QCOMPARE(quint8(answer[3]), quint8(0));
        QVERIFY(ChecksumOk(answer));
    }
    QCOMPARE(pty.Engine().ReceivedRequests(), (QList<QByteArray>{request, request, request}));
}

void TestEmulatorPty::silenceSendsNothing()
{
    TEmulatorPty pty;
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
    pty.Engine().StaySilent(1);
    TClientPort port(pty.PortName());
    QVERIFY(port.IsOpen());
    QVERIFY(port.Write(Frame(0, 'c', {})));
    QVERIFY(port.Read(1, 300).isEmpty());
    QCOMPARE(pty.Engine().ReceivedCount(), 1);
    QVERIFY(port.Write(Frame(0, 'c', {})));
    QCOMPARE(port.Read(7).size(), 7);
    port.Close();
}

void TestEmulatorPty::brokenInputDoesNotSwallowTheNextRequest()
{
    TEmulatorPty pty;
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
    TClientPort port(pty.PortName());
    QVERIFY(port.IsOpen());
    // Junk, then the start of a long frame that never ends.
    QVERIFY(port.Write(QByteArray::fromHex("00FFAA1702000000005400")));
    QVERIFY(port.Read(1, TEmulatorPty::kPartialFrameGapMs + 200).isEmpty());
    QVERIFY(port.Write(Frame(0, 'u', {})));
    QCOMPARE(port.Read(kStatusAnswer).size(), kStatusAnswer);
    QCOMPARE(pty.Engine().ReceivedCount(), 1);
    port.Close();
}

void TestEmulatorPty::pauseInsideTheAnswer()
{
    TEmulatorPty pty;
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
    pty.Engine().PauseInNextAnswer(10, 400);
    TClientPort port(pty.PortName());
    QVERIFY(port.IsOpen());
    QVERIFY(port.Write(Frame(0, 'u', {})));
    QCOMPARE(port.Read(10).size(), 10);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(port.Read(1, 150).isEmpty()); // the gap is there
    QCOMPARE(port.Read(kStatusAnswer - 10).size(), kStatusAnswer - 10);
    QVERIFY(timer.elapsed() >= 300);
    port.Close();
}

void TestEmulatorPty::lineSpeedTakesTheLineTime()
{
    TEmulatorPty pty;
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
    pty.Engine().SetLineSpeed(1200); // (11 + 31) bytes * 10 bits / 1200 baud = 350 ms
    TClientPort port(pty.PortName());
    QVERIFY(port.IsOpen());
    QElapsedTimer timer;
    timer.start();
    QVERIFY(port.Write(Frame(0, 'u', {})));
    QCOMPARE(port.Read(kStatusAnswer).size(), kStatusAnswer);
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed >= 345 && elapsed < 5000, qPrintable(QString::number(elapsed)));
    port.Close();
}

void TestEmulatorPty::destructionLeavesNothingBehind()
{
#ifndef Q_OS_WIN
    const int before = OpenFdCount();
#endif
    TEmulatorEngine engine;
    auto pty = std::make_unique<TEmulatorPty>(engine);
    QVERIFY2(pty->IsOpen(), qPrintable(pty->ErrorText()));
    const QString name = pty->PortName();
    // At 50 baud the answer would take over 8 seconds: the stop must not wait it out.
    engine.SetLineSpeed(50);
    TClientPort port(name);
    QVERIFY(port.IsOpen());
    QVERIFY(port.Write(Frame(0, 'u', {})));
    QTRY_COMPARE(engine.ReceivedCount(), 1);
    QElapsedTimer timer;
    timer.start();
    pty.reset();
    QVERIFY(timer.elapsed() < 2000);
    port.Close();
#ifdef Q_OS_WIN
    // The pair is free again for the next register.
    TEmulatorPty next(engine);
    QVERIFY2(next.IsOpen(), qPrintable(next.ErrorText()));
    QCOMPARE(next.PortName(), name);
#else
    QCOMPARE(OpenFdCount(), before);
    QVERIFY(!QFile::exists(name));
#endif
}

void TestEmulatorPty::programServesAndKeepsItsMemory()
{
#if defined(Q_OS_WIN)
    QSKIP("kkt-emulator serves a pseudo-terminal, which Windows does not have");
#elif !defined(KKT_EMULATOR_PROGRAM)
    QSKIP("the kkt-emulator program is not built");
#else
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath("ttyKKT");
    const QString state = dir.filePath("register.state");
    QFile stale(link); // a left-over file where the link goes is replaced
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();

    for (int run = 0; run < 2; ++run) {
        QProcess program;
        program.start(KKT_EMULATOR_PROGRAM, {"--link", link, "--state", state, "--device", "7"});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(program.canReadLine(), 5000);
        const QString port = QString::fromLocal8Bit(program.readLine()).trimmed();
        QCOMPARE(QFile::symLinkTarget(link), port);

        TClientPort client(link);
        QVERIFY(client.IsOpen());
        if (run == 0)
            QVERIFY(client.Write(ItemRequest(7, 0, 12, "KOFE")));
        else
            QVERIFY(client.Write(ItemRequest(7, 1, 12, {})));
        const QByteArray answer = client.Read(kGoodsAnswer);
        client.Close();
        QCOMPARE(answer.size(), kGoodsAnswer);
        QCOMPARE(quint8(answer[3]), quint8(0));
        QCOMPARE(answer.mid(7, 4), QByteArray("KOFE"));

        program.terminate();
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(QFile::exists(state));
    }
#endif
}

void TestEmulatorPty::programOptions()
{
#if defined(Q_OS_WIN)
    QSKIP("kkt-emulator serves a pseudo-terminal, which Windows does not have");
#elif !defined(KKT_EMULATOR_PROGRAM)
    QSKIP("the kkt-emulator program is not built");
#else
    QProcess help;
    help.start(KKT_EMULATOR_PROGRAM, {"--help"});
    QVERIFY(help.waitForFinished(5000));
    QCOMPARE(help.exitCode(), 0);
    QVERIFY(help.readAllStandardOutput().contains("--state"));

    QProcess bad;
    bad.start(KKT_EMULATOR_PROGRAM, {"--baud", "fast"});
    QVERIFY(bad.waitForFinished(5000));
    QCOMPARE(bad.exitCode(), 1);

    // A state file that is not ours is neither used nor overwritten.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString state = dir.filePath("foreign");
    QFile file(state);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("something else");
    file.close();
    QProcess foreign;
    foreign.start(KKT_EMULATOR_PROGRAM, {"--state", state});
    QVERIFY(foreign.waitForFinished(5000));
    QCOMPARE(foreign.exitCode(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("something else"));
#endif
}

QTEST_GUILESS_MAIN(TestEmulatorPty)
#include "tst_emulatorpty.moc"
