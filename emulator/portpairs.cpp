#include "portpairs.h"
#include "winecommwait.h"

#include <QList>
#include <QMutex>
#include <QStringList>

#include <windows.h>

namespace
{

QMutex pairsMutex;
// Per pair, the named object that marks it as taken, or null. The name is system-wide, so test
// programs run side by side never share a pair; it goes when its last handle is closed, a
// crashed program's included.
QList<HANDLE> pairsTaken;

HANDLE ClaimPair(const TPortPair &pair)
{
    const QString name = QStringLiteral("Local\\kkt-port-pair-%1").arg(pair.own);
    const HANDLE claim = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (claim && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(claim);
        return nullptr;
    }
    return claim;
}

QList<TPortPair> ConfiguredPairs()
{
    QList<TPortPair> pairs;
    const QStringList items =
        qEnvironmentVariable("KKT_EMULATOR_PORTS").split(u',', Qt::SkipEmptyParts);
    for (const QString &item : items) {
        const QStringList ends = item.trimmed().split(u':');
        if (ends.size() == 2 && !ends[0].isEmpty() && !ends[1].isEmpty())
            pairs.append({int(pairs.size()), ends[0], ends[1]});
    }
    return pairs;
}

} // namespace

TPortPair TakePortPair(QString *whyNot)
{
    // Before any port of this program opens: under Wine no answer would be read otherwise.
    if (RunningUnderWine() && !InstallWineCommWait()) {
        if (whyNot)
            *whyNot = QStringLiteral("under Wine the stand-in for WaitCommEvent could not be put "
                                     "in place, so no answer would be read from a COM port");
        return {};
    }
    const QList<TPortPair> pairs = ConfiguredPairs();
    QMutexLocker lock(&pairsMutex);
    pairsTaken.resize(pairs.size());
    for (const TPortPair &pair : pairs) {
        if (pairsTaken[pair.index])
            continue;
        pairsTaken[pair.index] = ClaimPair(pair);
        if (pairsTaken[pair.index])
            return pair;
    }
    if (whyNot) {
        *whyNot = pairs.isEmpty()
                      ? QStringLiteral("no null-modem COM port pair: set KKT_EMULATOR_PORTS, "
                                       "for example COM11:COM12,COM13:COM14")
                      : QStringLiteral("all %1 COM port pairs of KKT_EMULATOR_PORTS are in use "
                                       "(by this or another program)")
                            .arg(pairs.size());
    }
    return {};
}

void ReleasePortPair(int index)
{
    QMutexLocker lock(&pairsMutex);
    if (index >= 0 && index < pairsTaken.size() && pairsTaken[index]) {
        CloseHandle(pairsTaken[index]);
        pairsTaken[index] = nullptr;
    }
}
