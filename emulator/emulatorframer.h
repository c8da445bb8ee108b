#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Cuts complete request frames out of the byte stream a register receives. A frame starts with
// 0x17 0x02 and is complete when as many bytes as its length byte (offset 7) says have arrived.
// Bytes before a start are skipped; a start whose length byte is below 11 is not a frame and is
// skipped too. Junk is dropped whenever a request is taken.
class TEmulatorFramer
{
public:
    static constexpr int kMinFrameLength = 11;

    void Feed(QByteArrayView bytes);
    // The next complete request, if one has arrived.
    std::optional<QByteArray> TakeRequest();
    // Whether some bytes of an unfinished frame are waiting.
    bool HasPartial() const { return !buffer.isEmpty(); }
    // Forgets an unfinished frame (the serving side does so after a gap in the input, so a
    // broken frame cannot swallow the next request).
    void Reset() { buffer.clear(); }

private:
    void SkipToStart();

    QByteArray buffer;
};
