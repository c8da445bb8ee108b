// Time from creating the main window to its first show, with the start-up sequence that builds
// both work frames (the 6000-row goods grid included). Runs offscreen in a temporary program
// folder; prints the first run (cold) and the median of the following ones.
#include "dialogs.h"
#include "formmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace
{
// Start-up messages (no serial ports on a build machine) must not wait for a click.
class TSilentDialogs : public TDialogs
{
public:
    void Message(QWidget *, Kind, const QString &) override {}
    Answer AskYesNo(QWidget *, const QString &, Answer) override { return Answer::No; }
    QString OpenFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QString SaveFileName(QWidget *, const QString &, const QString &) override { return {}; }
};

double ShowOnceMs()
{
    QElapsedTimer timer;
    timer.start();
    TFormMain form;
    form.show();
    while (!form.StartupComplete())
        QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    form.close();
    return ms;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir folder;
    qputenv("KKT_PROGRAM_DIR", folder.path().toUtf8());
    QApplication app(argc, argv);
    TSilentDialogs silent;
    TDialogs::Install(&silent);

    const int runs = 11;
    const double cold = ShowOnceMs();
    std::vector<double> warm;
    for (int i = 0; i < runs; ++i)
        warm.push_back(ShowOnceMs());
    std::sort(warm.begin(), warm.end());

    QTextStream out(stdout);
    out << "main window, creation to first show (frames included)\n";
    out << "  first run: " << QString::number(cold, 'f', 1) << " ms\n";
    out << "  median of " << runs << " more: " << QString::number(warm[runs / 2], 'f', 1)
        << " ms (min " << QString::number(warm.front(), 'f', 1) << ", max "
        << QString::number(warm.back(), 'f', 1) << ")\n";
    out << "  target: under 300 ms\n";
    TDialogs::Install(nullptr);
    return 0;
}
