#pragma once

// What the tests of the runs without windows share: the emulated register on a
// pseudo-terminal, reset before each test, with connection settings that reach it, and an
// observer that ends a run after a number of steps.
#include "emulatorpty.h"
#include "progsettings.h"
#include "runobserver.h"

#include <QByteArray>
#include <QList>

// One request as the register received it.
struct TRequest {
    char letter = 0;
    int mode = -1;
    int table = -1, row = -1, field = -1; // "p"
    int attribute = -1;                   // "p"
    QByteArray text;                      // "p": the 24 text bytes without the zero padding
    int item = -1;                        // "T"
};

inline TRequest ParseRequest(const QByteArray &frame)
{
    TRequest request;
    if (frame.size() < 11)
        return request;
    request.letter = frame.at(6);
    if (request.letter == 'c' || request.letter == 'u')
        return request;
    request.mode = quint8(frame.at(8));
    if (request.letter == 'p' && frame.size() >= 37) {
        request.table = quint8(frame.at(9));
        request.row = quint8(frame.at(10));
        request.field = quint8(frame.at(11));
        request.attribute = quint8(frame.at(12));
        request.text = frame.mid(13, 24);
        request.text.truncate(request.text.indexOf('\0') < 0 ? 24 : request.text.indexOf('\0'));
    } else if (request.letter == 'T') {
        request.item = quint8(frame.at(9)) | (quint8(frame.at(10)) << 8);
    }
    return request;
}

// Device text of the given Windows-1251 bytes, padded to the register's 24 bytes.
inline QByteArray Padded(const QByteArray &deviceText)
{
    QByteArray bytes = deviceText.left(24);
    bytes.append(QByteArray(24 - bytes.size(), '\0'));
    return bytes;
}

// The requests the register received since they were last cleared.
inline QList<TRequest> ParsedRequests(const TEmulatorEngine &engine)
{
    QList<TRequest> requests;
    for (const QByteArray &frame : engine.ReceivedRequests())
        requests.append(ParseRequest(frame));
    return requests;
}

struct TRegisterFixture {
    // False when the pseudo-terminal could not be made (ErrorText() says why).
    bool Reset()
    {
        if (!pty.IsOpen())
            return false;
        pty.Engine().ResetMemory();
        pty.Engine().ClearFaults();
        pty.Engine().ClearReceivedRequests();
        settings.Port.Name = pty.PortName();
        settings.Port.Speed = 115200;
        settings.Port.TimeOut = 300;
        return true;
    }
    QString ErrorText() const { return pty.ErrorText(); }
    TEmulatorEngine &Engine() { return pty.Engine(); }
    QList<TRequest> Requests() { return ParsedRequests(pty.Engine()); }

    TEmulatorPty pty;
    TStructSetting settings;
};

// Ends the run once it has seen steps steps, and keeps each as {done, total, record}.
class TStopAfter : public TRunObserver
{
public:
    explicit TStopAfter(int steps) : steps_(steps) {}
    bool Step(qint64 done, qint64 total, int record) override
    {
        seen.append({done, total, record});
        return seen.size() < steps_;
    }
    QList<QList<qint64>> seen;

private:
    int steps_;
};
