#pragma once

#include <QtGlobal>

#include <array>

// The request/response buffer of one command. Each command keeps its own and passes it to the
// exchange: the answer is read in place over the request, and bytes beyond the received count
// keep what the request left there.
struct DeviceFrame {
    std::array<quint8, 256> bytes{};
    // Before sending: the request's length. After receiving: the number of bytes received.
    qint32 count = 0;
};

// Request framing: 0x17 0x02, device number (4 bytes), letter, total length, payload, 0x19,
// checksum (2 bytes, low first).
inline constexpr quint8 kFrameStart0 = 0x17;
inline constexpr quint8 kFrameStart1 = 0x02;
inline constexpr quint8 kFrameEndOfData = 0x19;
inline constexpr int kFrameHeaderSize = 8;
inline constexpr int kFrameTrailerSize = 3;
inline constexpr int kAnswerStatusOffset = 3;

// The 16-bit wrapping sum of bytes [0, end) of the frame.
quint16 FrameSum(const DeviceFrame &frame, int end);

// Stores the sum of bytes 0 .. count-3 in bytes count-2 (low) and count-1 (high).
void SetFrameChecksum(DeviceFrame &frame);

// Zero when bytes count-2 and count-1 hold the sum of the bytes before them; otherwise the
// exclusive-or of the two values. A frame of fewer than two bytes cannot carry a checksum and
// never agrees.
quint16 VerifyFrameChecksum(const DeviceFrame &frame);

// Starts a request of the given total length: header, zero payload, end-of-data marker, count
// set to the length. The checksum is set later by the exchange.
void BeginRequest(DeviceFrame &frame, quint32 deviceNumber, char letter, int length);

// Little-endian numbers inside a frame; size is 1 to 8 bytes.
void PutFrameNumber(DeviceFrame &frame, int offset, quint64 value, int size);
quint64 FrameNumber(const DeviceFrame &frame, int offset, int size);
