#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class TSerialLine;

// An open register port, or nullptr while none is open. The commands themselves work through
// a register link (registerlink.h), which owns its line; these functions serve a plain handle
// field, such as the windows' own (DevicePortHandle(), used from the user-interface thread).
using TDevicePortHandle = TSerialLine *;

// The windows' handle field.
TDevicePortHandle &DevicePortHandle();
// The name a port was last opened with through OpenDevicePort.
const QString &DevicePortName();

// Pauses for delay ms, closes a handle still held, opens the named port exclusively with the
// given speed and 8N1, and sets a total read time-out of timeOut ms with a gap of 1500 ms
// between two bytes. True with handle set when the port is open and configured; false with
// handle 0 otherwise.
bool OpenDevicePort(const QString &portName, qint32 speed, qint32 timeOut, qint32 delay,
                    TDevicePortHandle &handle);

// Told of every opening of the windows' links and of OpenDevicePort, with its failure reason
// ("Порт COM3 не найден", ...) or an empty text (the windows keep the reason in their status
// bar). Set from the user-interface thread.
void SetPortOpenListener(std::function<void(const QString &failure)> listener);
const std::function<void(const QString &failure)> &WindowPortOpenListener();

// Discards both buffers of the port in the windows' handle field, then pauses 1 ms.
void PurgeDevicePort();

// One blocking write, and one blocking read of up to count bytes under the port's time-outs
// (returns how many came), on the port in the windows' handle field.
void WriteDevicePort(const quint8 *data, int count);
int ReadDevicePort(quint8 *data, int count);

// Closes the handle and sets the field to 0.
void CloseDevicePort(TDevicePortHandle &handle);
