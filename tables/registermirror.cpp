#include "registermirror.h"

#include "registershown.h"

namespace
{

QStringList ShownRecord(TTableTab tab, int record, const TTableCells &cells)
{
    QStringList texts;
    for (int col : RunColumns(tab))
        texts.append(RegisterShown(cells, tab, col, record));
    return texts;
}

bool ValidRecord(TTableTab tab, int record)
{
    return IsTableTab(int(tab)) && record >= 1 && record <= TabLayout(tab).maximum;
}

} // namespace

void TRegisterMirror::Learn(const TRegisterId &id, TTableTab tab, int record,
                            const TTableCells &cells)
{
    if (ValidRecord(tab, record))
        memory_.Learn(id, int(tab), TabLayout(tab).maximum, record,
                      ShownRecord(tab, record, cells));
}

void TRegisterMirror::Forget(const TRegisterId &id, TTableTab tab, int record)
{
    memory_.Forget(id, int(tab), record);
}

void TRegisterMirror::ForgetTab(const TRegisterId &id, TTableTab tab)
{
    memory_.ForgetTable(id, int(tab));
}

TRegisterMirror::TState TRegisterMirror::State(const TRegisterId &id, TTableTab tab, int record,
                                               const TTableCells &cells) const
{
    const QStringList *held = memory_.Known(id, int(tab), record);
    if (!held)
        return TState::Unknown;
    return *held == ShownRecord(tab, record, cells) ? TState::Same : TState::Changed;
}

QList<int> TRegisterMirror::ChangedRecords(const TRegisterId &id, TTableTab tab, int first,
                                           int last, const TTableCells &cells) const
{
    QList<int> records;
    for (int record = first; record <= last; ++record)
        if (Changed(id, tab, record, cells))
            records.append(record);
    return records;
}
