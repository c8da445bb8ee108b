#include "serialline.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <chrono>
#include <thread>

namespace
{

// A write of a frame never blocks for longer than this, whatever the line does.
constexpr int kWriteWaitMs = 5000;

// The pause after a purge is on the path of every exchange, so it must last 1 ms and not the
// 1.1 to 1.5 ms an ordinary sleep takes (or the 15 ms of a coarse system timer): sleep for most
// of it, then spin out the rest against the monotonic clock.
void PrecisePause(std::chrono::microseconds duration)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + duration;
#ifndef Q_OS_WIN
    constexpr std::chrono::microseconds kSpin(200);
    if (duration > kSpin)
        std::this_thread::sleep_until(deadline - kSpin);
#endif
    while (Clock::now() < deadline) {
    }
}

} // namespace

bool TSerialLine::Open(const QString &portName, qint32 speed)
{
    Close();
    if (portName.isEmpty() || speed <= 0)
        return false;
    // Set before opening, so the port is configured once while it opens; flow control stays
    // QSerialPort's own default (none), as it was for the register's cable.
    port.setPortName(portName);
    if (!port.setBaudRate(speed) || !port.setDataBits(QSerialPort::Data8) ||
        !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop))
        return false;
    if (!port.open(QIODevice::ReadWrite)) {
        Close();
        return false;
    }
    // Some drivers accept the open but not the speed: then the line is of no use.
    if (port.baudRate() != speed || port.error() != QSerialPort::NoError) {
        Close();
        return false;
    }
    return true;
}

void TSerialLine::SetReadTimeouts(int totalMs, int gap)
{
    totalTimeoutMs = std::max(totalMs, 0);
    gapMs = std::max(gap, 0);
}

void TSerialLine::Purge()
{
    if (port.isOpen())
        port.clear(QSerialPort::AllDirections);
    PrecisePause(std::chrono::milliseconds(1));
}

void TSerialLine::Write(const char *data, qint64 count)
{
    if (!port.isOpen() || count <= 0)
        return;
    port.write(data, count);
    QDeadlineTimer deadline(kWriteWaitMs);
    while (port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!port.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 0))))
            break;
    }
}

qint64 TSerialLine::Read(char *data, qint64 count)
{
    if (!port.isOpen() || count <= 0)
        return 0;
    QDeadlineTimer total(totalTimeoutMs);
    qint64 got = 0;
    for (;;) {
        const qint64 n = port.read(data + got, count - got);
        if (n > 0)
            got += n;
        if (n < 0 || got >= count)
            break;
        const qint64 remaining = std::max<qint64>(total.remainingTime(), 0);
        // Before the first byte only the total time-out counts; after it also the gap.
        const qint64 wait = got > 0 ? std::min<qint64>(remaining, gapMs) : remaining;
        // A wait of 0 still takes in what the driver already holds, and ends the loop once
        // nothing more is there.
        if (!port.waitForReadyRead(int(wait)))
            break;
    }
    return got;
}

void TSerialLine::Close()
{
    if (port.isOpen())
        port.close();
    port.clearError();
}
