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

TRegisterId RegisterOf(const TStructSetting &settings)
{
    return {settings.Port.Name, int(settings.NumKKT)};
}

QString TRegisterMirror::Key(const TRegisterId &id)
{
    return id.port + QLatin1Char('#') + QString::number(id.device);
}

void TRegisterMirror::Learn(const TRegisterId &id, TTableTab tab, int record,
                            const TTableCells &cells)
{
    if (!ValidRecord(tab, record))
        return;
    QVector<QStringList> &records = registers_[Key(id)][std::size_t(tab)];
    if (records.isEmpty())
        records.resize(TabLayout(tab).maximum);
    records[record - 1] = ShownRecord(tab, record, cells);
}

void TRegisterMirror::Forget(const TRegisterId &id, TTableTab tab, int record)
{
    const auto known = registers_.find(Key(id));
    if (known == registers_.end() || !ValidRecord(tab, record))
        return;
    QVector<QStringList> &records = (*known)[std::size_t(tab)];
    if (!records.isEmpty())
        records[record - 1].clear();
}

void TRegisterMirror::ForgetTab(const TRegisterId &id, TTableTab tab)
{
    const auto known = registers_.find(Key(id));
    if (known != registers_.end() && IsTableTab(int(tab)))
        (*known)[std::size_t(tab)].clear();
}

TRegisterMirror::TState TRegisterMirror::State(const TRegisterId &id, TTableTab tab, int record,
                                               const TTableCells &cells) const
{
    const auto known = registers_.constFind(Key(id));
    if (known == registers_.constEnd() || !ValidRecord(tab, record))
        return TState::Unknown;
    const QVector<QStringList> &records = (*known)[std::size_t(tab)];
    if (records.isEmpty() || records[record - 1].isEmpty())
        return TState::Unknown;
    const QStringList &held = records[record - 1];
    const QList<int> &columns = RunColumns(tab);
    for (int i = 0; i < columns.size(); ++i)
        if (RegisterShown(cells, tab, columns[i], record) != held[i])
            return TState::Changed;
    return TState::Same;
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
