#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>

#include "portnames.h"

// The serial ports the connection dialog offers.

// One port the system lists: its name ("ttyUSB0", "COM3") and its device path.
struct TSystemPort {
    QString name;
    QString location;
};
using TSystemPortList = QList<TSystemPort>;

// What the system lists now (it walks every serial device: tens of milliseconds on Linux).
TSystemPortList ListSystemPorts();

// The ports of system, in order and each once, plus configuredPort at the end when that device
// exists but the system does not list it (a pseudo-terminal such as the register emulator's).
QStringList EnumeratePorts(const TSystemPortList &system, const QString &configuredPort);
// The same over what the system lists now.
QStringList EnumeratePorts(const QString &configuredPort);

// The system's list taken on a worker thread from construction on, so the search runs while
// the main window builds its frames; Take waits for it where the start-up comes to the ports.
class TPortSearch
{
public:
    using TLister = std::function<TSystemPortList()>;
    explicit TPortSearch(TLister lister = ListSystemPorts);
    // Waits for a search still under way.
    ~TPortSearch();
    TPortSearch(const TPortSearch &) = delete;
    TPortSearch &operator=(const TPortSearch &) = delete;

    // Waits for the search and gives its ports as EnumeratePorts does. Once taken, a further
    // call searches anew on the calling thread.
    QStringList Take(const QString &configuredPort);

private:
    std::future<TSystemPortList> search_;
};
