// The 1 ms pause after a purge: how long it lasts and what processor time it costs, the
// program's sleep against the earlier way (sleep to 200 us before the end, then spin on the
// clock), side by side in one run. Then whole goods exchanges against the emulator at 115200
// baud with either pause, over one and the same line, and the program's own command for
// comparison: wall time against the line's floor and processor time of the calling thread.

#include "devicecommands.h"
#include "deviceexchange.h"
#include "devicerequests.h"
#include "emulatorpty.h"
#include "lockfolder.h"
#include "precisepause.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSerialPort>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{
using Clock = std::chrono::steady_clock;
constexpr std::chrono::microseconds kPause(1000);
constexpr int kBlocks = 10;
constexpr int kPausesPerBlock = 200;
constexpr int kExchangesPerBlock = 50;
constexpr int kBaud = 115200;

// The pause as it was: an ordinary sleep to 200 us before the end, the rest spun out.
void OldPause(std::chrono::microseconds duration)
{
    const Clock::time_point deadline = Clock::now() + duration;
    constexpr std::chrono::microseconds kSpin(200);
    if (duration > kSpin)
        std::this_thread::sleep_until(deadline - kSpin);
    while (Clock::now() < deadline) {
    }
}

using TPause = void (*)(std::chrono::microseconds);

// Processor time of the calling thread, in microseconds (on Windows only in steps of the
// scheduler's tick: there the figures need many pauses to mean anything).
double ThreadCpuUs()
{
#ifdef Q_OS_WIN
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME &t) {
        return double((quint64(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10.0;
#else
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
#endif
}

struct TFigures {
    std::vector<double> wallUs; // one per pause or exchange
    double cpuUs = 0;           // all of them together
    int count = 0;
    bool failed = false;

    double Quantile(double q)
    {
        std::sort(wallUs.begin(), wallUs.end());
        return wallUs[size_t(q * double(wallUs.size() - 1))];
    }
    double CpuPerItem() const { return cpuUs / count; }
};

void TimePauses(TPause pause, TFigures &figures)
{
    const double cpu = ThreadCpuUs();
    for (int i = 0; i < kPausesPerBlock; ++i) {
        const Clock::time_point start = Clock::now();
        pause(kPause);
        figures.wallUs.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    figures.cpuUs += ThreadCpuUs() - cpu;
    figures.count += kPausesPerBlock;
}

// The exchange's line as the device link drives it (purge and pause, block write, read under
// the time-outs), with the pause to measure.
class TBenchTransport : public TDeviceTransport
{
public:
    QSerialPort port;
    TPause pause = PrecisePause;

    void Purge() override
    {
        port.clear(QSerialPort::AllDirections);
        pause(kPause);
    }
    void Write(const quint8 *data, int count) override
    {
        port.write(reinterpret_cast<const char *>(data), count);
        while (port.bytesToWrite() > 0 && port.waitForBytesWritten(2000)) {
        }
    }
    int Read(quint8 *data, int count) override
    {
        QDeadlineTimer deadline(2000);
        qint64 got = 0;
        while (got < count) {
            const qint64 n = port.read(reinterpret_cast<char *>(data) + got, count - got);
            if (n < 0)
                break;
            got += n;
            if (got < count && !port.waitForReadyRead(int(deadline.remainingTime())))
                break;
        }
        return int(got);
    }
};

void TimeExchanges(TBenchTransport &transport, TFigures &figures)
{
    TGoodsItemWire wire;
    PrepareGoodsItemWrite(1, '0', QStringLiteral("кофе молотый"), QStringLiteral("4600000000000"),
                          QStringLiteral("12050"), 1, wire);
    const double cpu = ThreadCpuUs();
    for (int i = 0; i < kExchangesPerBlock; ++i) {
        wire.itemNumber = quint16(1 + i);
        DeviceFrame frame;
        const Clock::time_point start = Clock::now();
        const TExchangeOutcome outcome =
            RunExchange(transport, frame, kGoodsItemAnswerLength,
                        [&](DeviceFrame &f) { BuildGoodsItemRequest(f, 1, 0, wire); }, {});
        figures.wallUs.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        figures.failed = figures.failed || outcome.result != 0;
    }
    figures.cpuUs += ThreadCpuUs() - cpu;
    figures.count += kExchangesPerBlock;
}

// The program's own command: opens and closes the port around every exchange.
void TimeCommands(const QString &portName, TFigures &figures)
{
    const double cpu = ThreadCpuUs();
    for (int i = 0; i < kExchangesPerBlock; ++i) {
        quint16 item = quint16(1 + i);
        quint8 font = '0', department = 1;
        QString name = QStringLiteral("кофе молотый");
        QString barcode = QStringLiteral("4600000000000");
        QString price = QStringLiteral("12050");
        const Clock::time_point start = Clock::now();
        const quint8 result = GoodsItemCommand(portName, kBaud, 2000, 0, 1, 0, item, font, name,
                                               barcode, price, department);
        figures.wallUs.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        figures.failed = figures.failed || result != 0;
    }
    figures.cpuUs += ThreadCpuUs() - cpu;
    figures.count += kExchangesPerBlock;
}

void PrintPauses(const char *label, TFigures &f)
{
    std::printf("  %-18s min %7.1f  median %7.1f  max %8.1f  cpu/pause %6.1f us\n", label,
                f.Quantile(0), f.Quantile(0.5), f.Quantile(1), f.CpuPerItem());
}

void PrintExchanges(const char *label, TFigures &f, double floorUs)
{
    std::printf("  %-24s median %7.1f us (%.3f x floor)  cpu/exchange %6.1f us\n", label,
                f.Quantile(0.5), f.Quantile(0.5) / floorUs, f.CpuPerItem());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PrintLockFolderKind();

    TFigures oldPauses, newPauses;
    for (int block = 0; block < kBlocks; ++block) {
        TimePauses(OldPause, oldPauses);
        TimePauses(PrecisePause, newPauses);
    }
    std::printf("%d pauses of 1 ms each way, alternating blocks of %d (times in us)\n",
                oldPauses.count, kPausesPerBlock);
    PrintPauses("sleep, then spin", oldPauses);
    PrintPauses("precise sleep", newPauses);
    std::printf("  processor time per pause: %.3f x the earlier way\n",
                newPauses.CpuPerItem() / oldPauses.CpuPerItem());
    int status = newPauses.Quantile(0) >= 1000.0 ? 0 : 1;
    if (status != 0)
        std::printf("  a pause ended before 1 ms\n");

    TEmulatorPty pty(1);
    if (!pty.IsOpen()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(pty.ErrorText()));
        return 1;
    }
    pty.Engine().SetLineSpeed(kBaud);
    TBenchTransport transport;
    transport.port.setPortName(pty.PortName());
    transport.port.setBaudRate(kBaud);
    if (!transport.port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(pty.PortName()));
        return 1;
    }
    TFigures oldExchanges, newExchanges, commands;
    for (int block = 0; block < kBlocks; ++block) {
        transport.pause = OldPause;
        TimeExchanges(transport, oldExchanges);
        transport.pause = PrecisePause;
        TimeExchanges(transport, newExchanges);
    }
    transport.port.close();
    for (int block = 0; block < kBlocks; ++block)
        TimeCommands(pty.PortName(), commands);
    if (oldExchanges.failed || newExchanges.failed || commands.failed) {
        std::fprintf(stderr, "an exchange failed\n");
        return 1;
    }
    // (51 + 46) bytes of 10 bits at 115200 baud, and the pause itself.
    const double floorUs = (kGoodsItemRequestLength + kGoodsItemAnswerLength) * 10.0 * 1e6 / kBaud +
                           double(kPause.count());
    std::printf("%d goods writes each way at %d baud, port kept open; floor %.1f us\n",
                oldExchanges.count, kBaud, floorUs);
    PrintExchanges("sleep, then spin", oldExchanges, floorUs);
    PrintExchanges("precise sleep", newExchanges, floorUs);
    std::printf("  processor time per exchange: %.3f x the earlier way\n",
                newExchanges.CpuPerItem() / oldExchanges.CpuPerItem());
    std::printf("the program's command (opens the port each time), %d writes\n", commands.count);
    PrintExchanges("GoodsItemCommand", commands, floorUs);
    return status;
}
