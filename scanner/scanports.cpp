#include "scanports.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace
{

// The number that ends a port name, or -1 when it ends in another character.
qint64 TrailingNumber(const QString &name)
{
    qsizetype start = name.size();
    while (start > 0 && name.at(start - 1).isDigit())
        --start;
    if (start == name.size())
        return -1;
    bool ok = false;
    const qint64 number = QStringView(name).mid(start, 18).toLongLong(&ok);
    return ok ? number : -1;
}

} // namespace

void SortPortNamesByNumber(QStringList &names)
{
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const qint64 na = TrailingNumber(a);
        const qint64 nb = TrailingNumber(b);
        if (na != nb)
            return na < nb;
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
