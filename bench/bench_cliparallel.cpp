// kkt-cli on one register and on six at once, each an emulator taking the line time of
// 115200 bit/s: a write of goods items 1..N (default 300) to every port, timed from start to
// exit of the program. The cost of one exchange is the time of N items less that of one item,
// over N - 1 (so the program's start and its one opening of each port drop out), and is
// printed as a ratio to the wire's floor: request and answer bytes at 10 bits each, plus the
// 1 ms pause after the purge. Usage: bench_cliparallel [N]
#include "emulatorpty.h"
#include "goodsbasefile.h"
#include "lockfolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace
{

constexpr int kBaud = 115200;
// The goods item request and answer.
constexpr int kGoodsFrameBytes = 51 + 46;

double FloorMs()
{
    return kGoodsFrameBytes * 10.0 * 1000.0 / kBaud + 1.0;
}

// What holds the lock folder: a disk makes every opening of a port sync a lock file.
void PrintLockFolderMount()
{
    QProcess findmnt;
    findmnt.start(QStringLiteral("findmnt"), {QStringLiteral("-T"), QStringLiteral("/run/lock")});
    if (findmnt.waitForFinished(5000))
        std::printf("findmnt -T /run/lock:\n%s", findmnt.readAllStandardOutput().constData());
}

// Seconds kkt-cli took to write items 1..items to every port; negative when it failed.
double TimeWrite(const QString &program, const QString &base, const QStringList &ports, int items)
{
    QStringList args{QStringLiteral("write-goods"), base,
                     QStringLiteral("--goods"),     QStringLiteral("1-%1").arg(items),
                     QStringLiteral("--speed"),     QString::number(kBaud),
                     QStringLiteral("--port"),      ports.join(QLatin1Char(','))};
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s\n", process.readAllStandardError().constData());
        return -1;
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int items = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/kkt-cli");
    QTemporaryDir dir;
    qputenv("KKT_PROGRAM_DIR", dir.path().toUtf8());
    const QString base = dir.filePath(QStringLiteral("base.dbZ48"));
    const QVector<TConfig_PredmRasch> rows(items, {QStringLiteral("ТОВАР"), QStringLiteral("Узкий"),
                                                   QStringLiteral("4600000000001"),
                                                   QStringLiteral("1.00"), QStringLiteral("1")});
    QString error;
    if (!SaveGoodsBaseFile(base, rows, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    PrintLockFolderKind();
    PrintLockFolderMount();

    std::vector<std::unique_ptr<TEmulatorPty>> registers;
    QStringList ports;
    for (int i = 0; i < 6; ++i) {
        registers.push_back(std::make_unique<TEmulatorPty>());
        registers.back()->Engine().SetLineSpeed(kBaud);
        ports += registers.back()->PortName();
    }
    const double oneItem = TimeWrite(program, base, ports.mid(0, 1), 1);
    const double one = TimeWrite(program, base, ports.mid(0, 1), items);
    const double sixItem = TimeWrite(program, base, ports, 1);
    const double six = TimeWrite(program, base, ports, items);
    const double per = items > 1 ? (one - oneItem) * 1000.0 / (items - 1) : 0;
    const double perSix = items > 1 ? (six - sixItem) * 1000.0 / (items - 1) : 0;
    std::printf("goods items 1..%d at %d bit/s, floor %.2f ms an exchange\n", items, kBaud,
                FloorMs());
    std::printf("1 register:  %.2f s, %.2f ms an exchange = %.3f x floor\n", one, per,
                per / FloorMs());
    std::printf("6 registers: %.2f s, %.2f ms an exchange on each = %.3f x floor, "
                "%.2f x the time of one\n",
                six, perSix, perSix / FloorMs(), six / one);
    for (const auto &r : registers)
        if (r->Engine().ReceivedCount() < items + 1)
            std::printf("a register received only %d requests\n", r->Engine().ReceivedCount());
    return one > 0 && six > 0 && oneItem > 0 && sixItem > 0 ? 0 : 1;
}
