// Saving and loading a full goods base file (6000 items) through the goods tab's buttons:
// the time of each, best and median of several runs. Target: under 100 ms each.

#include "benchtiming.h"
#include "fakeworkhost.h"
#include "framesetz48.h"
#include "stringgrid.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    TBenchDialogs dialogs;
    dialogs.path = dir.filePath(QStringLiteral("base.dbZ48"));
    TDialogs::Install(&dialogs);

    TFakeWorkHost host;
    TFrameSetZ48 frame(&host);
    frame.InitGrids();
    frame.show();
    for (int row = 1; row <= 6000; ++row) {
        frame.Grid(TTableTab::Goods)
            ->SetCells(1, row, QStringLiteral("МОЛОКО ПАСТЕРИЗОВАННОЕ %1").arg(row));
        frame.Grid(TTableTab::Goods)->SetCells(3, row, QString::number(4600000000000LL + row));
        frame.Grid(TTableTab::Goods)->SetCells(4, row, QStringLiteral("%1.50").arg(row));
        frame.Grid(TTableTab::Goods)->SetCells(5, row, QString::number(row % 16));
    }
    QCoreApplication::processEvents();

    // The first save creates the file; the following ones merge into it.
    const TFigures save = Measure([&] { frame.Button1Click(); });
    const qint64 size = QFileInfo(dialogs.path).size();
    const TFigures load = Measure([&] { frame.Button2Click(); });
    const bool same = frame.Grid(TTableTab::Goods)->Cells(1, 6000) ==
                      QStringLiteral("МОЛОКО ПАСТЕРИЗОВАННОЕ 6000");
    TDialogs::Install(nullptr);

    std::printf("goods base file: 6000 items, %lld bytes\n", size);
    std::printf("save: best %.1f ms, median %.1f ms (target < 100 ms)\n", save.best, save.median);
    std::printf("load: best %.1f ms, median %.1f ms (target < 100 ms)\n", load.best, load.median);
    return dialogs.messages == 0 && same ? 0 : 1;
}
