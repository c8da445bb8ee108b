// Saving and loading a full configuration (6043 sections, over thirty thousand keys) without
// the pause of the wait window: the record to and from the file, the grids to and from the
// record, and both commands' whole work. Median and worst wall time of several runs, and the
// median processor time, which shows the program's own share on a busy machine; the target
// applies to the median wall time.

#include "config.h"
#include "configcommands.h"
#include "configfile.h"
#include "configgrids.h"
#include "fakeworkhost.h"
#include "framegsmsetting.h"
#include "framesetz48.h"
#include "inidocument.h"
#include "stringgrid.h"
#include "workhost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace
{

constexpr int kRuns = 15;
constexpr double kTargetMs = 150.0;

using TBenchHost = TFakeWorkHost;

// A configuration as full as it gets: every goods item named, priced and coded.
void FillFull(TConfig &c, const QString &tag)
{
    for (int i = 0; i < kConfigGsmCount; ++i)
        c.Gsm.Values[i] = QStringLiteral("параметр %1 %2").arg(i).arg(tag);
    for (int n = 0; n < kConfigOperCount; ++n)
        c.Tables.Oper[n] = {QStringLiteral("КАССИР"),
                            QStringLiteral("Узкий"),
                            QStringLiteral("ИВАНОВ %1 %2").arg(n).arg(tag),
                            QStringLiteral("Узкий"),
                            QStringLiteral("ИВАН"),
                            QStringLiteral("Широкий"),
                            QString::number(n + 1),
                            QStringLiteral("770100000000")};
    for (int n = 0; n < kConfigGoodsCount; ++n)
        c.Tables.PredmRasch[n] = {QStringLiteral("ТОВАР НОМЕР %1 %2").arg(n + 1).arg(tag),
                                  QStringLiteral("Узкий"),
                                  QStringLiteral("46%1").arg(n, 11, 10, QLatin1Char('0')),
                                  QStringLiteral("%1.50").arg(n % 1000), QString::number(n % 16)};
    for (int n = 0; n < kConfigGroupCount; ++n)
        c.Tables.RpiznPredmRasch[n] = {QStringLiteral("ОТДЕЛ %1 %2").arg(n).arg(tag),
                                       QStringLiteral("Узкий"), QStringLiteral("01 - Товар"),
                                       QStringLiteral("1 - Ставка НДС 18%")};
    for (int n = 0; n < kConfigClicheCount; ++n)
        c.Tables.Klishe[n] = {QStringLiteral("СТРОКА КЛИШЕ %1 %2").arg(n).arg(tag),
                              QStringLiteral("Широкий")};
    for (int n = 0; n < kConfigAgentCount; ++n)
        c.Tables.Agent[n] = {QStringLiteral("+7 900 000-00-%1").arg(n), QStringLiteral("Узкий")};
}

struct TFigures {
    double medianMs;
    double worstMs;
    double cpuMedianMs; // the processor time of the run itself, apart from other programs
};

double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

TFigures Measure(const std::function<bool()> &step)
{
    std::vector<double> ms;
    std::vector<double> cpu;
    QElapsedTimer timer;
    for (int i = 0; i < kRuns; ++i) {
        const double cpuStart = CpuMs();
        timer.start();
        if (!step()) {
            std::fprintf(stderr, "a run failed\n");
            return {-1, -1, -1};
        }
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(CpuMs() - cpuStart);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    return {ms[ms.size() / 2], ms.back(), cpu[cpu.size() / 2]};
}

bool Report(const char *what, const TFigures &f)
{
    const bool ok = f.medianMs >= 0 && f.medianMs < kTargetMs;
    std::printf("%-40s median %7.2f ms  worst %7.2f ms  cpu %7.2f ms  %s\n", what, f.medianMs,
                f.worstMs, f.cpuMedianMs, ok ? "ok" : "OVER TARGET");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    const QString path = dir.filePath(QStringLiteral("full.conf"));

    auto full = std::make_unique<TConfig>();
    FillFull(*full, QStringLiteral("А"));
    auto other = std::make_unique<TConfig>();
    FillFull(*other, QStringLiteral("Б"));
    auto loaded = std::make_unique<TConfig>();

    TBenchHost host;
    TFrameGsmSetting gsm(&host);
    gsm.InitFrame();
    TFrameSetZ48 tables(&host);
    tables.InitGrids();

    std::printf("Full configuration, %d runs each, target under %.0f ms\n", kRuns, kTargetMs);
    bool ok = true;
    ok &= Report("record -> new file", Measure([&] {
                     QFile::remove(path);
                     return WriteConfigFile(path, *full);
                 }));
    ok &= Report("record -> existing full file (merge)",
                 Measure([&] { return WriteConfigFile(path, *full); }));
    ok &= Report("file -> record", Measure([&] { return ReadConfigFile(path, *loaded); }));

    // The same in its parts: the document's own reading and writing, and the keys.
    TIniDocument doc;
    Report("  of which file -> document", Measure([&] { return doc.Load(path); }));
    Report("  of which document -> record", Measure([&] {
               ConfigFromIni(doc, *loaded);
               return true;
           }));
    Report("  record -> existing document", Measure([&] {
               ConfigToIni(*full, doc);
               return true;
           }));
    Report("  document -> file", Measure([&] { return doc.Save(path); }));

    // Two records by turns, so every cell of the grids changes on every run.
    int turn = 0;
    ok &= Report("record -> grids", Measure([&] {
                     ConfigToGrids(++turn % 2 ? *full : *other, gsm, tables);
                     return true;
                 }));
    ok &= Report("grids -> record", Measure([&] {
                     ConfigFromGrids(*loaded, gsm, tables);
                     return true;
                 }));
    ok &= Report("save command: grids -> record -> file", Measure([&] {
                     ConfigFromGrids(*loaded, gsm, tables);
                     return SaveConfigFile(nullptr, path, *loaded, nullptr, 0);
                 }));
    const QString otherPath = dir.filePath(QStringLiteral("other.conf"));
    if (!WriteConfigFile(otherPath, *other))
        return 2;
    ok &=
        Report("load command: file -> record -> grids", Measure([&] {
                   // Two files by turns, so every cell of the grids changes on every run.
                   if (!LoadConfigFile(nullptr, ++turn % 2 ? path : otherPath, *loaded, nullptr, 0))
                       return false;
                   ConfigToGrids(*loaded, gsm, tables);
                   return true;
               }));
    return ok ? 0 : 1;
}
