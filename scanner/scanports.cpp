#include "scanports.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace
{

// A port name split into the text before its trailing number and that number.
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
    key.number = QStringView(name).mid(digits).toULongLong(&key.hasNumber);
    return key;
}

} // namespace

void SortPortNamesByNumber(QStringList &names)
{
    // The order of the connection settings dialog: ports of one kind together, each kind in
    // ascending order of number ("ttyS2" before "ttyS10", all "ttyS" before "ttyUSB").
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
}

QStringList ScannerPortNames(const QString &configuredPort)
{
    QStringList names;
#ifdef Q_OS_WIN
    Q_UNUSED(configuredPort);
    for (int i = 1; i <= 99; ++i)
        names << QStringLiteral("COM%1").arg(i);
#else
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names << info.portName();
    names.removeDuplicates();
    SortPortNamesByNumber(names);
    if (!configuredPort.isEmpty() && !names.contains(configuredPort)) {
        // A bare name such as "ttyUSB0" lies in /dev; a path names the device itself.
        const QString device = configuredPort.contains(QLatin1Char('/'))
                                   ? configuredPort
                                   : QStringLiteral("/dev/") + configuredPort;
        if (QFileInfo::exists(device))
            names << configuredPort;
    }
#endif
    return names;
}
