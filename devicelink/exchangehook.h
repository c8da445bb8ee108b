#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// A look at every frame an exchange sends or receives, for a trace of the line. A register link
// carries its own (TRegisterLink::SetExchangeHook); the global one serves the windows' links
// and any exchange over a transport of its own.

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
// before destroying it). It may be called from several threads at once.
void SetGlobalExchangeHook(const TExchangeHook *hook);
// The global hook, nullptr for none.
const TExchangeHook *CurrentExchangeHook();
