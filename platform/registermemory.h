#pragma once

#include "progsettings.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Which register: its port and its device number. Two registers on one port differ by number.
struct TRegisterId {
    QString port;
    int device = 0;
    bool operator==(const TRegisterId &) const = default;
};
// The register the connection settings reach.
TRegisterId RegisterOf(const TStructSetting &settings);

// What this session knows registers hold, learnt from writing and reading them: per register
// and table, each record's texts as the register gives them back. A record the session has not
// written or read on that register is not known. Records are numbered from 1.
class TRegisterMemory
{
public:
    // The record of a table of records records went to the register or came from it.
    void Learn(const TRegisterId &id, int table, int records, int record, const QStringList &texts);
    // What the register holds of the record, or of every record of the table, is not known.
    void Forget(const TRegisterId &id, int table, int record);
    void ForgetTable(const TRegisterId &id, int table);
    // What the register is known to hold of the record; nullptr when not known.
    const QStringList *Known(const TRegisterId &id, int table, int record) const;

private:
    static QString Key(const TRegisterId &id, int table);

    // Per register and table, per record (index record - 1); empty when not known.
    QHash<QString, QVector<QStringList>> tables_;
};
