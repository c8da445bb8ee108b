#pragma once

// What the tests of the runs without windows share: the emulated register on a
// pseudo-terminal, reset before each test, with connection settings that reach it, and an
// observer that ends a run after a number of steps.
#include "emulatorpty.h"
#include "progsettings.h"
#include "runobserver.h"

#include <QList>

struct TRegisterFixture {
    // False when the pseudo-terminal could not be made (ErrorText() says why).
    bool Reset()
    {
        if (!pty.IsOpen())
            return false;
        pty.Engine().ResetMemory();
        pty.Engine().ClearFaults();
        pty.Engine().ClearReceivedRequests();
        settings.Port.Name = pty.PortName();
        settings.Port.Speed = 115200;
        settings.Port.TimeOut = 300;
        return true;
    }
    QString ErrorText() const { return pty.ErrorText(); }
    TEmulatorEngine &Engine() { return pty.Engine(); }

    TEmulatorPty pty;
    TStructSetting settings;
};

// Ends the run once it has seen steps steps, and keeps each as {done, total, record}.
class TStopAfter : public TRunObserver
{
public:
    explicit TStopAfter(int steps) : steps_(steps) {}
    bool Step(qint64 done, qint64 total, int record) override
    {
        seen.append({done, total, record});
        return seen.size() < steps_;
    }
    QList<QList<qint64>> seen;

private:
    int steps_;
};
