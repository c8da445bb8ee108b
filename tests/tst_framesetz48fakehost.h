#pragma once

#include "workhost.h"

// Stands in for the main window: counts the scanner requests the tables frame makes.
class TFakeWorkHost : public TWorkHost
{
public:
    const TStructSetting &Settings() const override { return settings; }
    bool StartupComplete() const override { return startupComplete; }
    void StartScanner() override { ++starts; }
    void StopScanner() override { ++stops; }
    void SetRunLock(bool locked) override { runLocked = locked; }
    bool Closing() const override { return closing; }

    TStructSetting settings;
    bool startupComplete = true;
    bool runLocked = false;
    bool closing = false;
    int starts = 0;
    int stops = 0;
};
