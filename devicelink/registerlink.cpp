#include "registerlink.h"

#include "deviceport.h"

#include <chrono>
#include <thread>

TRegisterLink::TRegisterLink(TLinkSettings settings) : settings_(std::move(settings)) {}

TRegisterLink::~TRegisterLink()
{
    Close();
}

void TRegisterLink::SetWaitPump(TSerialLine::TWaitHook pump)
{
    waitPump_ = std::move(pump);
    if (line_)
        line_->SetWaitPump(waitPump_);
}

void TRegisterLink::UseWindowObservers()
{
    openObserver_ = WindowPortOpenListener();
    // Looked up at every frame: the exchange log window may close while a run waits.
    exchangeHook_ = [](const TExchangeEvent &event) {
        if (const TExchangeHook *hook = CurrentExchangeHook())
            (*hook)(event);
    };
    SetWaitPump(TSerialLine::WindowWaitHook());
}

void TRegisterLink::Opened(const QString &failure)
{
    lastOpenFailure_ = failure;
    if (openObserver_)
        openObserver_(failure);
}

bool TRegisterLink::BeginCommand(qint32 timeOut, qint32 delay)
{
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    if (!line_ || !keepOpen_) {
        Close();
        auto line = std::make_unique<TSerialLine>();
        if (!line->Open(settings_.portName, settings_.speed)) {
            Opened(line->OpenFailure());
            return false;
        }
        Opened(QString());
        line->SetWaitPump(waitPump_);
        line_ = std::move(line);
    }
    line_->SetReadTimeouts(timeOut, TSerialLine::kByteGapMs);
    return true;
}

void TRegisterLink::EndCommand(quint8 result)
{
    // After a failure the port is given back: the run ends there, and another program (or the
    // next try) may want it.
    if (!keepOpen_ || result != kResultSuccess)
        Close();
}

void TRegisterLink::Close()
{
    line_.reset();
}

void TRegisterLink::TLinkTransport::Purge()
{
    // An exchange runs only once the command opened the line.
    if (link_.line_)
        link_.line_->Purge();
}

void TRegisterLink::TLinkTransport::Write(const quint8 *data, int count)
{
    if (link_.line_)
        link_.line_->Write(reinterpret_cast<const char *>(data), count);
}

int TRegisterLink::TLinkTransport::Read(quint8 *data, int count)
{
    return link_.line_ ? int(link_.line_->Read(reinterpret_cast<char *>(data), count)) : 0;
}

const TExchangeHook *TRegisterLink::TLinkTransport::Hook() const
{
    return link_.exchangeHook_ ? &link_.exchangeHook_ : nullptr;
}
