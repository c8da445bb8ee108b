// A full goods write and a full goods read (6000 items) through the tables frame, offscreen,
// against the emulator at the line time of 115200 baud: the run's time and its ratio to the
// floor 6000 x ((51 + 46) x 10 / 115200 s + 1 ms). Target: at most 1.15.
//
//     bench_tablesgoodsrun [items]      (6000 unless given)

#include "devicecommands.h"
#include "dialogs.h"
#include "emulatorpty.h"
#include "fakeworkhost.h"
#include "framesetz48.h"
#include "lockfolder.h"
#include "progsettings.h"
#include "stringgrid.h"
#include "workhost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <cstdio>
#include <functional>

namespace
{

constexpr int kSpeed = 115200;
constexpr int kRequestBytes = 51;
constexpr int kAnswerBytes = 46;
constexpr double kPerExchangeAllowanceMs = 1.0;

using TBenchHost = TFakeWorkHost;

// Any message box means the run failed; it is printed instead of shown.
class TPrintingDialogs : public TDialogs
{
public:
    void Message(QWidget *, Kind, const QString &text) override
    {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(QString(text).replace("\r\n", " ")));
    }
    Answer AskYesNo(QWidget *, const QString &, Answer) override { return Answer::No; }
    QString OpenFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QString SaveFileName(QWidget *, const QString &, const QString &) override { return {}; }
    int messages = 0;
};

double RunSeconds(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? qBound(1, QString::fromLocal8Bit(argv[1]).toInt(), 6000) : 6000;

    TEmulatorPty pty;
    if (!pty.IsOpen()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(pty.ErrorText()));
        return 1;
    }
    pty.Engine().SetLineSpeed(kSpeed);
    PrintLockFolderKind();
    TPrintingDialogs dialogs;
    TDialogs::Install(&dialogs);

    TBenchHost host;
    host.settings.Port.Name = pty.PortName();
    host.settings.Port.Speed = kSpeed;
    host.settings.Port.TimeOut = 3500;
    TFrameSetZ48 frame(&host);
    frame.InitGrids();
    frame.resize(1000, 700);
    frame.show();
    frame.ShowTab(TTableTab::Goods);
    frame.Range(TTableTab::Goods).from->setText(QStringLiteral("1"));
    frame.Range(TTableTab::Goods).to->setText(QString::number(items));
    for (int row = 1; row <= items; ++row) {
        frame.Grid(TTableTab::Goods)->SetCells(1, row, QStringLiteral("ТОВАР НОМЕР %1").arg(row));
        frame.Grid(TTableTab::Goods)->SetCells(3, row, QString::number(4600000000000LL + row));
        frame.Grid(TTableTab::Goods)
            ->SetCells(4, row,
                       QStringLiteral("%1.%2").arg(row).arg(row % 100, 2, 10, QLatin1Char('0')));
        frame.Grid(TTableTab::Goods)->SetCells(5, row, QString::number(row % 16));
    }
    QCoreApplication::processEvents();

    const double floorSeconds =
        items * ((kRequestBytes + kAnswerBytes) * 10.0 / kSpeed + kPerExchangeAllowanceMs / 1000);
    const double writeSeconds = RunSeconds([&] { frame.Button3Click(); });
    const int written = pty.Engine().ReceivedCount();

    // Read back into an emptied grid and check every row arrived.
    for (int row = 1; row <= items; ++row)
        for (int col = 1; col <= 5; ++col)
            frame.Grid(TTableTab::Goods)->SetCells(col, row, QString());
    pty.Engine().ClearReceivedRequests();
    const double readSeconds = RunSeconds([&] { frame.Button4Click(); });
    int filled = 0;
    for (int row = 1; row <= items; ++row)
        filled += frame.Grid(TTableTab::Goods)->Cells(1, row) ==
                      QStringLiteral("ТОВАР НОМЕР %1").arg(row) &&
                  frame.Grid(TTableTab::Goods)->Cells(4, row) ==
                      QStringLiteral("%1.%2").arg(row).arg(row % 100, 2, 10, QLatin1Char('0'));
    TDialogs::Install(nullptr);

    // The same exchanges without the frame: what the frame itself adds is the difference.
    const TStructSetting &s = host.settings;
    const double bareSeconds = RunSeconds([&] {
        for (int row = 1; row <= items; ++row) {
            quint16 number = quint16(row);
            quint8 font = '0', department = quint8(row % 16);
            QString name = QStringLiteral("ТОВАР НОМЕР %1").arg(row);
            QString barcode = QString::number(4600000000000LL + row);
            QString price = QString::number(row * 100 + row % 100);
            GoodsItemCommand(s.Port.Name, s.Port.Speed, s.Port.TimeOut, 0, s.NumKKT, 0, number,
                             font, name, barcode, price, department);
        }
    });

    std::printf("items: %d, line: %d baud, floor per run: %.2f s\n", items, kSpeed, floorSeconds);
    std::printf("goods write: %.2f s (%d exchanges), ratio %.3f (target <= 1.15)\n", writeSeconds,
                written, writeSeconds / floorSeconds);
    std::printf("goods read:  %.2f s (%d rows filled), ratio %.3f (target <= 1.15)\n", readSeconds,
                filled, readSeconds / floorSeconds);
    std::printf("the same writes without the frame: %.2f s, ratio %.3f; the frame adds %.3f ms "
                "per exchange\n",
                bareSeconds, bareSeconds / floorSeconds,
                (writeSeconds - bareSeconds) * 1000 / items);
    const bool ok = dialogs.messages == 0 && written == items && filled == items;
    if (!ok)
        std::fprintf(stderr, "the runs did not complete\n");
    return ok ? 0 : 1;
}
