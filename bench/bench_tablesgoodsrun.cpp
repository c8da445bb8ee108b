// A full goods write and a full goods read (6000 items) through the tables frame, offscreen,
// against the emulator at the line time of the given speed: the run's time and its ratio to the
// floor items x ((51 + 46) x 10 / baud s + 1 ms), the wire time and the pause after the purge.
// Targets: at 115200 baud write at most 1.06, read at most 1.10; at 19200 both at most 1.03.
//
//     bench_tablesgoodsrun [items] [baud]      (6000 items at 115200 unless given)

#include "devicecommands.h"
#include "goodsrunbench.h"

#include <QApplication>
#include <QStatusBar>

#include <cstdio>

namespace
{

constexpr int kRequestBytes = 51;
constexpr int kAnswerBytes = 46;
constexpr double kPerExchangeAllowanceMs = 1.0;

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? qBound(1, QString::fromLocal8Bit(argv[1]).toInt(), 6000) : 6000;

    const int speed = argc > 2 ? qMax(1200, QString::fromLocal8Bit(argv[2]).toInt()) : 115200;
    const double writeTarget = speed >= 115200 ? 1.06 : 1.03;
    const double readTarget = speed >= 115200 ? 1.10 : 1.03;

    TGoodsRunBench bench(items, speed);
    if (!bench.Ready())
        return 1;
    // A status bar shows the run's place, as the main window's does.
    QStatusBar statusBar;
    statusBar.resize(1000, 24);
    statusBar.show();
    bench.host.onStatus = [&statusBar](const QString &text) { statusBar.showMessage(text); };
    TEmulatorPty &pty = bench.pty;
    TFrameSetZ48 &frame = bench.frame;
    TStringGrid &goods = bench.Goods();

    const double floorSeconds =
        items * ((kRequestBytes + kAnswerBytes) * 10.0 / speed + kPerExchangeAllowanceMs / 1000);
    const double writeSeconds = RunSeconds([&] { frame.Button3Click(); });
    const int written = pty.Engine().ReceivedCount();

    // Read back into an emptied grid and check every row arrived.
    for (int row = 1; row <= items; ++row)
        for (int col = 1; col <= 5; ++col)
            goods.SetCells(col, row, QString());
    pty.Engine().ClearReceivedRequests();
    const double readSeconds = RunSeconds([&] { frame.Button4Click(); });
    int filled = 0;
    for (int row = 1; row <= items; ++row)
        filled += goods.Cells(1, row) == TGoodsRunBench::Name(row) &&
                  goods.Cells(4, row) == TGoodsRunBench::Price(row);

    // The same exchanges without the frame: what the frame itself adds is the difference.
    const TStructSetting &s = bench.host.settings;
    const double bareSeconds = RunSeconds([&] {
        for (int row = 1; row <= items; ++row) {
            quint16 number = quint16(row);
            quint8 font = '0', department = quint8(row % 16);
            QString name = TGoodsRunBench::Name(row);
            QString barcode = QString::number(4600000000000LL + row);
            QString price = QString::number(row * 100 + row % 100);
            GoodsItemCommand(s.Port.Name, s.Port.Speed, s.Port.TimeOut, 0, s.NumKKT, 0, number,
                             font, name, barcode, price, department);
        }
    });

    std::printf("items: %d, line: %d baud, floor per run: %.2f s\n", items, speed, floorSeconds);
    std::printf("goods write: %.2f s (%d exchanges), ratio %.3f (target <= %.2f)\n", writeSeconds,
                written, writeSeconds / floorSeconds, writeTarget);
    std::printf("goods read:  %.2f s (%d rows filled), ratio %.3f (target <= %.2f)\n", readSeconds,
                filled, readSeconds / floorSeconds, readTarget);
    std::printf("the same writes without the frame: %.2f s, ratio %.3f; the frame adds %.3f ms "
                "per exchange\n",
                bareSeconds, bareSeconds / floorSeconds,
                (writeSeconds - bareSeconds) * 1000 / items);
    const bool ok = bench.dialogs.messages == 0 && written == items && filled == items;
    if (!ok)
        std::fprintf(stderr, "the runs did not complete\n");
    return ok ? 0 : 1;
}
