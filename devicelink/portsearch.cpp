#include "portsearch.h"
#include "portnames.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <system_error>

TSystemPortList ListSystemPorts()
{
    TSystemPortList ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.systemLocation()});
    return ports;
}

QStringList EnumeratePorts(const TSystemPortList &system, const QString &configuredPort)
{
    QStringList names;
    QStringList locations;
    for (const TSystemPort &port : system) {
        if (!names.contains(port.name))
            names.append(port.name);
        locations.append(port.location);
    }
    names = SortPortNames(names);
    if (!configuredPort.isEmpty() && !names.contains(configuredPort) &&
        !locations.contains(configuredPort) && PortDeviceExists(configuredPort))
        names.append(configuredPort);
    return names;
}

QStringList EnumeratePorts(const QString &configuredPort)
{
    return EnumeratePorts(ListSystemPorts(), configuredPort);
}

TPortSearch::TPortSearch(TLister lister)
{
    try {
        search_ = std::async(std::launch::async, lister);
    } catch (const std::system_error &) {
        // No thread to be had: the search runs where it is taken, as it always did.
        search_ = std::async(std::launch::deferred, std::move(lister));
    }
}

TPortSearch::~TPortSearch()
{
    if (search_.valid())
        search_.wait();
}

QStringList TPortSearch::Take(const QString &configuredPort)
{
    if (!search_.valid())
        return EnumeratePorts(configuredPort);
    return EnumeratePorts(search_.get(), configuredPort);
}
