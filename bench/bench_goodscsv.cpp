// Goods CSV: a 6000-line file read and applied to the goods grid (detection, parsing, the
// checks of every line, filling the cells), and the export of all 6000 rows. Best and median
// of several runs. Target: the import under one second.

#include "fakeworkhost.h"
#include "framesetz48.h"
#include "goodscsv.h"
#include "goodscsvactions.h"
#include "stringgrid.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

constexpr int kRuns = 7;

struct TFigures {
    double best;
    double median;
};

TFigures Measure(const std::function<void()> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

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

    const QByteArray file = SpreadsheetFile();
    const QVector<TConfig_PredmRasch> fresh = GoodsGridRows(frame);
    int items = 0;
    int problems = 0;
    const TFigures import = Measure([&] {
        // Into the fresh grid each time, so the lines without a number find their rows.
        frame.SGBase->BeginUpdate();
        for (int row = 1; row <= 6000; ++row)
            for (int col = 1; col <= 5; ++col)
                frame.SGBase->SetCells(col, row, col == 2 ? fresh[row - 1].Font : QString());
        frame.SGBase->EndUpdate();
        const TGoodsImportPlan plan = PlanGoodsImport(file, GoodsGridRows(frame));
        ApplyGoodsImport(frame, plan);
        QCoreApplication::processEvents();
        items = int(plan.items.size());
        problems = int(plan.problems.size());
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
    return items == 6000 && problems == 0 ? 0 : 1;
}
