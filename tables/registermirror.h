#pragma once

#include "progsettings.h"
#include "tablecells.h"
#include "tablelayout.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// Which register: its port and its device number. Two registers on one port differ by number.
struct TRegisterId {
    QString port;
    int device = 0;
    bool operator==(const TRegisterId &) const = default;
};
// The register the connection settings reach.
TRegisterId RegisterOf(const TStructSetting &settings);

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
    // Per table, per record (index record - 1): the run columns' texts; empty when not known.
    using TTables = std::array<QVector<QStringList>, kTableTabCount>;
    static QString Key(const TRegisterId &id);

    QHash<QString, TTables> registers_;
};
