#include "emulatorengine.h"
#include "emulatorpty.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

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

// The port as the program opens it: raw, no controlling terminal.
int OpenPort(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

// Up to count bytes, giving up when nothing has arrived for gapMs.
QByteArray ReadBytes(int fd, int count, int gapMs = 2000)
{
    QByteArray bytes;
    while (bytes.size() < count) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, gapMs) <= 0)
            break;
        char buffer[256];
        const ssize_t n =
            ::read(fd, buffer, size_t(std::min<qsizetype>(count - bytes.size(), 256)));
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

bool WriteBytes(int fd, const QByteArray &bytes)
{
    return ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

int OpenFdCount()
{
    return int(QDir("/proc/self/fd")
                   .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)
                   .size());
}

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
    QVERIFY(pty.PortName().startsWith("/dev/"));
    const QByteArray request = Frame(1, 'u', {});
    for (int round = 0; round < 3; ++round) {
        const int fd = OpenPort(pty.PortName());
        QVERIFY(fd >= 0);
        QVERIFY(WriteBytes(fd, request));
        const QByteArray answer = ReadBytes(fd, kStatusAnswer);
        ::close(fd);
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
    const int fd = OpenPort(pty.PortName());
    QVERIFY(fd >= 0);
    QVERIFY(WriteBytes(fd, Frame(0, 'c', {})));
    QVERIFY(ReadBytes(fd, 1, 300).isEmpty());
    QCOMPARE(pty.Engine().ReceivedCount(), 1);
    QVERIFY(WriteBytes(fd, Frame(0, 'c', {})));
    QCOMPARE(ReadBytes(fd, 7).size(), 7);
    ::close(fd);
}

void TestEmulatorPty::brokenInputDoesNotSwallowTheNextRequest()
{
    TEmulatorPty pty;
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
    const int fd = OpenPort(pty.PortName());
    QVERIFY(fd >= 0);
    // Junk, then the start of a long frame that never ends.
    QVERIFY(WriteBytes(fd, QByteArray::fromHex("00FFAA1702000000005400")));
    QVERIFY(ReadBytes(fd, 1, TEmulatorPty::kPartialFrameGapMs + 200).isEmpty());
    QVERIFY(WriteBytes(fd, Frame(0, 'u', {})));
    QCOMPARE(ReadBytes(fd, kStatusAnswer).size(), kStatusAnswer);
    QCOMPARE(pty.Engine().ReceivedCount(), 1);
    ::close(fd);
}

void TestEmulatorPty::pauseInsideTheAnswer()
{
    TEmulatorPty pty;
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
    pty.Engine().PauseInNextAnswer(10, 400);
    const int fd = OpenPort(pty.PortName());
    QVERIFY(fd >= 0);
    QVERIFY(WriteBytes(fd, Frame(0, 'u', {})));
    QCOMPARE(ReadBytes(fd, 10).size(), 10);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(ReadBytes(fd, 1, 150).isEmpty()); // the gap is there
    QCOMPARE(ReadBytes(fd, kStatusAnswer - 10).size(), kStatusAnswer - 10);
    QVERIFY(timer.elapsed() >= 300);
    ::close(fd);
}

void TestEmulatorPty::lineSpeedTakesTheLineTime()
{
    TEmulatorPty pty;
    QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
    pty.Engine().SetLineSpeed(1200); // (11 + 31) bytes * 10 bits / 1200 baud = 350 ms
    const int fd = OpenPort(pty.PortName());
    QVERIFY(fd >= 0);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(WriteBytes(fd, Frame(0, 'u', {})));
    QCOMPARE(ReadBytes(fd, kStatusAnswer).size(), kStatusAnswer);
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed >= 345 && elapsed < 5000, qPrintable(QString::number(elapsed)));
    ::close(fd);
}

void TestEmulatorPty::destructionLeavesNothingBehind()
{
    const int before = OpenFdCount();
    TEmulatorEngine engine;
    auto pty = std::make_unique<TEmulatorPty>(engine);
    QVERIFY2(pty->IsOpen(), qPrintable(pty->ErrorText()));
    const QString name = pty->PortName();
    // At 50 baud the answer would take over 8 seconds: the stop must not wait it out.
    engine.SetLineSpeed(50);
    const int fd = OpenPort(name);
    QVERIFY(fd >= 0);
    QVERIFY(WriteBytes(fd, Frame(0, 'u', {})));
    QTRY_COMPARE(engine.ReceivedCount(), 1);
    QElapsedTimer timer;
    timer.start();
    pty.reset();
    QVERIFY(timer.elapsed() < 2000);
    ::close(fd);
    QCOMPARE(OpenFdCount(), before);
    QVERIFY(!QFile::exists(name));
}

void TestEmulatorPty::programServesAndKeepsItsMemory()
{
#ifndef KKT_EMULATOR_PROGRAM
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

        const int fd = OpenPort(link);
        QVERIFY(fd >= 0);
        if (run == 0)
            QVERIFY(WriteBytes(fd, ItemRequest(7, 0, 12, "KOFE")));
        else
            QVERIFY(WriteBytes(fd, ItemRequest(7, 1, 12, {})));
        const QByteArray answer = ReadBytes(fd, kGoodsAnswer);
        ::close(fd);
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
#ifndef KKT_EMULATOR_PROGRAM
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
