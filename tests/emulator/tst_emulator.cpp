#include "emulatorengine.h"
#include "emulatorframer.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

// The wire values the register's answers must keep, restated here on purpose.
namespace
{

constexpr quint8 kErrorStatus = 0x7F;
constexpr int kGoodsAnswer = 46;
constexpr int kFieldAnswer = 36;
constexpr int kStatusAnswer = 31;
constexpr int kClearAnswer = 7;

quint16 Sum(const QByteArray &bytes, qsizetype count)
{
    quint16 sum = 0;
    for (qsizetype i = 0; i < count; ++i)
        sum = quint16(sum + quint8(bytes[i]));
    return sum;
}

void PutLe(QByteArray &bytes, int offset, int size, quint64 value)
{
    for (int i = 0; i < size; ++i, value >>= 8)
        bytes[offset + i] = char(value & 0xFF);
}

quint64 GetLe(const QByteArray &bytes, int offset, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes[offset + i]);
    return value;
}

// A request as the program builds it: header, payload, 0x19, checksum.
QByteArray Frame(quint32 device, char letter, const QByteArray &payload)
{
    QByteArray frame(8, '\0');
    frame[0] = 0x17;
    frame[1] = 0x02;
    PutLe(frame, 2, 4, device);
    frame[6] = letter;
    frame[7] = char(payload.size() + 11);
    frame += payload;
    frame += char(0x19);
    const quint16 sum = Sum(frame, frame.size());
    frame += char(sum & 0xFF);
    frame += char(sum >> 8);
    return frame;
}

QByteArray Text(const QByteArray &text)
{
    return text + QByteArray(24 - text.size(), '\0');
}

QByteArray ItemRequest(quint32 device, quint8 mode, quint16 number, quint8 font = 0,
                       const QByteArray &name = {}, quint64 barcode = 0, quint64 price = 0,
                       quint8 department = 0)
{
    QByteArray payload(40, '\0');
    payload[0] = char(mode);
    PutLe(payload, 1, 2, number);
    payload[3] = char(font);
    payload.replace(4, 24, Text(name));
    PutLe(payload, 28, 6, barcode);
    PutLe(payload, 34, 5, price);
    payload[39] = char(department);
    return Frame(device, 'T', payload);
}

QByteArray FieldRequest(quint32 device, quint8 mode, int table, int row, int field,
                        quint8 attribute = '0', const QByteArray &text = {})
{
    QByteArray payload(29, '\0');
    payload[0] = char(mode);
    payload[1] = char(table);
    payload[2] = char(row);
    payload[3] = char(field);
    payload[4] = char(attribute);
    payload.replace(5, 24, Text(text));
    return Frame(device, 'p', payload);
}

bool ChecksumOk(const QByteArray &answer)
{
    const qsizetype n = answer.size();
    return n >= 3 && GetLe(answer, int(n - 2), 2) == Sum(answer, n - 2);
}

quint8 StatusOf(const QByteArray &answer)
{
    return answer.size() > 3 ? quint8(answer[3]) : 0xFF;
}

} // namespace

class TestEmulator : public QObject
{
    Q_OBJECT

private slots:
    void requestFixturesMatchTheWire_data();
    void requestFixturesMatchTheWire();
    void statusAnswerCarriesTheValues();
    void clearAnswerIsSevenBytes();
    void itemWriteThenReadBack();
    void fieldWriteThenReadBack_data();
    void fieldWriteThenReadBack();
    void clearGoodsKeepsTheFields();
    void refusedRequests_data();
    void refusedRequests();
    void deviceNumberZeroIsAccepted();
    void busyAnswersStoreNothing();
    void statusAtTheKthRequest();
    void silence();
    void corruptChecksum();
    void cutAnswer();
    void pauseAndLineTime();
    void requestLogKeepsEveryRequest();
    void framerCutsFramesFromAStream();
    void randomBytesNeverBreakTheEngine();
    void stateFileRoundTrip();
    void brokenStateFileIsRefused();
};

void TestEmulator::requestFixturesMatchTheWire_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("status, device 1")
        << Frame(1, 'u', {}) << QByteArray::fromHex("17020100000075 0B19B300");
    QTest::newRow("clear goods, device 1")
        << Frame(1, 'c', {}) << QByteArray::fromHex("1702010000006 30B19A100");
    QTest::newRow("device 300") << Frame(300, 'u', {}).left(6)
                                << QByteArray::fromHex("17022C010000");
}

void TestEmulator::requestFixturesMatchTheWire()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QCOMPARE(frame.toHex(), expected.toHex());
    if (frame.size() >= 11)
        QCOMPARE(TEmulatorEngine::Checksum(frame), quint16(GetLe(frame, 9, 2)));
}

void TestEmulator::statusAnswerCarriesTheValues()
{
    TEmulatorEngine engine(1);
    QCOMPARE(kEmulatorErrorStatus, kErrorStatus);
    const QByteArray answer = engine.Answer(Frame(1, 'u', {}));
    QCOMPARE(answer.size(), kStatusAnswer);
    QCOMPARE(StatusOf(answer), quint8(0));
    QVERIFY(ChecksumOk(answer));
    QCOMPARE(answer.left(3), QByteArray("\x17\x02u"));
    const TEmulatorStatusValues v = engine.StatusValues();
    QCOMPARE(quint8(answer[4]), v.A);
    QCOMPARE(quint8(answer[7]), v.D);
    QCOMPARE(GetLe(answer, 8, 2), v.E);
    QCOMPARE(quint8(answer[15]), v.K);
    QCOMPARE(GetLe(answer, 16, 4), v.L);
    QCOMPARE(quint8(answer[21]), v.N);
    QCOMPARE(GetLe(answer, 22, 6), v.O);
    // Plausible values: none of them zero, so a decoder that drops one is caught.
    for (int offset = 4; offset < 28; ++offset)
        QVERIFY2(answer[offset] != 0, qPrintable(QString::number(offset)));
}

void TestEmulator::clearAnswerIsSevenBytes()
{
    TEmulatorEngine engine(1);
    const QByteArray answer = engine.Answer(Frame(1, 'c', {}));
    QCOMPARE(answer.size(), kClearAnswer);
    QCOMPARE(StatusOf(answer), quint8(0));
    QVERIFY(ChecksumOk(answer));
}

void TestEmulator::itemWriteThenReadBack()
{
    TEmulatorEngine engine(1);
    const QByteArray name = QByteArray::fromHex("6B6F6665"); // КОФЕ in device text
    const quint64 minusOneKopeck = 0xFFFFFFFFFFULL;
    QByteArray answer =
        engine.Answer(ItemRequest(1, 0, 3, '1', name, 4600000000000ULL, minusOneKopeck, 7));
    QCOMPARE(answer.size(), kGoodsAnswer);
    QCOMPARE(StatusOf(answer), quint8(0));
    QVERIFY(ChecksumOk(answer));

    answer = engine.Answer(ItemRequest(1, 1, 3));
    QCOMPARE(answer.size(), kGoodsAnswer);
    QCOMPARE(StatusOf(answer), quint8(0));
    QVERIFY(ChecksumOk(answer));
    QCOMPARE(GetLe(answer, 4, 2), 3u);
    QCOMPARE(quint8(answer[6]), quint8('1'));
    QCOMPARE(answer.mid(7, 24), Text(name));
    QCOMPARE(GetLe(answer, 31, 6), 4600000000000ULL);
    QCOMPARE(GetLe(answer, 37, 5), 1099511627775ULL);
    QCOMPARE(quint8(answer[42]), quint8(7));

    const std::optional<TEmulatorItem> stored = engine.Item(3);
    QVERIFY(stored);
    QCOMPARE(stored->name, Text(name));
    QCOMPARE(stored->price, minusOneKopeck);
    // Any mode but 1 writes; the neighbours stay untouched.
    engine.Answer(ItemRequest(1, 7, 6000, '0', "Z", 1, 2, 3));
    QCOMPARE(engine.Item(6000)->name, Text("Z"));
    QCOMPARE(*engine.Item(4), TEmulatorItem());
}

void TestEmulator::fieldWriteThenReadBack_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("field");
    QTest::newRow("operator 6, INN") << 0 << 6 << 4;
    QTest::newRow("group 8, codes") << 2 << 8 << 1;
    QTest::newRow("cliche line 21") << 4 << 1 << 20;
    QTest::newRow("GSM row 3, field 2") << 5 << 3 << 2;
    QTest::newRow("GSM row 7") << 5 << 7 << 0;
    QTest::newRow("agent line 9") << 6 << 6 << 3;
    QTest::newRow("agent line 11") << 6 << 7 << 1;
    QTest::newRow("agent line 12") << 6 << 8 << 0;
}

void TestEmulator::fieldWriteThenReadBack()
{
    QFETCH(int, table);
    QFETCH(int, row);
    QFETCH(int, field);
    TEmulatorEngine engine(2);
    const QByteArray text = "ABCDEFGHIJKLMNOPQRSTUVWX"; // the full 24 bytes
    QByteArray answer = engine.Answer(FieldRequest(2, 0, table, row, field, '1', text));
    QCOMPARE(answer.size(), kFieldAnswer);
    QCOMPARE(StatusOf(answer), quint8(0));
    QVERIFY(ChecksumOk(answer));

    // A read sends attribute '0'; the answer carries the stored one.
    answer = engine.Answer(FieldRequest(2, 1, table, row, field, '0'));
    QCOMPARE(answer.size(), kFieldAnswer);
    QCOMPARE(StatusOf(answer), quint8(0));
    QVERIFY(ChecksumOk(answer));
    QCOMPARE(quint8(answer[8]), quint8('1'));
    QCOMPARE(answer.mid(9, 24), text);
    QCOMPARE(engine.Field(table, row, field)->text, text);
    QCOMPARE(engine.Field(table, row, field)->attribute, quint8('1'));
}

void TestEmulator::clearGoodsKeepsTheFields()
{
    TEmulatorEngine engine;
    engine.SetItem(1, {'1', "A", 5, 6, 7});
    engine.SetItem(6000, {'0', "B", 1, 1, 1});
    engine.SetField(0, 1, 0, {'1', "KASSIR"});
    QCOMPARE(StatusOf(engine.Answer(Frame(0, 'c', {}))), quint8(0));
    QCOMPARE(*engine.Item(1), TEmulatorItem());
    QCOMPARE(*engine.Item(6000), TEmulatorItem());
    QCOMPARE(engine.Field(0, 1, 0)->text, Text("KASSIR"));
}

void TestEmulator::refusedRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("answerLength");
    QByteArray badSum = Frame(5, 'u', {});
    badSum[9] = char(badSum[9] + 1);
    QByteArray longStatus = Frame(5, 'u', QByteArray(1, '\0')); // 12 bytes, consistent
    QByteArray noMarker = ItemRequest(5, 1, 1);
    noMarker[48] = 0x18;
    noMarker[49] = char(noMarker[49] - 1); // checksum still right
    QTest::newRow("item 0") << ItemRequest(5, 1, 0) << kGoodsAnswer;
    QTest::newRow("item 6001 read") << ItemRequest(5, 1, 6001) << kGoodsAnswer;
    QTest::newRow("item 6001 write") << ItemRequest(5, 0, 6001, '0', "X") << kGoodsAnswer;
    QTest::newRow("unknown table") << FieldRequest(5, 1, 1, 1, 0) << kFieldAnswer;
    QTest::newRow("unknown row") << FieldRequest(5, 0, 0, 7, 0, '0', "X") << kFieldAnswer;
    QTest::newRow("unknown field") << FieldRequest(5, 1, 0, 1, 5) << kFieldAnswer;
    QTest::newRow("GSM row 1 field 1") << FieldRequest(5, 1, 5, 1, 1) << kFieldAnswer;
    QTest::newRow("agent row 9") << FieldRequest(5, 1, 6, 9, 0) << kFieldAnswer;
    QTest::newRow("field mode 2") << FieldRequest(5, 2, 0, 1, 0) << kFieldAnswer;
    QTest::newRow("foreign device") << ItemRequest(6, 0, 1, '0', "X") << kGoodsAnswer;
    QTest::newRow("foreign device, clear") << Frame(6, 'c', {}) << kClearAnswer;
    QTest::newRow("bad checksum") << badSum << kStatusAnswer;
    QTest::newRow("wrong length") << longStatus << kStatusAnswer;
    QTest::newRow("no end marker") << noMarker << kGoodsAnswer;
    QTest::newRow("unknown letter") << Frame(5, 'x', {}) << kClearAnswer;
}

void TestEmulator::refusedRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(int, answerLength);
    TEmulatorEngine engine(5);
    const quint64 changes = engine.ChangeCount();
    const QByteArray answer = engine.Answer(request);
    QCOMPARE(answer.size(), answerLength);
    QCOMPARE(StatusOf(answer), kErrorStatus);
    QVERIFY(ChecksumOk(answer));
    QCOMPARE(engine.ChangeCount(), changes);
    QCOMPARE(*engine.Item(1), TEmulatorItem());
}

void TestEmulator::deviceNumberZeroIsAccepted()
{
    TEmulatorEngine engine(5);
    QCOMPARE(StatusOf(engine.Answer(Frame(0, 'u', {}))), quint8(0));
    QCOMPARE(StatusOf(engine.Answer(Frame(5, 'u', {}))), quint8(0));
    QCOMPARE(StatusOf(engine.Answer(Frame(6, 'u', {}))), kErrorStatus);
    engine.SetDeviceNumber(0);
    QCOMPARE(StatusOf(engine.Answer(Frame(0xFFFFFFFFu, 'u', {}))), quint8(0));
}

void TestEmulator::busyAnswersStoreNothing()
{
    TEmulatorEngine engine;
    engine.SetField(6, 1, 0, {'0', "OLD"});
    engine.AnswerBusy(21, 2);
    const QByteArray write = FieldRequest(0, 0, 6, 1, 0, '1', "NEW");
    for (int i = 0; i < 2; ++i) {
        const QByteArray answer = engine.Answer(write);
        QCOMPARE(StatusOf(answer), quint8(21));
        QVERIFY(ChecksumOk(answer));
        QCOMPARE(answer.size(), kFieldAnswer);
        QCOMPARE(answer.mid(9, 24), Text("OLD")); // what a read would give
        QCOMPARE(engine.Field(6, 1, 0)->text, Text("OLD"));
    }
    QCOMPARE(StatusOf(engine.Answer(write)), quint8(0));
    QCOMPARE(engine.Field(6, 1, 0)->text, Text("NEW"));
}

void TestEmulator::statusAtTheKthRequest()
{
    TEmulatorEngine engine;
    engine.AnswerStatusAt(3, 0x42);
    const QByteArray clear = Frame(0, 'c', {});
    engine.SetItem(1, {'1', "A", 1, 1, 1});
    QCOMPARE(StatusOf(engine.Answer(Frame(0, 'u', {}))), quint8(0));
    QCOMPARE(StatusOf(engine.Answer(Frame(0, 'u', {}))), quint8(0));
    QCOMPARE(StatusOf(engine.Answer(clear)), quint8(0x42));
    QCOMPARE(engine.Item(1)->name, Text("A")); // not carried out
    QCOMPARE(StatusOf(engine.Answer(clear)), quint8(0));
    QCOMPARE(*engine.Item(1), TEmulatorItem());
}

void TestEmulator::silence()
{
    TEmulatorEngine engine;
    const QByteArray status = Frame(0, 'u', {});
    engine.StaySilent(2);
    QVERIFY(engine.Answer(status).isEmpty());
    QVERIFY(engine.Answer(status).isEmpty());
    QCOMPARE(engine.Answer(status).size(), kStatusAnswer);
    engine.StaySilentAlways(true);
    for (int i = 0; i < 20; ++i)
        QVERIFY(engine.Answer(status).isEmpty());
    engine.ClearFaults();
    QCOMPARE(engine.Answer(status).size(), kStatusAnswer);
    QCOMPARE(engine.ReceivedCount(), 24);
}

void TestEmulator::corruptChecksum()
{
    TEmulatorEngine engine;
    const QByteArray request = Frame(0, 'u', {});
    const QByteArray good = engine.Answer(request);
    engine.CorruptChecksum(1);
    const QByteArray bad = engine.Answer(request);
    QCOMPARE(bad.size(), good.size());
    QCOMPARE(bad.left(29), good.left(29));
    QVERIFY(!ChecksumOk(bad));
    QVERIFY(ChecksumOk(engine.Answer(request)));
}

void TestEmulator::cutAnswer()
{
    TEmulatorEngine engine;
    const QByteArray request = ItemRequest(0, 1, 1);
    engine.CutNextAnswer(5, true);
    const QByteArray shortValid = engine.Answer(request);
    QCOMPARE(shortValid.size(), 5 + 2);
    QCOMPARE(StatusOf(shortValid), quint8(0));
    QVERIFY(ChecksumOk(shortValid));

    engine.CutNextAnswer(20, false);
    const QByteArray shortBroken = engine.Answer(request);
    QCOMPARE(shortBroken.size(), 20);
    QVERIFY(!ChecksumOk(shortBroken));
    QCOMPARE(engine.Answer(request).size(), kGoodsAnswer); // only the next answer
}

void TestEmulator::pauseAndLineTime()
{
    TEmulatorEngine engine;
    const QByteArray request = Frame(0, 'u', {});
    engine.PauseInNextAnswer(10, 250);
    TEmulatorReply reply = engine.HandleRequest(request);
    QCOMPARE(reply.pauseAfterBytes, 10);
    QCOMPARE(reply.pauseMs, 250);
    QCOMPARE(reply.lineDelayUs, 0);
    reply = engine.HandleRequest(request);
    QCOMPARE(reply.pauseAfterBytes, -1);

    engine.SetLineSpeed(9600);
    reply = engine.HandleRequest(request);
    QCOMPARE(reply.lineDelayUs, (11 + 31) * 10 * 1000000LL / 9600);
    engine.StaySilent(1);
    QCOMPARE(engine.HandleRequest(request).lineDelayUs, 0); // nothing to wait for
    engine.ClearFaults();
    QCOMPARE(engine.LineSpeed(), 9600);
}

void TestEmulator::requestLogKeepsEveryRequest()
{
    TEmulatorEngine engine;
    const QByteArray write = FieldRequest(0, 0, 0, 1, 1, '1', "IVANOV");
    engine.AnswerBusy(20, 1);
    engine.Answer(write);
    engine.Answer(write);
    QCOMPARE(engine.ReceivedRequests(), (QList<QByteArray>{write, write}));
    engine.ClearReceivedRequests();
    QCOMPARE(engine.ReceivedCount(), 0);
}

void TestEmulator::framerCutsFramesFromAStream()
{
    TEmulatorFramer framer;
    const QByteArray status = Frame(1, 'u', {});
    const QByteArray item = ItemRequest(1, 1, 2);
    // Junk, a start with a length below 11, then two frames, the second in pieces.
    framer.Feed(QByteArray::fromHex("00FF17") + QByteArray::fromHex("17020100000075 0A"));
    QVERIFY(!framer.TakeRequest());
    framer.Feed(status + item.left(30));
    QCOMPARE(framer.TakeRequest().value_or(QByteArray()), status);
    QVERIFY(!framer.TakeRequest());
    QVERIFY(framer.HasPartial());
    framer.Feed(item.mid(30));
    QCOMPARE(framer.TakeRequest().value_or(QByteArray()), item);
    QVERIFY(!framer.HasPartial());
    framer.Feed(item.left(10));
    framer.Reset();
    framer.Feed(status);
    QCOMPARE(framer.TakeRequest().value_or(QByteArray()), status);
}

void TestEmulator::randomBytesNeverBreakTheEngine()
{
    QRandomGenerator random(20260101);
    TEmulatorEngine engine;
    TEmulatorFramer framer;
    const char letters[] = {'T', 'p', 'u', 'c', 'x'};
    int answered = 0;
    for (int i = 0; i < 5000; ++i) {
        QByteArray bytes(int(random.bounded(1, 80)), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        if (i % 2 == 0 && bytes.size() > 8) { // a plausible header, random rest
            bytes[0] = 0x17;
            bytes[1] = 0x02;
            bytes[6] = letters[random.bounded(5)];
        }
        const QByteArray direct = engine.Answer(bytes);
        QVERIFY(direct.size() >= kClearAnswer);
        QVERIFY(ChecksumOk(direct));
        framer.Feed(bytes);
        while (const std::optional<QByteArray> request = framer.TakeRequest()) {
            QCOMPARE(quint8(request->at(7)), quint8(request->size()));
            QVERIFY(ChecksumOk(engine.Answer(*request)));
            ++answered;
        }
    }
    QVERIFY(answered > 0);
}

void TestEmulator::stateFileRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("register.state");
    TEmulatorEngine engine(42);
    engine.SetItem(1, {'1', "FIRST", 4600000000000ULL, 0xFFFFFFFFFFULL, 255});
    engine.SetItem(6000, {'0', QByteArray(24, 'Z'), 1, 2, 3});
    engine.SetField(6, 8, 0, {'1', "AGENT"});
    engine.SetField(0, 1, 3, {'0', "0000"});
    QString error;
    QVERIFY2(engine.SaveStateFile(path, &error), qPrintable(error));

    TEmulatorEngine loaded;
    QVERIFY2(loaded.LoadStateFile(path, &error), qPrintable(error));
    QCOMPARE(loaded.DeviceNumber(), 42u);
    QCOMPARE(*loaded.Item(1), *engine.Item(1));
    QCOMPARE(*loaded.Item(6000), *engine.Item(6000));
    QCOMPARE(*loaded.Item(2), TEmulatorItem());
    QCOMPARE(*loaded.Field(6, 8, 0), *engine.Field(6, 8, 0));
    QCOMPARE(*loaded.Field(0, 1, 3), *engine.Field(0, 1, 3));
    QCOMPARE(loaded.SaveState(), engine.SaveState());
}

void TestEmulator::brokenStateFileIsRefused()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TEmulatorEngine source(3);
    source.SetItem(5, {'1', "KEEP", 1, 1, 1});
    const QByteArray good = source.SaveState();

    TEmulatorEngine engine(9);
    engine.SetItem(7, {'0', "MINE", 2, 2, 2});
    const QByteArray before = engine.SaveState();
    QString error;
    QVERIFY(!engine.LoadState(good.left(good.size() - 1), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!engine.LoadState(QByteArray("X") + good.mid(1), &error));
    QVERIFY(!engine.LoadState({}, &error));
    QVERIFY(!engine.LoadStateFile(dir.filePath("missing"), &error));
    QCOMPARE(engine.SaveState(), before);
    QVERIFY(!engine.SaveStateFile(dir.filePath("no/such/folder/state"), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestEmulator)
#include "tst_emulator.moc"
