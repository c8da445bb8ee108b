#include "portnames.h"

#include <QFileInfo>

#include <algorithm>

namespace
{
struct TPortKey {
    QString stem;
    qulonglong number = 0;
    bool hasNumber = false;
};

TPortKey KeyOf(const QString &name)
{
    qsizetype digits = name.size();
    while (digits > 0 && name.at(digits - 1) >= u'0' && name.at(digits - 1) <= u'9')
        --digits;
    TPortKey key;
    key.stem = name.left(digits);
    key.number = name.mid(digits).toULongLong(&key.hasNumber);
    return key;
}
} // namespace

QStringList SortPortNames(QStringList names)
{
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const TPortKey ka = KeyOf(a);
        const TPortKey kb = KeyOf(b);
        if (ka.stem != kb.stem)
            return ka.stem < kb.stem;
        if (ka.hasNumber != kb.hasNumber)
            return !ka.hasNumber;
        if (ka.number != kb.number)
            return ka.number < kb.number;
        return a < b;
    });
    return names;
}

bool PortDeviceExists(const QString &name)
{
    if (name.isEmpty())
        return false;
#ifdef Q_OS_WIN
    // Windows lists every COM port it has; there is nothing further to find.
    return false;
#else
    if (name.startsWith(u'/'))
        return QFileInfo::exists(name);
    return QFileInfo::exists(QStringLiteral("/dev/") + name);
#endif
}
