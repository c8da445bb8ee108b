#include "deviceport.h"

#include "serialline.h"

#include <chrono>
#include <thread>

namespace
{
QString openPortName;
std::function<void(const QString &)> openListener;

void Opened(const QString &failure)
{
    if (openListener)
        openListener(failure);
}
} // namespace

const std::function<void(const QString &failure)> &WindowPortOpenListener()
{
    return openListener;
}

void SetPortOpenListener(std::function<void(const QString &failure)> listener)
{
    openListener = std::move(listener);
}

TDevicePortHandle &DevicePortHandle()
{
    static TDevicePortHandle handle = nullptr;
    return handle;
}

const QString &DevicePortName()
{
    return openPortName;
}

bool OpenDevicePort(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                    TDevicePortHandle &handle)
{
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    if (handle)
        CloseDevicePort(handle);
    auto *line = new TSerialLine;
    if (!line->Open(portName, speed)) {
        Opened(line->OpenFailure());
        delete line;
        handle = nullptr;
        return false;
    }
    Opened(QString());
    line->SetReadTimeouts(timeOut, TSerialLine::kByteGapMs);
    handle = line;
    openPortName = portName;
    return true;
}

void PurgeDevicePort()
{
    if (TSerialLine *line = DevicePortHandle())
        line->Purge();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void WriteDevicePort(const quint8 *data, int count)
{
    if (TSerialLine *line = DevicePortHandle())
        line->Write(reinterpret_cast<const char *>(data), count);
}

int ReadDevicePort(quint8 *data, int count)
{
    if (TSerialLine *line = DevicePortHandle())
        return int(line->Read(reinterpret_cast<char *>(data), count));
    return 0;
}

void CloseDevicePort(TDevicePortHandle &handle)
{
    delete handle;
    handle = nullptr;
}
