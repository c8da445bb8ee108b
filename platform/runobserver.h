#pragma once

#include <QtGlobal>

// Watches a run of exchanges with the register (writing or reading tables or GSM parameters):
// told after each successful exchange how far the run is, it may end the run there.
class TRunObserver
{
public:
    virtual ~TRunObserver() = default;

    // done of total exchanges are through; record is the one (row, item, parameter) just
    // worked. False ends the run after this exchange.
    virtual bool Step(qint64 done, qint64 total, int record) = 0;
    // Asked after an exchange that is not a step of its own (the parts of a longer value):
    // false ends the run there, without letting anything else run.
    virtual bool KeepGoing() const { return true; }
};
