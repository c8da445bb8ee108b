#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// A look at every frame an exchange sends or receives, for a trace of the line. The hook of the
// calling thread is asked first, then the global one; with neither set an exchange only checks
// for them.

struct TExchangeEvent {
    bool answer = false;           // false: a request just written, true: what came back
    QString port;                  // the open port's name
    const quint8 *bytes = nullptr; // the frame as it went or came
    int count = 0;
    int attempt = 1; // 1..kMaxAttempts
    // Answers: the exchange's result for it (2 nothing came, 3 bad checksum, else the status).
    quint8 status = 0;
};

using TExchangeHook = std::function<void(const TExchangeEvent &)>;

// The hook is called on the thread of the exchange; it must outlive its setting (set nullptr
// before destroying it). The global hook may be called from several threads at once.
void SetGlobalExchangeHook(const TExchangeHook *hook);
void SetThreadExchangeHook(const TExchangeHook *hook);
// The hook an exchange on this thread calls, nullptr for none.
const TExchangeHook *CurrentExchangeHook();
