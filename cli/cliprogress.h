#pragma once

#include "clijob.h"

#include <QElapsedTimer>
#include <QHash>
#include <QStringList>

#include <cstdio>
#include <mutex>

// Progress of the registers' runs: one live line per port on a terminal (stderr), or one JSON
// object per event on stdout. Called from the runs' threads.
class TProgressPrinter : public TJobEvents
{
public:
    // live: draw the lines on stderr (a terminal); json: print the events on stdout.
    TProgressPrinter(const QStringList &ports, bool live, bool json);

    void Started(const QString &port, qint64 total) override;
    void Progress(const QString &port, qint64 done, qint64 total, const QString &where) override;
    // The run's end, or its failure followed by its end.
    void Finished(const TJobReport &report);
    // A failure after the runs' end (the file read could not be saved).
    void Failed(const TJobReport &report);
    // Ends the live lines, so what follows starts on a line of its own.
    void EndLive();

    // One JSON object, a line of its own on stdout.
    static QByteArray JsonLine(const QVariantMap &event);

private:
    static QVariantMap FailureEvent(const TJobReport &report);

    struct TLine {
        qint64 done = 0;
        qint64 total = 0;
        int percent = -1;
        QString where;
        QElapsedTimer timer;
        qint64 lastDrawMs = -1000;
    };
    QString LineText(const QString &port, const TLine &line) const;
    void DrawLocked();
    void EmitLocked(const QVariantMap &event);

    QStringList ports_;
    bool live_;
    bool json_;
    bool drawn_ = false;
    std::mutex mutex_;
    QHash<QString, TLine> lines_;
};
