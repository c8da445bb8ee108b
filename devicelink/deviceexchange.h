#pragma once

#include "deviceframe.h"
#include "exchangehook.h"

#include <QString>

#include <functional>

// What the exchange needs of a line: purge, one block write, one read of up to count bytes.
class TDeviceTransport
{
public:
    virtual ~TDeviceTransport() = default;
    virtual void Purge() = 0;
    virtual void Write(const quint8 *data, int count) = 0;
    // Returns the number of bytes received (0 when none came in time).
    virtual int Read(quint8 *data, int count) = 0;
    // Who sees the frames of the exchange (the global hook unless the line has its own), and
    // the port name they are told of.
    virtual const TExchangeHook *Hook() const { return CurrentExchangeHook(); }
    virtual QString PortName() const { return {}; }
};

// The transport over the device link's open port (PurgeDevicePort, WriteDevicePort,
// ReadDevicePort).
class TDevicePortTransport : public TDeviceTransport
{
public:
    void Purge() override;
    void Write(const quint8 *data, int count) override;
    int Read(quint8 *data, int count) override;
    QString PortName() const override;
};

// Local results; any other value is the register's own status byte.
inline constexpr quint8 kResultSuccess = 0;
inline constexpr quint8 kResultPortNotOpened = 1;
inline constexpr quint8 kResultNoAnswer = 2;
inline constexpr quint8 kResultBadChecksum = 3;
inline constexpr quint8 kResultNotANumber = 5;

// A request is sent at most this many times while the register answers busy.
inline constexpr int kMaxAttempts = 10;

// Statuses 20, 21 and 22: the register is busy and the request is sent again.
bool IsBusyStatus(quint8 status);

struct TExchangeOutcome {
    quint8 result = kResultNoAnswer;
    // The last answer passed the checksum, so result is the register's status byte (which may
    // itself be 1, 2 or 3).
    bool answered = false;
    int attempts = 0;
};

// The exchange of one command: at every attempt buildRequest fills the frame anew (header,
// payload, end marker, count), the checksum is set, the line purged, the request written and
// up to answerLength bytes read into the same frame. No bytes: result 2. A checksum that fails,
// or an answer too short to hold a status byte: result 3. Otherwise onAnswer sees the frame
// and the status is the result; a busy status repeats, at most kMaxAttempts requests in all.
TExchangeOutcome RunExchange(TDeviceTransport &transport, DeviceFrame &frame, int answerLength,
                             const std::function<void(DeviceFrame &)> &buildRequest,
                             const std::function<void(const DeviceFrame &)> &onAnswer);
