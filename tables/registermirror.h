#pragma once

#include "registermemory.h"
#include "tablecells.h"
#include "tablelayout.h"

#include <QList>

// What this session knows a register holds: for each record of each table, its cells as the
// register gives them back, learnt from writing them or reading them. A record the session
// has not written or read on that register is not known, and counts as changed.
class TRegisterMirror
{
public:
    // The record's cells went to the register or came from it (a completed write or read).
    void Learn(const TRegisterId &id, TTableTab tab, int record, const TTableCells &cells);
    // What the register holds of the record is no longer known (a write broke off in it).
    void Forget(const TRegisterId &id, TTableTab tab, int record);
    // The same for every record of a table (its goods base was cleared).
    void ForgetTab(const TRegisterId &id, TTableTab tab);

    // How the cells of the record stand to what the register is known to hold.
    enum class TState { Same, Changed, Unknown };
    TState State(const TRegisterId &id, TTableTab tab, int record, const TTableCells &cells) const;
    // Whether the cells of the record differ from what the register is known to hold (a
    // record not known counts as changed).
    bool Changed(const TRegisterId &id, TTableTab tab, int record, const TTableCells &cells) const
    {
        return State(id, tab, record, cells) != TState::Same;
    }
    // The changed records of first..last, ascending.
    QList<int> ChangedRecords(const TRegisterId &id, TTableTab tab, int first, int last,
                              const TTableCells &cells) const;

private:
    // Per register and table (the tab), the run columns' texts of each record.
    TRegisterMemory memory_;
};
