// Register answers are outside input: any bytes may come back over the line. This target feeds
// them to the checksum check and the answer decoders of the four commands, and drives the
// exchange loop with a line that returns fuzzed answers.

#include "deviceexchange.h"
#include "deviceframe.h"
#include "devicerequests.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// A line whose every read hands back the next scripted answer (possibly none).
class TScriptedTransport : public TDeviceTransport
{
public:
    explicit TScriptedTransport(FuzzedDataProvider &data) : data(data) {}

    void Purge() override { ++purges; }
    void Write(const quint8 *, int count) override
    {
        ++writes;
        lastWriteCount = count;
    }
    int Read(quint8 *bytes, int count) override
    {
        const std::vector<quint8> answer =
            data.ConsumeBytes<quint8>(data.ConsumeIntegralInRange<int>(0, 260));
        const int n = std::min(int(answer.size()), count);
        std::copy_n(answer.begin(), n, bytes);
        return n;
    }

    int purges = 0;
    int writes = 0;
    int lastWriteCount = -1;

private:
    FuzzedDataProvider &data;
};

void DecodeEverything(const DeviceFrame &frame)
{
    (void)VerifyFrameChecksum(frame);
    const TGoodsItemAnswer goods = DecodeGoodsItemAnswer(frame);
    Check(goods.name.size() <= kDeviceTextSize);
    quint8 attribute = 0;
    QString text;
    DecodeTableFieldAnswer(frame, attribute, text);
    Check(text.size() <= kDeviceTextSize);
    (void)DecodeStatusAnswer(frame);
}

// One frame of arbitrary bytes with an arbitrary received count, out-of-range counts included.
void FuzzDecoders(FuzzedDataProvider &data)
{
    DeviceFrame frame;
    frame.count = data.ConsumeIntegralInRange<qint32>(-4, int(frame.bytes.size()) + 4);
    const std::vector<quint8> bytes = data.ConsumeBytes<quint8>(frame.bytes.size());
    std::copy(bytes.begin(), bytes.end(), frame.bytes.begin());
    DecodeEverything(frame);
    // A frame whose checksum was just set always passes the check.
    if (frame.count >= 2 && frame.count <= int(frame.bytes.size())) {
        DeviceFrame sealed = frame;
        SetFrameChecksum(sealed);
        Check(VerifyFrameChecksum(sealed) == 0);
    }
    (void)FrameNumber(frame, data.ConsumeIntegralInRange<int>(-10, 300),
                      data.ConsumeIntegralInRange<int>(-2, 10));
}

// The exchange of one of the four commands over a line that answers with fuzzed bytes.
void FuzzExchange(FuzzedDataProvider &data)
{
    DeviceFrame frame;
    const quint32 device = data.ConsumeIntegral<quint32>();
    int answerLength = 0;
    std::function<void(DeviceFrame &)> build;
    std::function<void(const DeviceFrame &)> onAnswer = DecodeEverything;
    int requestLength = 0;
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: {
        TGoodsItemWire item;
        item.itemNumber = data.ConsumeIntegral<quint16>();
        item.name = QByteArray(kDeviceTextSize, 'A');
        const quint8 mode = data.ConsumeBool() ? kGoodsItemReadMode : 0;
        build = [=](DeviceFrame &f) { BuildGoodsItemRequest(f, device, mode, item); };
        answerLength = kGoodsItemAnswerLength;
        requestLength = kGoodsItemRequestLength;
        break;
    }
    case 1: {
        const quint8 mode = data.ConsumeBool() ? kTableFieldReadMode : kTableFieldWriteMode;
        const quint8 table = data.ConsumeIntegral<quint8>();
        build = [=](DeviceFrame &f) {
            BuildTableFieldRequest(f, device, mode, table, 1, 1, '0', QByteArray("TEXT"));
        };
        answerLength = kTableFieldAnswerLength;
        requestLength = kTableFieldRequestLength;
        break;
    }
    case 2:
        build = [=](DeviceFrame &f) { BuildStatusRequest(f, device); };
        answerLength = kStatusAnswerLength;
        requestLength = kStatusRequestLength;
        break;
    default:
        build = [=](DeviceFrame &f) { BuildClearGoodsRequest(f, device); };
        answerLength = kClearGoodsAnswerLength;
        requestLength = kClearGoodsRequestLength;
        break;
    }

    TScriptedTransport line(data);
    const TExchangeOutcome outcome = RunExchange(line, frame, answerLength, build, onAnswer);

    Check(outcome.attempts >= 1 && outcome.attempts <= kMaxAttempts);
    Check(line.writes == outcome.attempts && line.purges == outcome.attempts);
    Check(line.lastWriteCount == requestLength);
    Check(frame.count >= 0 && frame.count <= answerLength);
    if (outcome.answered) {
        // Only an answer that passed the checksum and holds a status byte is the register's word.
        Check(frame.count > kAnswerStatusOffset && VerifyFrameChecksum(frame) == 0);
        Check(outcome.result == frame.bytes[kAnswerStatusOffset]);
        // A busy status is repeated until the attempts run out.
        Check(!IsBusyStatus(outcome.result) || outcome.attempts == kMaxAttempts);
    } else {
        Check(outcome.result == kResultNoAnswer || outcome.result == kResultBadChecksum);
        Check((outcome.result == kResultNoAnswer) == (frame.count == 0));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool())
        FuzzDecoders(data);
    else
        FuzzExchange(data);
    return 0;
}
