#pragma once

// What the benchmarks share: message boxes printed instead of shown, and the timing loops.

#include "dialogs.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Any message box means a run failed: it is printed and counted. The file dialogs answer path.
class TBenchDialogs : public TDialogs
{
public:
    void Message(QWidget *, Kind, const QString &text) override
    {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(QString(text).replace("\r\n", " ")));
    }
    Answer AskYesNo(QWidget *, const QString &, Answer) override { return Answer::No; }
    QString OpenFileName(QWidget *, const QString &, const QString &) override { return path; }
    QString SaveFileName(QWidget *, const QString &, const QString &) override { return path; }
    QString path;
    int messages = 0;
};

inline double RunSeconds(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e9;
}

// The best and the median of runs runs, in ms.
struct TFigures {
    double best;
    double median;
};

inline TFigures Measure(const std::function<void()> &run, int runs = 7)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(RunSeconds(run) * 1000);
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}
