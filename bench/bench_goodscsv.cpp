// Goods CSV: a 6000-line file read and applied to the goods grid (detection, parsing, the
// checks of every line, filling the cells), the export of all 6000 rows, and a 15 MB file of
// 925 000 lines chosen by mistake. Target: each import under one second; the big file also
// under 100 MB at the process's peak. The big file is read in a process of its own (this
// program again, with the same window), so its peak is its own; a bare-Qt peer in the same
// kind of process reads the file with QFile::readAll and splits it into lines, as yardstick.
// No serial port is used, so the serial lock folder plays no part here.
//
//     bench_goodscsv            every figure
//     bench_goodscsv --child {import|peer} FILE    one big-file run (what the parent starts)

#include "benchtiming.h"
#include "fakeworkhost.h"
#include "framesetz48.h"
#include "goodscsv.h"
#include "goodscsvactions.h"
#include "stringgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

constexpr int kBigRuns = 3;
constexpr int kBigLines = 925000;

// What a spreadsheet saves: Windows-1251, ';', prices with a comma, quoted names, no item
// numbers for every other line.
QByteArray SpreadsheetFile()
{
    QString text = QStringLiteral("Код;Наименование;Штрих-код;Цена;Отдел\r\n");
    for (int i = 1; i <= 6000; ++i)
        text += QStringLiteral("%1;\"молоко \"\"Домик\"\"; %2\";%3;%4,50;%5\r\n")
                    .arg(i % 2 ? QString::number(i) : QString())
                    .arg(i)
                    .arg(4600000000000LL + i)
                    .arg(i)
                    .arg(i % 16);
    return EncodeCsvText(text, TCsvEncoding::Win1251);
}

// 925 000 lines of about 17 bytes (15 MB), Windows-1251: a price list of a whole warehouse.
// Numbered, every line past 6000 is refused with its reason (the plan keeps 6000 items and lists
// the first refused lines); unnumbered, the file holds more goods than the table has rows.
QByteArray BigFile(bool numbered)
{
    QString text = numbered ? QStringLiteral("Код;Наименование;Цена\r\n")
                            : QStringLiteral("Наименование;Цена\r\n");
    text.reserve(kBigLines * 18);
    for (int i = 1; i <= kBigLines; ++i) {
        if (numbered)
            text += QString::number(i) + QStringLiteral(";ХЛЕБ;") + QString::number(i % 100) +
                    QStringLiteral(",5\r\n");
        else
            text += QStringLiteral("ХЛЕБ ") + QString::number(i % 10000) + u';' +
                    QString::number(i % 100) + QStringLiteral(",50\r\n");
    }
    return EncodeCsvText(text, TCsvEncoding::Win1251);
}

// The process's resident memory now ("VmRSS") or at its peak so far ("VmHWM"), in MB; -1
// where the system does not tell.
double MemoryMegabytes(const char *key)
{
#ifdef __linux__
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith(key))
                return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
#else
    Q_UNUSED(key);
#endif
    return -1;
}

void Refill(TFrameSetZ48 &frame, const QVector<TConfig_PredmRasch> &rows)
{
    TStringGrid &goods = *frame.Grid(TTableTab::Goods);
    goods.BeginUpdate();
    for (int row = 1; row <= 6000; ++row) {
        const TConfig_PredmRasch &r = rows[row - 1];
        goods.SetCells(1, row, r.Name);
        goods.SetCells(2, row, r.Font);
        for (int col = 3; col <= 5; ++col)
            goods.SetCells(col, row, QString());
    }
    goods.EndUpdate();
}

// One run on the big file in this process: the import as the command does it (read, plan,
// fill the rows), or the peer. Prints "ms peakMB beforeMB items problems refused".
int BigFileChild(TFrameSetZ48 &frame, const QString &what, const QString &path)
{
    const QVector<TConfig_PredmRasch> fresh = GoodsGridRows(frame);
    const double before = MemoryMegabytes("VmRSS:");
    int items = 0, problems = 0;
    bool refused = false;
    const TFigures figures = Measure(
        [&] {
            if (what == QStringLiteral("peer")) {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly))
                    return;
                items = int(file.readAll().split('\n').size());
                return;
            }
            Refill(frame, fresh);
            QByteArray bytes;
            QString errorText;
            TGoodsImportPlan plan;
            if (ReadGoodsCsvFile(path, &bytes, &errorText))
                plan = PlanGoodsImport(bytes, GoodsGridRows(frame));
            bytes.clear();
            refused = !plan.refusal.isEmpty();
            if (!refused)
                ApplyGoodsImport(frame, plan);
            items = int(plan.items.size());
            problems = plan.problemCount;
        },
        kBigRuns);
    std::printf("%.1f %.1f %.1f %d %d %d\n", figures.best, MemoryMegabytes("VmHWM:"), before, items,
                problems, refused ? 1 : 0);
    return 0;
}

struct TChildFigures {
    double ms = -1;
    double peakMb = -1;
    double beforeMb = -1; // the window and its grid, before the file
    int items = 0;
    int problems = 0;
    bool refused = false;
};

TChildFigures RunChild(const QString &what, const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), what, path});
    TChildFigures figures;
    if (!child.waitForFinished(300000) || child.exitCode() != 0)
        return figures;
    const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
    if (words.size() == 6) {
        figures = {words[0].toDouble(), words[1].toDouble(), words[2].toDouble(),
                   words[3].toInt(),    words[4].toInt(),    words[5] == "1"};
    }
    return figures;
}

// Both big files against the peer; true when the import holds its targets.
bool BigFiles()
{
    QTemporaryDir folder;
    bool held = folder.isValid();
    for (const bool numbered : {false, true}) {
        const QString path = folder.filePath(numbered ? "numbered.csv" : "names.csv");
        QFile file(path);
        const QByteArray bytes = BigFile(numbered);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        file.close();
        const TChildFigures peer = RunChild(QStringLiteral("peer"), path);
        const TChildFigures import = RunChild(QStringLiteral("import"), path);
        std::printf("%s, %.1f MB, %d lines: ", numbered ? "numbered lines" : "names only",
                    double(bytes.size()) / 1048576.0, kBigLines + 1);
        if (import.refused)
            std::printf("refused whole, more goods than rows\n");
        else
            std::printf("%d items set, %d lines refused\n", import.items, import.problems);
        std::printf("  import (read + plan + fill): best %.1f ms (target < 1000), peak %.1f MB "
                    "(target < 100; %.1f MB before the file)\n",
                    import.ms, import.peakMb, import.beforeMb);
        std::printf(
            "  peer (QFile::readAll + split): best %.1f ms, peak %.1f MB (%.1f MB before)\n",
            peer.ms, peer.peakMb, peer.beforeMb);
        if (peer.ms > 0 && peer.peakMb > 0)
            std::printf("  import / peer: time x%.1f, peak x%.2f\n", import.ms / peer.ms,
                        import.peakMb / peer.peakMb);
        held = held && import.ms >= 0 && import.ms < 1000 && import.peakMb < 100 &&
               import.refused != numbered;
    }
    return held;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFakeWorkHost host;
    TFrameSetZ48 frame(&host);
    frame.InitGrids();
    frame.show();
    QCoreApplication::processEvents();
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--child"))
        return BigFileChild(frame, args[2], args[3]);

    const QByteArray file = SpreadsheetFile();
    const QVector<TConfig_PredmRasch> fresh = GoodsGridRows(frame);
    int items = 0;
    int problems = 0;
    const TFigures import = Measure([&] {
        // Into the fresh grid each time, so the lines without a number find their rows.
        Refill(frame, fresh);
        const TGoodsImportPlan plan = PlanGoodsImport(file, GoodsGridRows(frame));
        ApplyGoodsImport(frame, plan);
        QCoreApplication::processEvents();
        items = int(plan.items.size());
        problems = plan.problemCount;
    });
    QByteArray exported;
    const TFigures exportAll = Measure(
        [&] { exported = GoodsCsvBytes(GoodsGridRows(frame), true, TCsvEncoding::Win1251); });

    std::printf("goods CSV: %lld bytes, %d items set, %d lines refused\n",
                static_cast<long long>(file.size()), items, problems);
    std::printf("import (read + apply): best %.1f ms, median %.1f ms (target < 1000 ms)\n",
                import.best, import.median);
    std::printf("export of 6000 rows: best %.1f ms, median %.1f ms, %lld bytes\n", exportAll.best,
                exportAll.median, static_cast<long long>(exported.size()));
    const bool big = BigFiles();
    return items == 6000 && problems == 0 && big ? 0 : 1;
}
