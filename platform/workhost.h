#pragma once

#include "progsettings.h"

// What the work frames need from the main window, without knowing it.
class TWorkHost
{
public:
    virtual ~TWorkHost() = default;

    // The applied connection settings every device exchange uses.
    virtual const TStructSetting &Settings() const = 0;
    // False until the main window's start-up sequence has run to its end.
    virtual bool StartupComplete() const = 0;
    // Resume and pause the barcode reader (the goods tab shown and left).
    virtual void StartScanner() = 0;
    virtual void StopScanner() = 0;
    // Locks the main menu while a tables run is under way, so no second run starts inside it.
    virtual void SetRunLock(bool locked) = 0;
    // True once the main window has been asked to close: a run ends after its current exchange.
    virtual bool Closing() const = 0;
    // The main window's status bar text of a run's place; empty when the run has ended.
    virtual void ShowStatus(const QString &text) = 0;
    // A short message in the status bar for a while (what a paste took, for one).
    virtual void ShowNote(const QString &text) = 0;
};
