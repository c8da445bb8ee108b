#pragma once

#include "workhost.h"

#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the main window in tests and benchmarks: holds the connection settings and
// records what the frames ask of it.
class TFakeWorkHost : public TWorkHost
{
public:
    const TStructSetting &Settings() const override { return settings; }
    bool StartupComplete() const override { return startupComplete; }
    void StartScanner() override { ++starts; }
    void StopScanner() override { ++stops; }
    void SetRunLock(bool locked) override
    {
        runLocked = locked;
        lockCalls.append(locked);
    }
    bool Closing() const override { return closing; }
    void ShowNote(const QString &text) override { notes.append(text); }
    void ShowStatus(const QString &text) override
    {
        statuses.append(text);
        if (onStatus)
            onStatus(text);
    }

    TStructSetting settings;
    bool startupComplete = true;
    bool runLocked = false;
    QList<bool> lockCalls;
    bool closing = false;
    QStringList statuses;
    QStringList notes;
    // Called with every status text, as the run shows it (before the window repaints).
    std::function<void(const QString &)> onStatus;
    int starts = 0;
    int stops = 0;
};
