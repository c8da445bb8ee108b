#pragma once

#include "deviceexchange.h"
#include "exchangehook.h"
#include "linksettings.h"
#include "serialline.h"

#include <QString>

#include <functional>
#include <memory>

// The link to one register: its settings, the serial line while it is open (owned: destroying
// the link closes it) and the observers of what happens on it. Used from one thread at a time.
//
// By default every command opens the port before its first request and closes it after its
// last, so other programs may use the port in between (the windows work so). A link kept open
// opens the port at its first command and holds it until Close(), until a command fails or
// until the link goes; every request is still preceded by the purge and its pause.
class TRegisterLink
{
public:
    // Told of every opening: why it failed, or an empty text when it succeeded.
    using TOpenObserver = std::function<void(const QString &failure)>;

    explicit TRegisterLink(TLinkSettings settings = {});
    ~TRegisterLink();
    TRegisterLink(const TRegisterLink &) = delete;
    TRegisterLink &operator=(const TRegisterLink &) = delete;

    const TLinkSettings &Settings() const { return settings_; }

    void SetOpenObserver(TOpenObserver observer) { openObserver_ = std::move(observer); }
    // Sees every frame sent and received; called on the link's thread.
    void SetExchangeHook(TExchangeHook hook) { exchangeHook_ = std::move(hook); }
    // Called between slices of a long wait for an answer; false gives the wait up.
    void SetWaitPump(TSerialLine::TWaitHook pump);
    // The observers the windows set for the program as a whole: SetPortOpenListener and
    // TSerialLine::SetWaitHook as they are now, SetGlobalExchangeHook looked up at each frame.
    void UseWindowObservers();

    void SetKeepOpen(bool keep) { keepOpen_ = keep; }
    bool KeepOpen() const { return keepOpen_; }

    // Before a command: pauses delay ms, opens the port unless it is kept open already, and sets
    // the total read time-out. False when the port did not open (the line is then closed).
    bool BeginCommand(qint32 timeOut, qint32 delay = 0);
    // After a command with its result: closes the port unless it is kept open and all went well.
    void EndCommand(quint8 result);
    void Close();
    bool IsOpen() const { return line_ != nullptr; }
    // Why the last opening failed; empty once one succeeded.
    const QString &LastOpenFailure() const { return lastOpenFailure_; }

    // The exchange's way onto the open line.
    TDeviceTransport &Transport() { return transport_; }

private:
    class TLinkTransport : public TDeviceTransport
    {
    public:
        explicit TLinkTransport(TRegisterLink &link) : link_(link) {}
        void Purge() override;
        void Write(const quint8 *data, int count) override;
        int Read(quint8 *data, int count) override;
        const TExchangeHook *Hook() const override;
        QString PortName() const override { return link_.settings_.portName; }

    private:
        TRegisterLink &link_;
    };

    void Opened(const QString &failure);

    TLinkSettings settings_;
    std::unique_ptr<TSerialLine> line_;
    TOpenObserver openObserver_;
    TExchangeHook exchangeHook_;
    TSerialLine::TWaitHook waitPump_;
    bool keepOpen_ = false;
    QString lastOpenFailure_;
    TLinkTransport transport_{*this};
};

// A link as the windows use it: the port opened for each exchange, the windows' observers.
class TWindowLink : public TRegisterLink
{
public:
    explicit TWindowLink(TLinkSettings settings) : TRegisterLink(std::move(settings))
    {
        UseWindowObservers();
    }
};
