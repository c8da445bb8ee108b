#include "emulatorengine.h"

#include "wholefile.h"

#include <QFile>

#include <algorithm>

namespace
{

constexpr char kStart0 = 0x17;
constexpr char kStart1 = 0x02;
constexpr char kEndMarker = 0x19;

constexpr int kGoodsRequestLength = 51;
constexpr int kGoodsAnswerLength = 46;
constexpr int kFieldRequestLength = 40;
constexpr int kFieldAnswerLength = 36;
constexpr int kStatusRequestLength = 11;
constexpr int kStatusAnswerLength = 31;
constexpr int kClearRequestLength = 11;
constexpr int kClearAnswerLength = 7;

// The tables the program uses: table, row, number of fields (numbered from 0).
struct TTableRows {
    int table;
    int firstRow;
    int lastRow;
    int fieldCount;
};
constexpr TTableRows kTableRows[] = {
    {0, 1, 6, 5},  // operators
    {2, 1, 8, 2},  // payment-item groups
    {4, 1, 1, 21}, // cliche lines
    {5, 1, 2, 1},  // GSM parameters
    {5, 3, 3, 3},  //   row 3 holds three fields
    {5, 4, 7, 1},  //
    {6, 1, 5, 1},  // agent parameters
    {6, 6, 6, 4},  //   address, four lines
    {6, 7, 7, 2},  //   name, two lines
    {6, 8, 8, 1},  //   operation
};

constexpr int CountFields()
{
    int n = 0;
    for (const TTableRows &t : kTableRows)
        n += (t.lastRow - t.firstRow + 1) * t.fieldCount;
    return n;
}
constexpr int kFieldCount = CountFields();

// State file: magic, device number (4 bytes), every item (37 bytes), every field (25 bytes).
const QByteArray kStateMagic = QByteArrayLiteral("KKTEMU1\n");
constexpr int kItemRecordSize = 1 + kEmulatorTextSize + 6 + 5 + 1;
constexpr int kFieldRecordSize = 1 + kEmulatorTextSize;

quint8 ByteAt(const QByteArray &data, qsizetype offset)
{
    return offset >= 0 && offset < data.size() ? quint8(data[offset]) : 0;
}

quint64 ReadLe(const QByteArray &data, qsizetype offset, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | ByteAt(data, offset + i);
    return value;
}

void WriteLe(QByteArray &data, qsizetype offset, int size, quint64 value)
{
    for (int i = 0; i < size; ++i, value >>= 8)
        if (offset + i < data.size())
            data[offset + i] = char(value & 0xFF);
}

QByteArray Text24(const QByteArray &text)
{
    QByteArray out = text.left(kEmulatorTextSize);
    out.append(kEmulatorTextSize - out.size(), '\0');
    return out;
}

void SetChecksum(QByteArray &frame)
{
    if (frame.size() >= 2)
        WriteLe(frame, frame.size() - 2, 2, TEmulatorEngine::Checksum(frame));
}

int RequestLengthOf(char letter)
{
    switch (letter) {
    case 'T':
        return kGoodsRequestLength;
    case 'p':
        return kFieldRequestLength;
    case 'u':
        return kStatusRequestLength;
    case 'c':
        return kClearRequestLength;
    default:
        return -1;
    }
}

int AnswerLengthOf(char letter)
{
    switch (letter) {
    case 'T':
        return kGoodsAnswerLength;
    case 'p':
        return kFieldAnswerLength;
    case 'u':
        return kStatusAnswerLength;
    default:
        return kClearAnswerLength;
    }
}

TEmulatorItem NormalItem(TEmulatorItem item)
{
    item.name = Text24(item.name);
    item.barcode &= 0xFFFFFFFFFFFFULL;
    item.price &= 0xFFFFFFFFFFULL;
    return item;
}

} // namespace

TEmulatorEngine::TEmulatorEngine(quint32 deviceNumber)
    : deviceNumber(deviceNumber), items(kEmulatorGoodsCount), fields(kFieldCount)
{
}

quint16 TEmulatorEngine::Checksum(const QByteArray &frame)
{
    quint16 sum = 0;
    for (qsizetype i = 0; i + 2 < frame.size(); ++i)
        sum = quint16(sum + quint8(frame[i]));
    return sum;
}

int TEmulatorEngine::FieldIndex(int table, int row, int field)
{
    int base = 0;
    for (const TTableRows &t : kTableRows) {
        if (t.table == table && row >= t.firstRow && row <= t.lastRow && field >= 0 &&
            field < t.fieldCount)
            return base + (row - t.firstRow) * t.fieldCount + field;
        base += (t.lastRow - t.firstRow + 1) * t.fieldCount;
    }
    return -1;
}

bool TEmulatorEngine::FieldExists(int table, int row, int field)
{
    return FieldIndex(table, row, field) >= 0;
}

// ---------------------------------------------------------------------------------------------
// Protocol

TEmulatorReply TEmulatorEngine::HandleRequest(const QByteArray &request)
{
    std::lock_guard lock(mutex);
    received.append(request);

    bool statusAtThis = false;
    if (faults.statusAtK > 0 && --faults.statusAtK == 0)
        statusAtThis = true;
    if (faults.silentAlways)
        return {};
    if (faults.silentCount > 0) {
        --faults.silentCount;
        return {};
    }

    std::optional<quint8> forced;
    if (statusAtThis) {
        forced = faults.statusAtValue;
    } else if (faults.busyCount > 0) {
        --faults.busyCount;
        forced = faults.busyStatus;
    }

    TEmulatorReply reply;
    reply.answer = BuildAnswerLocked(request, !forced.has_value(), forced);

    QByteArray &answer = reply.answer;
    if (faults.itemNumber && request.size() > 6 && request.at(6) == 'T' && answer.size() > 5) {
        answer[4] = char(*faults.itemNumber & 0xFF);
        answer[5] = char(*faults.itemNumber >> 8);
        SetChecksum(answer);
    }
    if (faults.corruptCount > 0) {
        --faults.corruptCount;
        const qsizetype n = answer.size();
        std::swap(answer[n - 2], answer[n - 1]);
        if (answer[n - 2] == answer[n - 1]) // swapping equal bytes would change nothing
            answer[n - 2] = char(answer[n - 2] ^ 0xFF);
    }
    if (faults.cutLength >= 0) {
        answer.truncate(faults.cutLength);
        if (faults.cutValidChecksum) {
            answer.append(2, '\0');
            SetChecksum(answer);
        }
        faults.cutLength = -1;
    }
    if (faults.pauseBytes >= 0) {
        reply.pauseAfterBytes = faults.pauseBytes;
        reply.pauseMs = faults.pauseMs;
        faults.pauseBytes = -1;
    }
    if (baud > 0)
        reply.lineDelayUs = (request.size() + answer.size()) * 10LL * 1000000LL / baud;
    return reply;
}

QByteArray TEmulatorEngine::BuildAnswerLocked(const QByteArray &request, bool apply,
                                              std::optional<quint8> forcedStatus)
{
    const char letter = request.size() > 6 ? request[6] : '\0';
    const int requestLength = RequestLengthOf(letter);
    QByteArray answer(AnswerLengthOf(letter), '\0');
    answer[0] = kStart0;
    answer[1] = kStart1;
    answer[2] = letter;
    answer[answer.size() - 3] = kEndMarker;

    const quint32 requestDevice = quint32(ReadLe(request, 2, 4));
    const bool wellFormed =
        requestLength > 0 && request.size() == requestLength && request[0] == kStart0 &&
        request[1] == kStart1 && ByteAt(request, 7) == requestLength &&
        request[requestLength - 3] == kEndMarker &&
        ReadLe(request, requestLength - 2, 2) == Checksum(request) &&
        (requestDevice == 0 || deviceNumber == 0 || requestDevice == deviceNumber);

    quint8 status = wellFormed ? 0 : kEmulatorErrorStatus;
    if (wellFormed) {
        switch (letter) {
        case 'T': {
            const quint8 mode = ByteAt(request, 8);
            const int number = int(ReadLe(request, 9, 2));
            WriteLe(answer, 4, 2, quint64(number));
            if (number < 1 || number > kEmulatorGoodsCount) {
                status = kEmulatorErrorStatus;
                break;
            }
            TEmulatorItem &item = items[number - 1];
            if (mode != 1 && apply) {
                item.font = ByteAt(request, 11);
                item.name = request.mid(12, kEmulatorTextSize);
                item.barcode = ReadLe(request, 36, 6);
                item.price = ReadLe(request, 42, 5);
                item.department = ByteAt(request, 47);
                TouchLocked();
            }
            answer[6] = char(item.font);
            answer.replace(7, kEmulatorTextSize, item.name);
            WriteLe(answer, 31, 6, item.barcode);
            WriteLe(answer, 37, 5, item.price);
            answer[42] = char(item.department);
            break;
        }
        case 'p': {
            const quint8 mode = ByteAt(request, 8);
            answer.replace(4, 4, request.mid(8, 4));
            const int index =
                FieldIndex(ByteAt(request, 9), ByteAt(request, 10), ByteAt(request, 11));
            if (index < 0 || mode > 1) {
                status = kEmulatorErrorStatus;
                break;
            }
            TEmulatorField &field = fields[size_t(index)];
            if (mode == 0 && apply) {
                field.attribute = ByteAt(request, 12);
                field.text = request.mid(13, kEmulatorTextSize);
                TouchLocked();
            }
            answer[8] = char(field.attribute);
            answer.replace(9, kEmulatorTextSize, field.text);
            break;
        }
        case 'u': {
            const TEmulatorStatusValues &v = statusValues;
            const quint8 bytes[] = {v.A, v.B, v.C, v.D};
            for (int i = 0; i < 4; ++i)
                answer[4 + i] = char(bytes[i]);
            WriteLe(answer, 8, 2, v.E);
            const quint8 more[] = {v.F, v.G, v.H, v.I, v.J, v.K};
            for (int i = 0; i < 6; ++i)
                answer[10 + i] = char(more[i]);
            WriteLe(answer, 16, 4, v.L);
            answer[20] = char(v.M);
            answer[21] = char(v.N);
            WriteLe(answer, 22, 6, v.O);
            break;
        }
        case 'c':
            if (apply) {
                std::fill(items.begin(), items.end(), TEmulatorItem());
                TouchLocked();
            }
            break;
        }
    }
    answer[3] = char(forcedStatus.value_or(status));
    SetChecksum(answer);
    return answer;
}

// ---------------------------------------------------------------------------------------------
// Stored state

quint32 TEmulatorEngine::DeviceNumber() const
{
    std::lock_guard lock(mutex);
    return deviceNumber;
}

void TEmulatorEngine::SetDeviceNumber(quint32 number)
{
    std::lock_guard lock(mutex);
    deviceNumber = number;
    TouchLocked();
}

std::optional<TEmulatorItem> TEmulatorEngine::Item(int number) const
{
    std::lock_guard lock(mutex);
    if (number < 1 || number > kEmulatorGoodsCount)
        return std::nullopt;
    return items[size_t(number - 1)];
}

bool TEmulatorEngine::SetItem(int number, const TEmulatorItem &item)
{
    std::lock_guard lock(mutex);
    if (number < 1 || number > kEmulatorGoodsCount)
        return false;
    items[size_t(number - 1)] = NormalItem(item);
    TouchLocked();
    return true;
}

std::optional<TEmulatorField> TEmulatorEngine::Field(int table, int row, int field) const
{
    const int index = FieldIndex(table, row, field);
    std::lock_guard lock(mutex);
    if (index < 0)
        return std::nullopt;
    return fields[size_t(index)];
}

bool TEmulatorEngine::SetField(int table, int row, int field, const TEmulatorField &value)
{
    const int index = FieldIndex(table, row, field);
    std::lock_guard lock(mutex);
    if (index < 0)
        return false;
    fields[size_t(index)] = {value.attribute, Text24(value.text)};
    TouchLocked();
    return true;
}

TEmulatorStatusValues TEmulatorEngine::StatusValues() const
{
    std::lock_guard lock(mutex);
    return statusValues;
}

void TEmulatorEngine::SetStatusValues(const TEmulatorStatusValues &values)
{
    std::lock_guard lock(mutex);
    statusValues = values;
    statusValues.O &= 0xFFFFFFFFFFFFULL;
}

void TEmulatorEngine::ResetMemory()
{
    std::lock_guard lock(mutex);
    std::fill(items.begin(), items.end(), TEmulatorItem());
    std::fill(fields.begin(), fields.end(), TEmulatorField());
    TouchLocked();
}

quint64 TEmulatorEngine::ChangeCount() const
{
    std::lock_guard lock(mutex);
    return changeCount;
}

// ---------------------------------------------------------------------------------------------
// State file

QByteArray TEmulatorEngine::SaveState() const
{
    std::lock_guard lock(mutex);
    QByteArray data = kStateMagic;
    data.reserve(kStateMagic.size() + 4 + kEmulatorGoodsCount * kItemRecordSize +
                 kFieldCount * kFieldRecordSize);
    QByteArray number(4, '\0');
    WriteLe(number, 0, 4, deviceNumber);
    data += number;
    for (const TEmulatorItem &item : items) {
        QByteArray record(kItemRecordSize, '\0');
        record[0] = char(item.font);
        record.replace(1, kEmulatorTextSize, item.name);
        WriteLe(record, 25, 6, item.barcode);
        WriteLe(record, 31, 5, item.price);
        record[36] = char(item.department);
        data += record;
    }
    for (const TEmulatorField &field : fields) {
        data += char(field.attribute);
        data += field.text;
    }
    return data;
}

bool TEmulatorEngine::LoadState(const QByteArray &data, QString *error)
{
    const qsizetype expected = kStateMagic.size() + 4 +
                               qsizetype(kEmulatorGoodsCount) * kItemRecordSize +
                               kFieldCount * kFieldRecordSize;
    if (!data.startsWith(kStateMagic) || data.size() != expected) {
        if (error)
            *error = QStringLiteral("not a register memory file (%1 bytes)").arg(data.size());
        return false;
    }
    std::vector<TEmulatorItem> newItems(kEmulatorGoodsCount);
    std::vector<TEmulatorField> newFields(kFieldCount);
    qsizetype pos = kStateMagic.size();
    const quint32 newNumber = quint32(ReadLe(data, pos, 4));
    pos += 4;
    for (TEmulatorItem &item : newItems) {
        item.font = ByteAt(data, pos);
        item.name = data.mid(pos + 1, kEmulatorTextSize);
        item.barcode = ReadLe(data, pos + 25, 6);
        item.price = ReadLe(data, pos + 31, 5);
        item.department = ByteAt(data, pos + 36);
        pos += kItemRecordSize;
    }
    for (TEmulatorField &field : newFields) {
        field.attribute = ByteAt(data, pos);
        field.text = data.mid(pos + 1, kEmulatorTextSize);
        pos += kFieldRecordSize;
    }
    std::lock_guard lock(mutex);
    deviceNumber = newNumber;
    items = std::move(newItems);
    fields = std::move(newFields);
    TouchLocked();
    return true;
}

bool TEmulatorEngine::SaveStateFile(const QString &path, QString *error) const
{
    return SaveWholeFile(path, SaveState(), error);
}

bool TEmulatorEngine::LoadStateFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return LoadState(file.readAll(), error);
}

// ---------------------------------------------------------------------------------------------
// Request log and faults

QList<QByteArray> TEmulatorEngine::ReceivedRequests() const
{
    std::lock_guard lock(mutex);
    return received;
}

int TEmulatorEngine::ReceivedCount() const
{
    std::lock_guard lock(mutex);
    return int(received.size());
}

void TEmulatorEngine::ClearReceivedRequests()
{
    std::lock_guard lock(mutex);
    received.clear();
}

void TEmulatorEngine::AnswerBusy(quint8 status, int count)
{
    std::lock_guard lock(mutex);
    faults.busyStatus = status;
    faults.busyCount = std::max(count, 0);
}

void TEmulatorEngine::AnswerStatusAt(int k, quint8 status)
{
    std::lock_guard lock(mutex);
    faults.statusAtK = std::max(k, 0);
    faults.statusAtValue = status;
}

void TEmulatorEngine::StaySilent(int count)
{
    std::lock_guard lock(mutex);
    faults.silentCount = std::max(count, 0);
}

void TEmulatorEngine::StaySilentAlways(bool on)
{
    std::lock_guard lock(mutex);
    faults.silentAlways = on;
}

void TEmulatorEngine::CorruptChecksum(int count)
{
    std::lock_guard lock(mutex);
    faults.corruptCount = std::max(count, 0);
}

void TEmulatorEngine::CutNextAnswer(int length, bool validChecksum)
{
    std::lock_guard lock(mutex);
    faults.cutLength = std::max(length, 0);
    faults.cutValidChecksum = validChecksum;
}

void TEmulatorEngine::PauseInNextAnswer(int bytesBefore, int ms)
{
    std::lock_guard lock(mutex);
    faults.pauseBytes = std::max(bytesBefore, 0);
    faults.pauseMs = std::max(ms, 0);
}

void TEmulatorEngine::AnswerItemNumber(quint16 number)
{
    std::lock_guard lock(mutex);
    faults.itemNumber = number;
}

void TEmulatorEngine::SetLineSpeed(int baudRate)
{
    std::lock_guard lock(mutex);
    baud = std::max(baudRate, 0);
}

int TEmulatorEngine::LineSpeed() const
{
    std::lock_guard lock(mutex);
    return baud;
}

void TEmulatorEngine::ClearFaults()
{
    std::lock_guard lock(mutex);
    faults = TFaults();
}
