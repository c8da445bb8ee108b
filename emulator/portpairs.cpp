#include "portpairs.h"

#include <QList>
#include <QMutex>
#include <QStringList>

namespace
{

QMutex pairsMutex;
QList<bool> pairsTaken;

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
    const QList<TPortPair> pairs = ConfiguredPairs();
    QMutexLocker lock(&pairsMutex);
    pairsTaken.resize(pairs.size());
    for (const TPortPair &pair : pairs) {
        if (!pairsTaken[pair.index]) {
            pairsTaken[pair.index] = true;
            return pair;
        }
    }
    if (whyNot) {
        *whyNot = pairs.isEmpty()
                      ? QStringLiteral("no null-modem COM port pair: set KKT_EMULATOR_PORTS, "
                                       "for example COM11:COM12,COM13:COM14")
                      : QStringLiteral("all %1 COM port pairs of KKT_EMULATOR_PORTS are in use")
                            .arg(pairs.size());
    }
    return {};
}

void ReleasePortPair(int index)
{
    QMutexLocker lock(&pairsMutex);
    if (index >= 0 && index < pairsTaken.size())
        pairsTaken[index] = false;
}
