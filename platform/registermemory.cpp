#include "registermemory.h"

TRegisterId RegisterOf(const TStructSetting &settings)
{
    return {settings.Port.Name, int(settings.NumKKT)};
}

QString TRegisterMemory::Key(const TRegisterId &id, int table)
{
    return id.port + QLatin1Char('#') + QString::number(id.device) + QLatin1Char('#') +
           QString::number(table);
}

void TRegisterMemory::Learn(const TRegisterId &id, int table, int records, int record,
                            const QStringList &texts)
{
    if (record < 1 || record > records)
        return;
    QVector<QStringList> &known = tables_[Key(id, table)];
    if (known.size() < records)
        known.resize(records);
    known[record - 1] = texts;
}

void TRegisterMemory::Forget(const TRegisterId &id, int table, int record)
{
    const auto known = tables_.find(Key(id, table));
    if (known != tables_.end() && record >= 1 && record <= known->size())
        (*known)[record - 1].clear();
}

void TRegisterMemory::ForgetTable(const TRegisterId &id, int table)
{
    tables_.remove(Key(id, table));
}

const QStringList *TRegisterMemory::Known(const TRegisterId &id, int table, int record) const
{
    const auto known = tables_.constFind(Key(id, table));
    if (known == tables_.constEnd() || record < 1 || record > known->size())
        return nullptr;
    const QStringList &held = known->at(record - 1);
    return held.isEmpty() ? nullptr : &held;
}
