#pragma once

#include <QString>
#include <QtGlobal>

// The outcome of one attempt to open a TCP connection to the fiscal-data operator's server.
enum class TConnectOutcome {
    Connected,     // the connection was established within the wait
    Error,         // refused, unreachable or otherwise failed
    Timeout,       // still pending when the wait ran out
    SocketFailed,  // no socket could be created (errorCode holds the system's code)
    LibraryFailed, // the socket library could not be started (Windows only)
};

struct TConnectResult {
    TConnectOutcome Outcome = TConnectOutcome::Error;
    int ErrorCode = 0; // the system's last error code for SocketFailed and LibraryFailed
};

// Parses a full dotted IPv4 address of exactly four decimal parts of 0 to 255 ("10.0.0.1");
// "1.2.3", "", "01.2.3.4" and other characters are refused. address is in network byte order.
bool ParseServerAddress(const QString &text, quint32 &address);

// Parses a TCP port: one to five decimal digits with a value of 0 to 65535, nothing else.
bool ParseServerPort(const QString &text, quint16 &port);

// Opens a non-blocking TCP connection to address (network byte order) and port, waits at most
// waitMs for it to be established, then closes the socket again. Nothing is left open afterwards,
// whatever the outcome.
TConnectResult TryServerConnection(quint32 address, quint16 port, int waitMs = 100);
