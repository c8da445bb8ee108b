#pragma once

// The tables frame holding a goods base, ready to run against the emulator at a line's pace:
// the fixture of the benchmarks of long goods runs.

#include "benchtiming.h"
#include "emulatorpty.h"
#include "fakeworkhost.h"
#include "framesetz48.h"
#include "lockfolder.h"
#include "stringgrid.h"

#include <QCoreApplication>
#include <QLineEdit>

// The tables frame on its goods tab with items goods items and the range 1..items, against the
// emulated register taking the line time of speed baud; the lock folder's kind is printed.
struct TGoodsRunBench {
    TGoodsRunBench(int goodsItems, int speed) : items(goodsItems), frame(&host)
    {
        pty.Engine().SetLineSpeed(speed);
        PrintLockFolderKind();
        TDialogs::Install(&dialogs);
        host.settings.Port.Name = pty.PortName();
        host.settings.Port.Speed = speed;
        host.settings.Port.TimeOut = 3500;
        frame.InitGrids();
        frame.resize(1000, 700);
        frame.show();
        frame.ShowTab(TTableTab::Goods);
        frame.Range(TTableTab::Goods).from->setText(QStringLiteral("1"));
        frame.Range(TTableTab::Goods).to->setText(QString::number(items));
        TStringGrid &grid = Goods();
        for (int row = 1; row <= items; ++row) {
            grid.SetCells(1, row, Name(row));
            grid.SetCells(3, row, QString::number(4600000000000LL + row));
            grid.SetCells(4, row, Price(row));
            grid.SetCells(5, row, QString::number(row % 16));
        }
        QCoreApplication::processEvents();
    }
    ~TGoodsRunBench() { TDialogs::Install(nullptr); }

    // False (the reason printed) without a pseudo-terminal.
    bool Ready() const
    {
        if (!pty.IsOpen())
            std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(pty.ErrorText()));
        return pty.IsOpen();
    }
    TStringGrid &Goods() { return *frame.Grid(TTableTab::Goods); }
    static QString Name(int row) { return QStringLiteral("ТОВАР НОМЕР %1").arg(row); }
    static QString Price(int row)
    {
        return QStringLiteral("%1.%2").arg(row).arg(row % 100, 2, 10, QLatin1Char('0'));
    }

    int items;
    TEmulatorPty pty;
    TBenchDialogs dialogs;
    TFakeWorkHost host;
    TFrameSetZ48 frame;
};
