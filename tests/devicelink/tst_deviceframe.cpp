#include "deviceexchange.h"
#include "deviceframe.h"
#include "devicerequests.h"

#include <QTest>

#include <cstring>

namespace
{

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

QByteArray Bytes(const DeviceFrame &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.bytes.data()), frame.count);
}

DeviceFrame FrameOf(const QByteArray &bytes)
{
    DeviceFrame frame;
    std::memcpy(frame.bytes.data(), bytes.constData(), size_t(bytes.size()));
    frame.count = int(bytes.size());
    return frame;
}

// An answer of the given bytes with their checksum appended.
QByteArray WithSum(QByteArray body)
{
    quint16 sum = 0;
    for (char b : body)
        sum = quint16(sum + quint8(b));
    body.append(char(sum & 0xFF));
    body.append(char(sum >> 8));
    return body;
}

// A line that hands out scripted answers, one per read, and records what was written.
class TScriptedTransport : public TDeviceTransport
{
public:
    QList<QByteArray> answers; // an empty answer means silence
    QList<QByteArray> written;
    QList<int> asked;
    int purges = 0;

    void Purge() override { ++purges; }
    void Write(const quint8 *data, int count) override
    {
        written.append(QByteArray(reinterpret_cast<const char *>(data), count));
    }
    int Read(quint8 *data, int count) override
    {
        asked.append(count);
        if (answers.isEmpty())
            return 0;
        const QByteArray answer = answers.takeFirst().left(count);
        std::memcpy(data, answer.constData(), size_t(answer.size()));
        return int(answer.size());
    }
};

} // namespace

// Frames, checksum and request layouts byte by byte, and the exchange with its repeat rule over
// a scripted line.
class TestDeviceFrame : public QObject
{
    Q_OBJECT

private slots:
    void requests_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");
        DeviceFrame f;
        BuildStatusRequest(f, 1);
        QTest::newRow("status device 1") << Bytes(f) << Hex("17020100000075 0b 19 b300");
        BuildClearGoodsRequest(f, 1);
        QTest::newRow("clear goods device 1") << Bytes(f) << Hex("17020100000063 0b 19 a100");
        BuildStatusRequest(f, 300);
        QTest::newRow("device 300") << Bytes(f) << Hex("17022c01000075 0b 19 df00");

        TGoodsItemWire item;
        QVERIFY(PrepareGoodsItemWrite(3, '0', QStringLiteral("кофе"),
                                      QStringLiteral("4600000000000"), QStringLiteral("-1"), 2,
                                      item));
        BuildGoodsItemRequest(f, 1, 0, item);
        QTest::newRow("goods write")
            << Bytes(f)
            << Hex("1702010000005433 00 0300 30 6b6f6665 0000000000000000000000000000000000000000"
                   "00b05d052f04 ffffffffff 02 19 d408");
        BuildGoodsItemRequest(f, 1, 1, TGoodsItemWire{6000, '1', "ABC", 7, 8, 9});
        QTest::newRow("goods read sends only the number")
            << Bytes(f)
            << Hex("1702010000005433 01 7017 00 000000000000000000000000000000000000000000000000"
                   "000000000000 0000000000 00 19 4201");
        BuildTableFieldRequest(f, 300, 0, 5, 1, 2, '1', "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        QTest::newRow("field write cut to 24 bytes")
            << Bytes(f)
            << Hex("17022c0100007028 00 050102 31 4142434445464748494a4b4c4d4e4f5051525354555657"
                   "58 19 5c08");
        BuildTableFieldRequest(f, 1, 1, 2, 8, 0, '0', "IGNORED");
        QTest::newRow("field read sends no text")
            << Bytes(f)
            << Hex("1702010000007028 01 020800 30 000000000000000000000000000000000000000000000000"
                   " 19 0601");
    }
    void requests()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        // The checksum is the exchange's last step before sending.
        DeviceFrame f = FrameOf(built);
        SetFrameChecksum(f);
        QCOMPARE(Bytes(f).toHex(' '), expected.toHex(' '));
        QCOMPARE(VerifyFrameChecksum(f), quint16(0));
    }

    void checksum()
    {
        DeviceFrame f = FrameOf(Hex("17020100000075 0b 19 b300"));
        QCOMPARE(FrameSum(f, 9), quint16(0x00B3));
        QCOMPARE(VerifyFrameChecksum(f), quint16(0));
        f = FrameOf(Hex("17020100000075 0b 19 00b3"));
        QCOMPARE(VerifyFrameChecksum(f), quint16(0xB3B3));
        // The sum wraps at 16 bits: 300 bytes of 0xFF would not fit the frame, 256 do.
        f = FrameOf(QByteArray(256, char(0xFF)));
        QCOMPARE(FrameSum(f, 254), quint16((254 * 255) & 0xFFFF));
        f = FrameOf(Hex("05"));
        QVERIFY(VerifyFrameChecksum(f) != 0);
        f = FrameOf(QByteArray());
        QVERIFY(VerifyFrameChecksum(f) != 0);
    }

    void parseNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("barcodeOk");
        QTest::addColumn<bool>("priceOk");
        QTest::newRow("13 digits") << "4600000000000" << true << false;
        QTest::newRow("minus one") << "-1" << true << true;
        QTest::newRow("int32 max") << "2147483647" << true << true;
        QTest::newRow("int32 max + 1") << "2147483648" << true << false;
        QTest::newRow("int32 min") << "-2147483648" << true << true;
        QTest::newRow("int64 max") << "9223372036854775807" << true << false;
        QTest::newRow("int64 max + 1") << "9223372036854775808" << false << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("fraction") << "12.05" << false << false;
        QTest::newRow("letters") << "12a" << false << false;
        QTest::newRow("hex") << "0x10" << false << false;
    }
    void parseNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, barcodeOk);
        QFETCH(bool, priceOk);
        qint64 barcode = 0;
        qint32 price = 0;
        QCOMPARE(ParseBarcode(text, barcode), barcodeOk);
        QCOMPARE(ParsePrice(text, price), priceOk);
        TGoodsItemWire wire;
        QCOMPARE(PrepareGoodsItemWrite(1, '0', "A", text, "1", 0, wire), barcodeOk);
        QCOMPARE(PrepareGoodsItemWrite(1, '0', "A", "1", text, 0, wire), priceOk);
    }

    void goodsAnswer()
    {
        // 0x17 0x02 'T', status 0, item 6000, font '1', ЧЕК 5, barcode 4600000000000, price -1.
        const QByteArray answer =
            WithSum(Hex("170254 00 7017 31 7e656b2035 00000000000000000000000000000000000000"
                        "00b05d052f04 ffffffffff 07 19"));
        QCOMPARE(answer.size(), 46);
        const TGoodsItemAnswer a = DecodeGoodsItemAnswer(FrameOf(answer));
        QCOMPARE(a.itemNumber, quint16(6000));
        QCOMPARE(a.fontType, quint8('1'));
        QCOMPARE(a.name, QStringLiteral("ЧЕК 5"));
        QCOMPARE(a.barcode, QStringLiteral("4600000000000"));
        QCOMPARE(a.price, QStringLiteral("1099511627775"));
        QCOMPARE(a.department, quint8(7));
    }

    void statusAnswer()
    {
        const QByteArray answer =
            WithSum(Hex("170275 00 01020304 0501 060708090a0b 0f0e0d0c 1011 171615141312 19"));
        QCOMPARE(answer.size(), 31);
        const TDeviceStatus s = DecodeStatusAnswer(FrameOf(answer));
        QCOMPARE(s.A, quint8(1));
        QCOMPARE(s.D, quint8(4));
        QCOMPARE(s.E, quint16(0x0105));
        QCOMPARE(s.F, quint8(6));
        QCOMPARE(s.K, quint8(11));
        QCOMPARE(s.L, quint32(0x0C0D0E0F));
        QCOMPARE(s.M, quint8(16));
        QCOMPARE(s.N, quint8(17));
        QCOMPARE(s.O, quint64(0x121314151617ULL));
    }

    void fieldAnswer()
    {
        const QByteArray answer =
            WithSum(Hex("170270 00 05010200 31 6b6f6665 00000000000000000000000000000000000000"
                        "00 19"));
        QCOMPARE(answer.size(), 36);
        quint8 attribute = 0;
        QString text;
        DecodeTableFieldAnswer(FrameOf(answer), attribute, text);
        QCOMPARE(attribute, quint8('1'));
        QCOMPARE(text, QStringLiteral("КОФЕ"));
    }

    // The exchange over scripted answers: result, number of requests, answers seen.
    void exchange_data()
    {
        QTest::addColumn<QList<QByteArray>>("answers");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("answersSeen");
        const QByteArray ok = WithSum(Hex("170263 00 19"));
        const QByteArray busy21 = WithSum(Hex("170263 15 19"));
        const QByteArray busy20 = WithSum(Hex("170263 14 19"));
        const QByteArray busy22 = WithSum(Hex("170263 16 19"));
        QTest::newRow("success") << QList<QByteArray>{ok} << 0 << true << 1 << 1;
        QTest::newRow("silence") << QList<QByteArray>{} << 2 << false << 1 << 0;
        QTest::newRow("ten busy") << QList<QByteArray>(12, busy21) << 21 << true << 10 << 10;
        QTest::newRow("ok on the third")
            << QList<QByteArray>{busy20, busy22, ok, ok} << 0 << true << 3 << 3;
        QTest::newRow("busy then silence")
            << QList<QByteArray>{busy21, QByteArray()} << 2 << false << 2 << 1;
        QTest::newRow("swapped checksum")
            << QList<QByteArray>{Hex("1702630019 0095"), ok} << 3 << false << 1 << 0;
        QTest::newRow("device error status")
            << QList<QByteArray>{WithSum(Hex("170263 7f 19")), ok} << 0x7F << true << 1 << 1;
        // Five bytes whose last two are the sum of the three before: byte 3 is the result.
        QTest::newRow("short answer")
            << QList<QByteArray>{Hex("0a0b0c2100")} << 0x21 << true << 1 << 1;
        QTest::newRow("one byte") << QList<QByteArray>{Hex("00")} << 3 << false << 1 << 0;
        // Two zero bytes agree with their empty sum but carry no status of their own.
        QTest::newRow("two bytes") << QList<QByteArray>{Hex("0000")} << 3 << false << 1 << 0;
        QTest::newRow("three bytes") << QList<QByteArray>{Hex("010100")} << 3 << false << 1 << 0;
        QTest::newRow("status 2 is the device's")
            << QList<QByteArray>{WithSum(Hex("170263 02 19"))} << 2 << true << 1 << 1;
    }
    void exchange()
    {
        QFETCH(QList<QByteArray>, answers);
        QFETCH(int, result);
        QFETCH(bool, answered);
        QFETCH(int, requests);
        QFETCH(int, answersSeen);
        TScriptedTransport line;
        line.answers = answers;
        DeviceFrame frame;
        int seen = 0;
        const TExchangeOutcome outcome = RunExchange(
            line, frame, 7, [](DeviceFrame &f) { BuildClearGoodsRequest(f, 1); },
            [&seen](const DeviceFrame &) { ++seen; });
        QCOMPARE(int(outcome.result), result);
        QCOMPARE(outcome.answered, answered);
        QCOMPARE(outcome.attempts, requests);
        QCOMPARE(int(line.written.size()), requests);
        QCOMPARE(line.purges, requests);
        QCOMPARE(seen, answersSeen);
        for (const QByteArray &request : line.written)
            QCOMPARE(request.toHex(' '), Hex("17020100000063 0b 19 a100").toHex(' '));
        for (int asked : line.asked)
            QCOMPARE(asked, 7);
    }

    // A short answer leaves the request's bytes behind it in the frame.
    void shortAnswerKeepsRequestBytes()
    {
        TScriptedTransport line;
        line.answers = {Hex("0a0b0c2100")};
        DeviceFrame frame;
        RunExchange(line, frame, 31, [](DeviceFrame &f) { BuildStatusRequest(f, 1); }, {});
        QCOMPARE(frame.count, 5);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(frame.bytes.data()), 11).toHex(' '),
                 Hex("0a0b0c2100 0075 0b 19 b300").toHex(' '));
    }
};

QTEST_APPLESS_MAIN(TestDeviceFrame)
#include "tst_deviceframe.moc"
