// Goods item writes against the emulator on a pseudo-terminal: the time per exchange and its
// ratio to the floor the line itself sets, (51 + 46) bytes x 10 bits / speed plus the 1 ms pause
// after the purge.

#include "devicecommands.h"
#include "deviceport.h"
#include "emulatorpty.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace
{

constexpr int kWrites = 1000;
constexpr int kRequestBytes = 51;
constexpr int kAnswerBytes = 46;
constexpr double kPurgePauseMs = 1.0;

// Runs kWrites goods writes; returns the mean time per exchange in ms, or a negative value when
// one failed.
double MeasureWrites(TEmulatorPty &pty, qint32 speed)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kWrites; ++i) {
        quint16 item = quint16(1 + i % 6000);
        quint8 font = '0', department = 1;
        QString name = QStringLiteral("кофе молотый");
        QString barcode = QStringLiteral("4600000000000");
        QString price = QStringLiteral("12050");
        const quint8 result = GoodsItemCommand(pty.PortName(), speed, 2000, 0, 1, 0, item, font,
                                               name, barcode, price, department);
        if (result != 0) {
            std::fprintf(stderr, "write %d failed with result %d\n", i, int(result));
            return -1;
        }
    }
    return double(timer.nsecsElapsed()) / 1e6 / kWrites;
}

// The mean cost of one opening and closing of the port, in microseconds.
double MeasureOpenClose(const QString &portName)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kWrites; ++i) {
        TDevicePortHandle &handle = DevicePortHandle();
        if (!OpenDevicePort(portName, 115200, 2000, 0, handle))
            return -1;
        CloseDevicePort(handle);
    }
    return double(timer.nsecsElapsed()) / 1e3 / kWrites;
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
    std::printf("%d goods item writes per line speed\n", kWrites);
    std::printf("%-22s %12s %12s %8s\n", "emulator line", "ms/exchange", "floor ms", "ratio");
    int status = 0;
    for (const int baud : {19200, 115200, 0}) {
        pty.Engine().SetLineSpeed(baud);
        const double perExchange = MeasureWrites(pty, baud > 0 ? baud : 115200);
        if (perExchange < 0) {
            status = 1;
            continue;
        }
        if (baud > 0) {
            const double floorMs =
                (kRequestBytes + kAnswerBytes) * 10.0 * 1000.0 / baud + kPurgePauseMs;
            std::printf("%-22s %12.3f %12.3f %8.3f\n",
                        qPrintable(QStringLiteral("%1 baud").arg(baud)), perExchange, floorMs,
                        perExchange / floorMs);
        } else {
            std::printf("%-22s %12.3f %12.3f %8.3f\n", "no line time", perExchange, kPurgePauseMs,
                        perExchange / kPurgePauseMs);
        }
    }
    std::printf("port open + close: %.1f us\n", MeasureOpenClose(pty.PortName()));
    return status;
}
