#pragma once

#include <QSerialPort>
#include <QString>

#include <QtGlobal>
#include <functional>

// One open serial line to the register: exclusive open with speed and 8N1, purge, a blocking
// block write and a blocking read of up to N bytes under a total time-out and a gap between two
// bytes. Used from one thread only, without an event loop.
class TSerialLine
{
public:
    static constexpr int kByteGapMs = 1500;

    TSerialLine() = default;
    TSerialLine(const TSerialLine &) = delete;
    TSerialLine &operator=(const TSerialLine &) = delete;

    // Opens the named port ("COM3", "ttyUSB0" or a full path) exclusively with the given speed,
    // 8 data bits, no parity, one stop bit. False when the port is missing, held elsewhere or
    // refuses the settings; the line is then closed.
    bool Open(const QString &portName, qint32 speed);
    // Why the last Open failed, in the user's words ("Порт /dev/ttyUSB0 занят другой
    // программой"); empty after one that succeeded.
    const QString &OpenFailure() const { return openFailure; }
    // The device a port name opens: "/dev/ttyUSB0" for "ttyUSB0"; on Windows the name itself.
    static QString DevicePath(const QString &portName);
    // Why the name is certainly no serial port (a folder, a plain file, a pipe), looked at
    // without opening it; empty when it may be one. Always empty on Windows.
    static QString NotSerialPort(const QString &portName);
    // Total read time-out in ms (negative counts as 0) and the longest gap between two bytes.
    void SetReadTimeouts(int totalMs, int gapMs = kByteGapMs);
    bool IsOpen() const { return port.isOpen(); }
    // Bytes already taken from the driver and not yet read.
    qint64 BytesAvailable() const { return port.bytesAvailable(); }

    // Discards both directions' buffers, then pauses 1 ms so the line settles.
    void Purge();
    // Writes the block and waits until it left the program's buffer.
    void Write(const char *data, qint64 count);
    // Reads up to count bytes. Returns when count bytes came, when more than the gap passed
    // between two bytes, or when the total time-out passed since the read began. A total
    // time-out of 0 takes only what has already arrived.
    qint64 Read(char *data, qint64 count);
    void Close();

    // While a pump is set, a read calls it once before it waits, then waits in slices of
    // kWaitSliceMs and calls it after each slice without a byte: the windows repaint there
    // while the line is busy. False from the pump gives up the read (as if the register stayed
    // silent).
    using TWaitHook = std::function<bool()>;
    static constexpr int kWaitSliceMs = 50;
    void SetWaitPump(TWaitHook pump) { waitPump = std::move(pump); }
    // The pump the windows' links take (TRegisterLink::UseWindowObservers); set and used on
    // the user-interface thread.
    static void SetWaitHook(TWaitHook hook);
    static const TWaitHook &WindowWaitHook();
    // The windows' pump for the links made while it lives (a run's).
    class TScopedWaitHook
    {
    public:
        explicit TScopedWaitHook(TWaitHook hook) { SetWaitHook(std::move(hook)); }
        ~TScopedWaitHook() { SetWaitHook({}); }
        TScopedWaitHook(const TScopedWaitHook &) = delete;
        TScopedWaitHook &operator=(const TScopedWaitHook &) = delete;
    };

private:
    // systemError: the system's error number of the failed opening, 0 when unknown.
    void SetOpenFailure(const QString &portName, qint32 speed, int systemError = 0);

    QSerialPort port;
    int totalTimeoutMs = 0;
    int gapMs = kByteGapMs;
    QString openFailure;
    TWaitHook waitPump;
};
