#pragma once

#include "clioptions.h"
#include "config.h"
#include "registerlink.h"

#include <QString>
#include <QStringList>

#include <atomic>

// The work of one command on one register: the runs of the tables frame and the GSM frame over
// the configuration record, with progress and a stop between exchanges.

// What every register's run starts from; read only while the runs are under way.
struct TJobInput {
    TCliOptions options;
    // write, verify: the file's values; read: the file merged into (or the grids' defaults).
    TConfig config;
};

// Told of the run's progress, from the run's own thread.
class TJobEvents
{
public:
    virtual ~TJobEvents() = default;
    virtual void Started(const QString &port, qint64 total) = 0;
    // done of total steps; where names the table and record just worked.
    virtual void Progress(const QString &port, qint64 done, qint64 total, const QString &where) = 0;
};

struct TJobReport {
    QString port;
    int exitCode = 0; // 0 done, 1 the register failed, was stopped or differs from the file
    bool stopped = false;
    QString message;   // why it failed or where it stopped; empty when done
    QStringList lines; // the status values, or the differences found
    TConfig config;    // read: the record read, to be saved
    qint64 elapsedMs = 0;
};

// The configuration the windows' grids hold right after start.
TConfig DefaultGridConfig();

// Runs the job over the link, which the calling thread owns; closes the link's port at the end,
// whatever came of the job.
TJobReport RunJob(const TJobInput &input, TRegisterLink &link, TJobEvents &events,
                  const std::atomic<bool> &stop);
