#include "exchangelog.h"

#include "deviceexchange.h"
#include "deviceframe.h"
#include "filefailure.h"
#include "wholefile.h"

#include <QDateTime>
#include <QSaveFile>

#include <algorithm>

namespace
{
// The letter sits after the start bytes and the device number of a request.
constexpr int kLetterOffset = 6;
// An answer belongs to the last request written on its thread.
thread_local char lastLetter = '?';

bool ChecksumAgrees(const QByteArray &bytes)
{
    if (bytes.size() < 2)
        return false;
    quint16 sum = 0;
    for (qsizetype i = 0; i < bytes.size() - 2; ++i)
        sum = quint16(sum + quint8(bytes[i]));
    const quint16 stored =
        quint16(quint8(bytes[bytes.size() - 2]) | quint16(quint8(bytes[bytes.size() - 1])) << 8);
    return sum == stored;
}
} // namespace

namespace
{
// What an answer's status means; the same numbers as the register's statuses 2 and 3 are told
// apart by the frame alone.
enum class TMeaning { NoAnswer, TooShort, BadChecksum, Success, Busy, RegisterError };

TMeaning MeaningOf(const TExchangeRecord &record)
{
    if (record.bytes.isEmpty())
        return TMeaning::NoAnswer;
    if (record.bytes.size() <= kAnswerStatusOffset)
        return TMeaning::TooShort;
    if (!ChecksumAgrees(record.bytes))
        return TMeaning::BadChecksum;
    if (record.status == kResultSuccess)
        return TMeaning::Success;
    if (IsBusyStatus(record.status))
        return TMeaning::Busy;
    return TMeaning::RegisterError;
}
} // namespace

QString ExchangeStatusText(const TExchangeRecord &record)
{
    static const char16_t *const meanings[] = {u"нет ответа",
                                               u"ответ слишком короткий",
                                               u"неверная контрольная сумма",
                                               u"успешно",
                                               u"ККТ занята",
                                               u"ошибка ККТ"};
    return QString::number(record.status) + QStringLiteral(" (") +
           QString::fromUtf16(meanings[int(MeaningOf(record))]) + QLatin1Char(')');
}

QString ExchangeLogLine(const TExchangeRecord &record, TLogDate date)
{
    QString line =
        QDateTime::fromMSecsSinceEpoch(record.msecs)
            .toString(date == TLogDate::With ? u"dd.MM.yyyy HH:mm:ss.zzz" : u"HH:mm:ss.zzz");
    line += record.answer ? u"  ККТ → ПК  " : u"  ПК → ККТ  ";
    line += QLatin1Char(record.letter);
    line += QStringLiteral("  попытка %1").arg(record.attempt, 2);
    if (record.answer)
        line += QStringLiteral("  статус ") + ExchangeStatusText(record);
    if (!record.bytes.isEmpty()) {
        line += u"  ";
        line += QLatin1String(record.bytes.toHex(' ').toUpper());
    }
    return line;
}

quint64 ExchangeLineShape(const TExchangeRecord &record)
{
    quint64 shape = quint64(record.bytes.size());
    shape = shape << 8 | quint8(record.letter);
    shape = shape << 8 | record.attempt;
    if (record.answer)
        shape = (shape << 8 | record.status) << 4 | (quint64(MeaningOf(record)) + 1);
    return shape << 1 | (record.answer ? 1 : 0);
}

TExchangeCapture &TExchangeCapture::Instance()
{
    // Never destroyed: an exchange on another thread may still hold the hook at exit.
    static TExchangeCapture *capture = new TExchangeCapture;
    return *capture;
}

void TExchangeCapture::Start()
{
    {
        const std::lock_guard lock(mutex_);
        started_ = true;
    }
    SetGlobalExchangeHook(&hook_);
}

void TExchangeCapture::Stop()
{
    SetGlobalExchangeHook(nullptr);
    const std::lock_guard lock(mutex_);
    started_ = false;
    std::vector<TExchangeRecord>().swap(pending_);
}

bool TExchangeCapture::Started() const
{
    const std::lock_guard lock(mutex_);
    return started_;
}

std::vector<TExchangeRecord> TExchangeCapture::Take()
{
    std::vector<TExchangeRecord> taken;
    const std::lock_guard lock(mutex_);
    taken.swap(pending_);
    return taken;
}

void TExchangeCapture::Record(const TExchangeEvent &event)
{
    TExchangeRecord record;
    record.msecs = QDateTime::currentMSecsSinceEpoch();
    record.answer = event.answer;
    record.attempt = quint8(std::clamp(event.attempt, 0, 255));
    record.status = event.status;
    if (event.count > 0)
        record.bytes = QByteArray(reinterpret_cast<const char *>(event.bytes), event.count);
    if (!event.answer) {
        const char letter = event.count > kLetterOffset ? char(event.bytes[kLetterOffset]) : '?';
        lastLetter = letter >= '!' && letter <= '~' ? letter : '?';
    }
    record.letter = lastLetter;

    const std::lock_guard lock(mutex_);
    if (!started_)
        return;
    pending_.push_back(std::move(record));
    // Nobody took them for a long while: only the newest would be kept anyway.
    if (pending_.size() >= 2 * std::size_t(kExchangeLogCapacity))
        pending_.erase(pending_.begin(), pending_.end() - kExchangeLogCapacity);
}

TExchangeLogStore::TExchangeLogStore(int capacity) : capacity_(std::max(capacity, 1)) {}

const TExchangeRecord &TExchangeLogStore::At(int row) const
{
    return ring_[std::size_t((head_ + row) % capacity_)];
}

void TExchangeLogStore::Append(std::vector<TExchangeRecord> &&records)
{
    auto first = records.begin();
    if (records.size() > std::size_t(capacity_))
        first = records.end() - capacity_;
    for (auto it = first; it != records.end(); ++it) {
        if (size_ == capacity_)
            DropOldest(1);
        const int slot = (head_ + size_) % capacity_;
        if (std::size_t(slot) == ring_.size())
            ring_.push_back(std::move(*it));
        else
            ring_[std::size_t(slot)] = std::move(*it);
        ++size_;
    }
}

void TExchangeLogStore::DropOldest(int count)
{
    count = std::clamp(count, 0, size_);
    head_ = (head_ + count) % capacity_;
    size_ -= count;
}

void TExchangeLogStore::Clear()
{
    std::vector<TExchangeRecord>().swap(ring_);
    head_ = 0;
    size_ = 0;
}

bool SaveExchangeLog(const QString &path, const TExchangeLogStore &store, QString *errorText)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(store.Size()) * 210);
    for (int row = 0; row < store.Size(); ++row) {
        bytes += ExchangeLogLine(store.At(row), TLogDate::With).toUtf8();
        bytes += "\r\n";
    }
    return SaveWholeFile(path, bytes, errorText);
}
