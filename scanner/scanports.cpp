#include "scanports.h"
#include "portnames.h"

#include <QSerialPortInfo>

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
    names = SortPortNames(names);
    if (!configuredPort.isEmpty() && !names.contains(configuredPort) &&
        PortDeviceExists(configuredPort))
        names << configuredPort;
#endif
    return names;
}
