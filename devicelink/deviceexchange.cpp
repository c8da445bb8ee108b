#include "deviceexchange.h"

#include "deviceport.h"

#include <algorithm>

void TDevicePortTransport::Purge()
{
    PurgeDevicePort();
}

void TDevicePortTransport::Write(const quint8 *data, int count)
{
    WriteDevicePort(data, count);
}

int TDevicePortTransport::Read(quint8 *data, int count)
{
    return ReadDevicePort(data, count);
}

QString TDevicePortTransport::PortName() const
{
    return DevicePortName();
}

namespace
{

void Report(const TExchangeHook &hook, const QString &port, bool answer, const DeviceFrame &frame,
            int attempt, quint8 status)
{
    TExchangeEvent event;
    event.answer = answer;
    event.port = port;
    event.bytes = frame.bytes.data();
    event.count = frame.count;
    event.attempt = attempt;
    event.status = status;
    hook(event);
}

} // namespace

bool IsBusyStatus(quint8 status)
{
    return status == 20 || status == 21 || status == 22;
}

TExchangeOutcome RunExchange(TDeviceTransport &transport, DeviceFrame &frame, int answerLength,
                             const std::function<void(DeviceFrame &)> &buildRequest,
                             const std::function<void(const DeviceFrame &)> &onAnswer)
{
    const int capacity = int(frame.bytes.size());
    answerLength = std::clamp(answerLength, 0, capacity);
    TExchangeOutcome outcome;
    const TExchangeHook *hook = transport.Hook();
    const QString port = hook ? transport.PortName() : QString();
    for (outcome.attempts = 1; outcome.attempts <= kMaxAttempts; ++outcome.attempts) {
        buildRequest(frame);
        frame.count = std::clamp(frame.count, 0, capacity);
        SetFrameChecksum(frame);
        transport.Purge();
        transport.Write(frame.bytes.data(), frame.count);
        if (hook)
            Report(*hook, port, false, frame, outcome.attempts, 0);
        frame.count = 0;
        frame.count = std::clamp(transport.Read(frame.bytes.data(), answerLength), 0, answerLength);
        outcome.answered = false;
        if (frame.count == 0) {
            outcome.result = kResultNoAnswer;
            if (hook)
                Report(*hook, port, true, frame, outcome.attempts, outcome.result);
            return outcome;
        }
        // Fewer than four bytes hold no status byte of their own: byte 3 would still be the
        // request's, and could read as success.
        if (frame.count <= kAnswerStatusOffset || VerifyFrameChecksum(frame) != 0) {
            outcome.result = kResultBadChecksum;
            if (hook)
                Report(*hook, port, true, frame, outcome.attempts, outcome.result);
            return outcome;
        }
        outcome.answered = true;
        outcome.result = frame.bytes[kAnswerStatusOffset];
        if (hook)
            Report(*hook, port, true, frame, outcome.attempts, outcome.result);
        if (onAnswer)
            onAnswer(frame);
        if (!IsBusyStatus(outcome.result))
            return outcome;
    }
    outcome.attempts = kMaxAttempts;
    return outcome;
}
