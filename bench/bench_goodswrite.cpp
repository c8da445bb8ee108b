// Goods item writes against the emulator on a pseudo-terminal: the time per exchange and its
// ratio to the floor the line itself sets, (51 + 46) bytes x 10 bits / speed plus the 1 ms pause
// after the purge. Both the mean and the median are shown: on a busy machine the mean also
// carries the time the scheduler gave to other programs.

#include "devicecommands.h"
#include "deviceport.h"
#include "emulatorpty.h"
#include "lockfolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace
{

constexpr int kWrites = 1000;
constexpr int kRequestBytes = 51;
constexpr int kAnswerBytes = 46;
constexpr double kPurgePauseMs = 1.0;

struct TTimes {
    double meanMs = -1;
    double medianMs = -1;
};

TTimes Summarise(std::vector<double> ms)
{
    if (ms.empty())
        return {};
    std::sort(ms.begin(), ms.end());
    return {std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size()), ms[ms.size() / 2]};
}

// Runs kWrites goods writes; a negative mean when one failed.
TTimes MeasureWrites(TEmulatorPty &pty, qint32 speed)
{
    std::vector<double> times;
    times.reserve(kWrites);
    QElapsedTimer timer;
    for (int i = 0; i < kWrites; ++i) {
        quint16 item = quint16(1 + i % 6000);
        quint8 font = '0', department = 1;
        QString name = QStringLiteral("кофе молотый");
        QString barcode = QStringLiteral("4600000000000");
        QString price = QStringLiteral("12050");
        timer.start();
        const quint8 result = GoodsItemCommand(pty.PortName(), speed, 2000, 0, 1, 0, item, font,
                                               name, barcode, price, department);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result != 0) {
            std::fprintf(stderr, "write %d failed with result %d\n", i, int(result));
            return {};
        }
    }
    return Summarise(std::move(times));
}

// One opening and closing of the port, in microseconds.
TTimes MeasureOpenClose(const QString &portName)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < kWrites; ++i) {
        TDevicePortHandle &handle = DevicePortHandle();
        timer.start();
        if (!OpenDevicePort(portName, 115200, 2000, 0, handle))
            return {};
        CloseDevicePort(handle);
        times.push_back(double(timer.nsecsElapsed()) / 1e3);
    }
    return Summarise(std::move(times));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TEmulatorPty pty(1);
    if (!pty.IsOpen()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(pty.ErrorText()));
        return 1;
    }
    std::printf("%d goods item writes per line speed (times in ms)\n", kWrites);
    PrintLockFolderKind();
    std::printf("%-14s %8s %8s %8s %10s %12s\n", "emulator line", "mean", "median", "floor",
                "mean/floor", "median/floor");
    int status = 0;
    for (const int baud : {19200, 115200, 0}) {
        pty.Engine().SetLineSpeed(baud);
        const TTimes t = MeasureWrites(pty, baud > 0 ? baud : 115200);
        if (t.meanMs < 0) {
            status = 1;
            continue;
        }
        const double floorMs =
            (baud > 0 ? (kRequestBytes + kAnswerBytes) * 10.0 * 1000.0 / baud : 0.0) +
            kPurgePauseMs;
        const QString label =
            baud > 0 ? QStringLiteral("%1 baud").arg(baud) : QStringLiteral("no line time");
        std::printf("%-14s %8.3f %8.3f %8.3f %10.3f %12.3f\n", qPrintable(label), t.meanMs,
                    t.medianMs, floorMs, t.meanMs / floorMs, t.medianMs / floorMs);
    }
    const TTimes openClose = MeasureOpenClose(pty.PortName());
    std::printf("port open + close: mean %.1f us, median %.1f us\n", openClose.meanMs,
                openClose.medianMs);
    return status;
}
