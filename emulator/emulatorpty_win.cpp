// The Windows endpoint: the engine served on one end of a null-modem pair of COM ports. The
// QSerialPort lives in the serving thread, as a QSerialPort must be used from its own thread.
#include "emulatorframer.h"
#include "emulatorpty.h"
#include "portpairs.h"

#include <QEventLoop>
#include <QSerialPort>

#include <chrono>

namespace
{

// How long the serving thread waits for input before it looks at the stop flag again.
constexpr int kIdleWaitMs = 50;
// Longest single sleep while waiting out a line time or a pause, so a stop is seen quickly.
constexpr auto kSleepSlice = std::chrono::milliseconds(20);
constexpr int kWriteWaitMs = 2000;

using TClock = std::chrono::steady_clock;

void SleepUntil(TClock::time_point deadline, const std::atomic<bool> &stopping)
{
    while (!stopping) {
        const TClock::time_point now = TClock::now();
        if (now >= deadline)
            return;
        std::this_thread::sleep_until(std::min(deadline, now + kSleepSlice));
    }
}

bool WriteAll(QSerialPort &port, QByteArrayView bytes, const std::atomic<bool> &stopping)
{
    if (port.write(bytes.data(), bytes.size()) != bytes.size())
        return false;
    while (port.bytesToWrite() > 0 && !stopping) {
        if (!port.waitForBytesWritten(kWriteWaitMs))
            return false;
    }
    return true;
}

void WriteReply(QSerialPort &port, const TEmulatorReply &reply, const std::atomic<bool> &stopping)
{
    const QByteArrayView answer(reply.answer);
    if (answer.isEmpty())
        return;
    if (reply.lineDelayUs > 0)
        SleepUntil(TClock::now() + std::chrono::microseconds(reply.lineDelayUs), stopping);
    if (reply.pauseAfterBytes >= 0 && reply.pauseAfterBytes < answer.size()) {
        if (!WriteAll(port, answer.first(reply.pauseAfterBytes), stopping))
            return;
        SleepUntil(TClock::now() + std::chrono::milliseconds(reply.pauseMs), stopping);
        WriteAll(port, answer.sliced(reply.pauseAfterBytes), stopping);
        return;
    }
    WriteAll(port, answer, stopping);
}

} // namespace

TEmulatorPty::TEmulatorPty(quint32 deviceNumber)
    : ownEngine(std::make_unique<TEmulatorEngine>(deviceNumber)), engine(ownEngine.get())
{
    Open();
}

TEmulatorPty::TEmulatorPty(TEmulatorEngine &engine) : engine(&engine)
{
    Open();
}

TEmulatorPty::~TEmulatorPty()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    ReleasePortPair(pairIndex);
}

void TEmulatorPty::Open()
{
    const TPortPair pair = TakePortPair(&errorText);
    if (pair.index < 0)
        return;
    std::promise<QString> opened;
    std::future<QString> openError = opened.get_future();
    thread = std::thread([this, own = pair.own, &opened] { Serve(own, opened); });
    errorText = openError.get();
    if (!errorText.isEmpty()) {
        thread.join();
        ReleasePortPair(pair.index);
        return;
    }
    pairIndex = pair.index;
    portName = pair.other;
}

void TEmulatorPty::Serve(const QString &ownPort, std::promise<QString> &opened)
{
    // Gives this thread the event dispatcher that QSerialPort's timers need; the waiting below
    // is done by the port's own wait functions.
    const QEventLoop dispatcher;
    QSerialPort port;
    port.setPortName(ownPort);
    if (!port.open(QIODevice::ReadWrite)) {
        opened.set_value(QStringLiteral("%1: %2").arg(ownPort, port.errorString()));
        return;
    }
    port.setBaudRate(QSerialPort::Baud115200);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    // What an earlier user of the pair left in the line is not for this register.
    port.clear();
    opened.set_value(QString());

    TEmulatorFramer framer;
    while (!stopping) {
        const int wait = framer.HasPartial() ? kPartialFrameGapMs : kIdleWaitMs;
        if (port.bytesAvailable() == 0 && !port.waitForReadyRead(wait)) {
            // A gap in the middle of a frame: whatever came was not a whole request.
            if (framer.HasPartial())
                framer.Reset();
            if (port.error() != QSerialPort::NoError && port.error() != QSerialPort::TimeoutError)
                std::this_thread::sleep_for(std::chrono::milliseconds(kIdleWaitMs));
            port.clearError();
            continue;
        }
        framer.Feed(port.readAll());
        while (!stopping) {
            const std::optional<QByteArray> request = framer.TakeRequest();
            if (!request)
                break;
            WriteReply(port, engine->HandleRequest(*request), stopping);
        }
    }
}
