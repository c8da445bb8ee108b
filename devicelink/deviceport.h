#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class TSerialLine;

// The open register port, or nullptr while none is open. The device link owns the handle
// field (DevicePortHandle(), one per thread); the commands open it before their first request and
// close it after their last, so other programs may use the port in between.
using TDevicePortHandle = TSerialLine *;

// The device link's handle field, one for each thread.
TDevicePortHandle &DevicePortHandle();
// The name the calling thread's port was last opened with.
const QString &DevicePortName();

// Pauses for delay ms, closes a handle still held, opens the named port exclusively with the
// given speed and 8N1, and sets a total read time-out of timeOut ms with a gap of 1500 ms
// between two bytes. True with handle set when the port is open and configured; false with
// handle 0 otherwise.
bool OpenDevicePort(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                    TDevicePortHandle &handle);

// Why the calling thread's last opening failed ("Порт COM3 не найден", ...); empty once one
// succeeded.
QString LastPortOpenFailure();
// Told of every opening, with its failure reason or an empty text (the windows keep the reason
// in their status bar). Set once, from the thread that opens the ports.
void SetPortOpenListener(std::function<void(const QString &failure)> listener);

// Discards both buffers of the port in the handle field, then pauses 1 ms.
void PurgeDevicePort();

// One blocking write, and one blocking read of up to count bytes under the port's time-outs
// (returns how many came), on the port in the handle field.
void WriteDevicePort(const quint8 *data, int count);
int ReadDevicePort(quint8 *data, int count);

// Closes the handle and sets the field to 0.
void CloseDevicePort(TDevicePortHandle &handle);
