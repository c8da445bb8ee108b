#pragma once

#include "emulatorengine.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <memory>
#ifdef Q_OS_WIN
#include <future>
#endif
#include <thread>

// Serves one TEmulatorEngine on a pseudo-terminal from its own thread, so a test (or the
// kkt-emulator program) can open PortName() as a serial port and talk to the register. On
// Windows, which has no pseudo-terminals, it serves one end of a null-modem pair of COM ports
// (portpairs.h) and PortName() is the other end:
//
//     TEmulatorPty pty;                      // or TEmulatorPty pty(engine) with an own engine
//     QVERIFY2(pty.IsOpen(), qPrintable(pty.ErrorText()));
//     pty.Engine().AnswerBusy(21, 2);        // faults, state and request log: see the engine
//     ... run device commands against pty.PortName() ...
//     // destruction stops the thread and closes every descriptor
//
// Both ends are in raw mode. The emulator keeps its own slave descriptor open for its whole life
// (it never reads from it), so the port can be opened and closed any number of times without
// hang-ups on the master. Requests are framed by TEmulatorFramer; an unfinished frame is dropped
// after kPartialFrameGapMs without input. Answers are written as TEmulatorReply says (line time,
// pause inside the answer). Bytes that arrive while an answer is being delayed or written are
// kept and framed afterwards.
class TEmulatorPty
{
public:
    static constexpr int kPartialFrameGapMs = 200;

    // With an engine of its own, for the given device number (0 accepts every number).
    explicit TEmulatorPty(quint32 deviceNumber = 0);
    // Serving an engine owned by the caller, which must outlive this object.
    explicit TEmulatorPty(TEmulatorEngine &engine);
    ~TEmulatorPty();

    TEmulatorPty(const TEmulatorPty &) = delete;
    TEmulatorPty &operator=(const TEmulatorPty &) = delete;

    // Whether the pseudo-terminal was created and is being served.
#ifdef Q_OS_WIN
    bool IsOpen() const
    {
        return pairIndex >= 0;
    }
#else
    bool IsOpen() const
    {
        return masterFd >= 0;
    }
#endif
    // Why it could not be created (empty when IsOpen()).
    QString ErrorText() const
    {
        return errorText;
    }
    // The slave path to open as the serial port, e.g. "/dev/pts/5" ("COM12" on Windows); empty
    // when not open.
    QString PortName() const
    {
        return portName;
    }

    TEmulatorEngine &Engine()
    {
        return *engine;
    }

private:
    void Open();
#ifdef Q_OS_WIN
    void Serve(const QString &ownPort, std::promise<QString> &opened);
#else
    void Serve();
    void WriteReply(const TEmulatorReply &reply);
    bool WriteAll(const char *data, qsizetype size);
#endif

    std::unique_ptr<TEmulatorEngine> ownEngine;
    TEmulatorEngine *engine = nullptr;
#ifdef Q_OS_WIN
    int pairIndex = -1;
#else
    int masterFd = -1;
    int slaveFd = -1;
    int wakeFd[2] = {-1, -1}; // self-pipe: the destructor wakes the serving thread at once
#endif
    QString portName;
    QString errorText;
    std::atomic<bool> stopping{false};
    std::thread thread;
};
