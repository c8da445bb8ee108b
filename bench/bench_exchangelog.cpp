// What the open exchange log costs a long run: a full goods write (6000 items) through the
// tables frame, offscreen, against the emulator at the line time of 115200 baud, with no log,
// with the log window open, and with the log open and already full (100 000 lines, so every
// batch also drops the oldest). Rounds alternate the three; the minimum and the median of each
// are shown with the overhead against no log. Target: at most 2 %. The run's wall time also
// carries the lock file's sync at every port opening, which varies by several per cent from
// run to run here; the UI thread's processor time does not, so its growth over the run's wall
// time is shown as well: that is what the log itself adds.
//
//     bench_exchangelog [items] [rounds]      (6000 and 2 unless given)

#include "exchangehook.h"
#include "exchangelog.h"
#include "exchangelogmodel.h"
#include "formexchangelog.h"
#include "goodsrunbench.h"

#include <QApplication>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace
{

constexpr int kSpeed = 115200;

enum class TLog { None, Open, Full };

// Fills an open log to its bound with answers such as a goods write leaves.
void FillLog(TFormExchangeLog &log)
{
    quint8 frame[46] = {0x17, 0x02, 'T', 0x00};
    TExchangeEvent event;
    event.answer = true;
    event.bytes = frame;
    event.count = int(sizeof frame);
    for (int i = 0; i < kExchangeLogCapacity; ++i)
        (*CurrentExchangeHook())(event);
    log.TakeEvents();
    log.tvLog->scrollToBottom();
}

// The processor time of the calling thread in seconds; -1 where it cannot be had.
double ThreadCpuSeconds()
{
#ifdef CLOCK_THREAD_CPUTIME_ID
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0)
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
#endif
    return -1;
}

struct TRun {
    double seconds = 0;
    double cpuSeconds = 0; // of the UI thread
};

TRun WriteRun(TFrameSetZ48 &frame, TEmulatorPty &pty, TLog kind, int &written)
{
    std::unique_ptr<TFormExchangeLog> log;
    if (kind != TLog::None) {
        log = std::make_unique<TFormExchangeLog>();
        log->resize(900, 450);
        log->show();
        if (kind == TLog::Full)
            FillLog(*log);
        QCoreApplication::processEvents();
    }
    pty.Engine().ClearReceivedRequests();
    QElapsedTimer timer;
    const double cpuStart = ThreadCpuSeconds();
    timer.start();
    frame.Button3Click();
    const TRun run{double(timer.nsecsElapsed()) / 1e9, ThreadCpuSeconds() - cpuStart};
    written = pty.Engine().ReceivedCount();
    if (log) {
        log->TakeEvents();
        const int expected = kind == TLog::Full ? kExchangeLogCapacity : 2 * written;
        if (log->Model().rowCount() != expected) {
            std::fprintf(stderr, "the log holds %d lines, not %d\n", log->Model().rowCount(),
                         expected);
            written = -1;
        }
    }
    return run;
}

// The window's own work for one tick's batch (200 ms of a goods write: about twenty exchanges,
// forty lines): taking the events, placing the rows, the repaint; mean ms over many batches.
double BatchMs(bool full)
{
    TFormExchangeLog log;
    log.resize(900, 450);
    log.show();
    if (full)
        FillLog(log);
    QCoreApplication::processEvents();
    quint8 frame[51] = {0x17, 0x02, 0x01, 0x00, 0x00, 0x00, 'T', 51};
    TExchangeEvent event;
    event.bytes = frame;
    event.count = int(sizeof frame);
    constexpr int kBatches = 200;
    QElapsedTimer timer;
    timer.start();
    for (int b = 0; b < kBatches; ++b) {
        for (int i = 0; i < 40; ++i) {
            event.answer = i % 2 != 0;
            (*CurrentExchangeHook())(event);
        }
        log.TakeEvents();
        QCoreApplication::processEvents();
    }
    return double(timer.nsecsElapsed()) / 1e6 / kBatches;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? qBound(1, QString::fromLocal8Bit(argv[1]).toInt(), 6000) : 6000;
    const int rounds = argc > 2 ? qBound(1, QString::fromLocal8Bit(argv[2]).toInt(), 20) : 2;

    TGoodsRunBench bench(items, kSpeed);
    if (!bench.Ready())
        return 1;
    TFrameSetZ48 &frame = bench.frame;
    TEmulatorPty &pty = bench.pty;

    const double fillingMs = BatchMs(false);
    const double fullMs = BatchMs(true);
    std::printf(
        "one batch of 40 lines, taken and shown: %.3f ms (log filling), %.3f ms (log full)\n",
        fillingMs, fullMs);
    std::fflush(stdout);
    if (qEnvironmentVariableIsSet("KKT_BENCH_BATCH_ONLY"))
        return 0;

    const char *names[] = {"no log", "log open", "log full"};
    std::vector<double> times[3];
    std::vector<double> cpu[3];
    bool ok = true;
    std::printf("items: %d, line: %d baud, rounds: %d\n", items, kSpeed, rounds);
    for (int round = 0; round < rounds; ++round) {
        for (const TLog kind : {TLog::None, TLog::Open, TLog::Full}) {
            int written = 0;
            const TRun run = WriteRun(frame, pty, kind, written);
            ok = ok && written == items && bench.dialogs.messages == 0;
            times[int(kind)].push_back(run.seconds);
            cpu[int(kind)].push_back(run.cpuSeconds);
            std::printf("  round %d, %-8s %.2f s, UI thread busy %.2f s\n", round + 1,
                        names[int(kind)], run.seconds, run.cpuSeconds);
            std::fflush(stdout);
        }
    }
    const auto minimum = [](std::vector<double> v) {
        return *std::min_element(v.begin(), v.end());
    };
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double baseMin = minimum(times[0]);
    const double baseMedian = median(times[0]);
    const double baseCpu = median(cpu[0]);
    std::printf("%-10s %8s %8s %10s %12s %10s %10s\n", "", "min s", "median s", "min +%",
                "median +%", "UI cpu s", "cpu +%");
    for (int k = 0; k < 3; ++k)
        std::printf("%-10s %8.2f %8.2f %10.2f %12.2f %10.2f %10.2f\n", names[k], minimum(times[k]),
                    median(times[k]), (minimum(times[k]) / baseMin - 1) * 100,
                    (median(times[k]) / baseMedian - 1) * 100, median(cpu[k]),
                    (median(cpu[k]) - baseCpu) / baseMedian * 100);
    if (!ok)
        std::fprintf(stderr, "the runs did not complete\n");
    return ok ? 0 : 1;
}
