#include "deviceframe.h"

#include <algorithm>

namespace
{

bool InFrame(int offset, int size)
{
    return offset >= 0 && size >= 0 && offset + size <= int(DeviceFrame().bytes.size());
}

} // namespace

quint16 FrameSum(const DeviceFrame &frame, int end)
{
    end = std::clamp(end, 0, int(frame.bytes.size()));
    quint16 sum = 0;
    for (int i = 0; i < end; ++i)
        sum = quint16(sum + frame.bytes[size_t(i)]);
    return sum;
}

void SetFrameChecksum(DeviceFrame &frame)
{
    if (frame.count < 2 || frame.count > int(frame.bytes.size()))
        return;
    PutFrameNumber(frame, frame.count - 2, FrameSum(frame, frame.count - 2), 2);
}

quint16 VerifyFrameChecksum(const DeviceFrame &frame)
{
    if (frame.count < 2 || frame.count > int(frame.bytes.size()))
        return 0xFFFF;
    const quint16 stored = quint16(FrameNumber(frame, frame.count - 2, 2));
    const quint16 sum = FrameSum(frame, frame.count - 2);
    return quint16(stored ^ sum);
}

void BeginRequest(DeviceFrame &frame, quint32 deviceNumber, char letter, int length)
{
    length = std::clamp(length, kFrameHeaderSize + kFrameTrailerSize, int(frame.bytes.size()));
    std::fill(frame.bytes.begin(), frame.bytes.begin() + length, quint8(0));
    frame.bytes[0] = kFrameStart0;
    frame.bytes[1] = kFrameStart1;
    PutFrameNumber(frame, 2, deviceNumber, 4);
    frame.bytes[6] = quint8(letter);
    frame.bytes[7] = quint8(length);
    frame.bytes[size_t(length - kFrameTrailerSize)] = kFrameEndOfData;
    frame.count = length;
}

void PutFrameNumber(DeviceFrame &frame, int offset, quint64 value, int size)
{
    if (!InFrame(offset, size))
        return;
    for (int i = 0; i < size && i < 8; ++i)
        frame.bytes[size_t(offset) + size_t(i)] = quint8(value >> (8 * i));
}

quint64 FrameNumber(const DeviceFrame &frame, int offset, int size)
{
    if (!InFrame(offset, size))
        return 0;
    quint64 value = 0;
    for (int i = 0; i < size && i < 8; ++i)
        value |= quint64(frame.bytes[size_t(offset) + size_t(i)]) << (8 * i);
    return value;
}
