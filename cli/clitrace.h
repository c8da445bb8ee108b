#pragma once

#include "exchangehook.h"

#include <QFile>
#include <QString>

#include <mutex>

// "--trace FILE": every request and answer of every port appended to one file, a line each:
// time with milliseconds, port, direction, command letter, for answers the status and the
// attempt, then the frame in hex.
class TTraceFile
{
public:
    // False with the reason in errorText when the file cannot be opened for appending or is no
    // plain file (a folder, a pipe, a device).
    bool Open(const QString &path, QString *errorText);
    // The hook to set while the runs go on; it writes through this object.
    const TExchangeHook &Hook() const { return hook_; }

    // The line of one event (without the time and the line end).
    static QByteArray EventText(const TExchangeEvent &event, char letter);

private:
    void Write(const TExchangeEvent &event);

    QFile file_;
    std::mutex mutex_;
    TExchangeHook hook_ = [this](const TExchangeEvent &event) { Write(event); };
};
