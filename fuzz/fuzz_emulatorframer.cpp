// The emulator reads whatever the program (or anything else on the line) sends. Arbitrary bytes
// arrive in arbitrary chunks; every complete request the framer cuts out must be answered with
// a frame of its command's answer length that carries a valid checksum.

#include "deviceexchange.h"
#include "devicerequests.h"
#include "emulatorengine.h"
#include "emulatorframer.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

namespace
{

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The answer length the program reads for each command letter; any other letter gets the short
// layout of the clear-goods answer.
int ExpectedAnswerLength(char letter)
{
    switch (letter) {
    case kGoodsItemLetter:
        return kGoodsItemAnswerLength;
    case kTableFieldLetter:
        return kTableFieldAnswerLength;
    case kStatusLetter:
        return kStatusAnswerLength;
    default:
        return kClearGoodsAnswerLength;
    }
}

quint16 StoredChecksum(const QByteArray &frame)
{
    const qsizetype n = frame.size();
    return quint16(quint8(frame[n - 2]) | (quint8(frame[n - 1]) << 8));
}

// Puts the right checksum into a request, so the fuzzer also reaches the commands' own work
// (storing items and fields) and not only the refusals.
void Seal(QByteArray &request)
{
    const quint16 sum = TEmulatorEngine::Checksum(request);
    request[request.size() - 2] = char(sum & 0xFF);
    request[request.size() - 1] = char(sum >> 8);
}

void CheckAnswer(const QByteArray &request, const QByteArray &answer)
{
    const char letter = request[6];
    Check(answer.size() == ExpectedAnswerLength(letter));
    Check(answer[0] == char(kFrameStart0) && answer[1] == char(kFrameStart1));
    Check(answer[2] == letter);
    const quint8 status = quint8(answer[kAnswerStatusOffset]);
    Check(status == kResultSuccess || status == kEmulatorErrorStatus);
    Check(quint8(answer[answer.size() - kFrameTrailerSize]) == kFrameEndOfData);
    Check(StoredChecksum(answer) == TEmulatorEngine::Checksum(answer));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    // One register for the whole run, brought back to its initial memory for every input (a
    // new one would make its 6000 items anew each time).
    static TEmulatorEngine engine;
    engine.ResetMemory();
    engine.ClearReceivedRequests();
    engine.ClearFaults();
    engine.SetDeviceNumber(data.ConsumeBool() ? 0 : data.ConsumeIntegral<quint32>());
    const bool seal = data.ConsumeBool();
    TEmulatorFramer framer;
    int handled = 0;
    while (data.remaining_bytes() > 0) {
        if (data.ConsumeIntegralInRange<int>(0, 15) == 0) {
            framer.Reset(); // a gap on the line
            continue;
        }
        const std::vector<char> chunk =
            data.ConsumeBytes<char>(data.ConsumeIntegralInRange<int>(1, 64));
        framer.Feed(QByteArrayView(chunk.data(), qsizetype(chunk.size())));
        while (std::optional<QByteArray> request = framer.TakeRequest()) {
            // The framer hands out only whole frames that start right and are long enough.
            Check(request->size() >= TEmulatorFramer::kMinFrameLength);
            Check(request->at(0) == char(kFrameStart0) && request->at(1) == char(kFrameStart1));
            Check(request->size() == quint8(request->at(7)));
            if (seal)
                Seal(*request);
            const TEmulatorReply reply = engine.HandleRequest(*request);
            ++handled;
            CheckAnswer(*request, reply.answer);
        }
    }
    Check(engine.ReceivedCount() == handled);
    return 0;
}
