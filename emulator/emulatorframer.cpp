#include "emulatorframer.h"

namespace
{
constexpr char kStart0 = 0x17;
constexpr char kStart1 = 0x02;
constexpr int kLengthOffset = 7;
} // namespace

void TEmulatorFramer::Feed(QByteArrayView bytes)
{
    buffer.append(bytes);
}

// Drops everything before the first 0x17 0x02 whose length byte (once it has arrived) is at
// least the shortest frame. A lone 0x17 at the very end is kept: its 0x02 may still come.
void TEmulatorFramer::SkipToStart()
{
    qsizetype pos = 0;
    while (pos < buffer.size()) {
        if (buffer[pos] != kStart0) {
            ++pos;
            continue;
        }
        if (pos + 1 >= buffer.size())
            break;
        if (buffer[pos + 1] != kStart1) {
            ++pos;
            continue;
        }
        if (pos + kLengthOffset < buffer.size() &&
            quint8(buffer[pos + kLengthOffset]) < kMinFrameLength) {
            ++pos;
            continue;
        }
        break;
    }
    buffer.remove(0, pos);
}

std::optional<QByteArray> TEmulatorFramer::TakeRequest()
{
    SkipToStart();
    if (buffer.size() <= kLengthOffset)
        return std::nullopt;
    const int length = quint8(buffer[kLengthOffset]);
    if (buffer.size() < length)
        return std::nullopt;
    QByteArray request = buffer.left(length);
    buffer.remove(0, length);
    return request;
}
