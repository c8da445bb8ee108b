#pragma once

#include "progsettings.h"
#include "registerlink.h"
#include "runobserver.h"
#include "tablecells.h"
#include "tablelayout.h"

#include <QList>
#include <QString>

// Writing and reading the register's tables, and clearing its goods base: plain runs over the
// device link. The cells are read just before their own exchange and filled as each answer
// arrives, so a run sees edits made while it is under way (the windows let messages run
// between exchanges) and a failed run leaves what was already read.

struct TTableRunResult {
    enum class TOutcome {
        Done,          // every record of the range went through
        Failed,        // an exchange failed: code and record say which
        NoPaymentItem, // a group whose payment-item sign is none of the list's: nothing of it sent
        Stopped,       // the observer ended the run after record
    };
    TOutcome outcome = TOutcome::Done;
    quint8 code = 0; // the exchange's result (Failed)
    int record = 0;  // the record the run ended at (Failed, NoPaymentItem, Stopped)

    bool Done() const { return outcome == TOutcome::Done; }
};

// The message the windows show for a run that failed; empty for one that did not.
QString TableRunMessage(TTableTab tab, bool writing, const TTableRunResult &result);

// Each run goes over the given link; the overloads on the program settings build the windows'
// link, which opens the port for each exchange.

// Records first..last (1-based, within the tab's maximum) of a tab.
TTableRunResult WriteTables(TTableTab tab, int first, int last, const TTableCells &source,
                            TRegisterLink &link, TRunObserver *observer = nullptr);
TTableRunResult WriteTables(TTableTab tab, int first, int last, const TTableCells &source,
                            const TStructSetting &settings, TRunObserver *observer = nullptr);
// The given records of a tab, in that order (those changed since the register was last
// written or read); the observer counts the exchanges of these records only.
TTableRunResult WriteTableRecords(TTableTab tab, const QList<int> &records,
                                  const TTableCells &source, TRegisterLink &link,
                                  TRunObserver *observer = nullptr);
TTableRunResult WriteTableRecords(TTableTab tab, const QList<int> &records,
                                  const TTableCells &source, const TStructSetting &settings,
                                  TRunObserver *observer = nullptr);
TTableRunResult ReadTables(TTableTab tab, int first, int last, TTableCells &sink,
                           TRegisterLink &link, TRunObserver *observer = nullptr);
TTableRunResult ReadTables(TTableTab tab, int first, int last, TTableCells &sink,
                           const TStructSetting &settings, TRunObserver *observer = nullptr);

// Clearing takes the register a while: its answer is awaited this long, whatever the settings.
inline constexpr qint32 kClearGoodsTimeOutMs = 30000;
// The register's result of clearing its goods base (0 success).
quint8 ClearGoods(TRegisterLink &link, qint32 timeoutMs = kClearGoodsTimeOutMs);
quint8 ClearGoods(const TStructSetting &settings, qint32 timeoutMs = kClearGoodsTimeOutMs);
