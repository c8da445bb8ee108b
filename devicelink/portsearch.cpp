#include "portsearch.h"
#include "portnames.h"

#include <QFileInfo>
#include <QSerialPortInfo>

QStringList EnumeratePorts(const QString &configuredPort)
{
    QStringList names;
    QStringList locations;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        if (!names.contains(info.portName()))
            names.append(info.portName());
        locations.append(info.systemLocation());
    }
    names = SortPortNames(names);
    if (!configuredPort.isEmpty() && !names.contains(configuredPort) &&
        !locations.contains(configuredPort) && PortDeviceExists(configuredPort))
        names.append(configuredPort);
    return names;
}
