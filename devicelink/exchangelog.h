#pragma once

#include "exchangehook.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <mutex>
#include <vector>

// The exchange log without widgets: what one request or answer leaves in it, its line of text,
// the capture that takes events from the exchange hook, and the bounded store of lines.

// The log keeps at most this many lines; older ones drop.
inline constexpr int kExchangeLogCapacity = 100000;

// One request written or one answer (or its absence), as it came from the hook. Kept raw: the
// text is made only for the lines shown, copied or saved.
struct TExchangeRecord {
    qint64 msecs = 0; // local time of the event, ms since the epoch
    QByteArray bytes; // the frame as it went or came; empty when no answer came
    bool answer = false;
    char letter = '?'; // the command letter of the request (an answer: of its request)
    quint8 attempt = 1;
    quint8 status = 0; // answers: the exchange's result for it
};

// "2 (нет ответа)", "0 (успешно)", ...: an answer's status with its meaning. The frame tells a
// local result from the register's status of the same number.
QString ExchangeStatusText(const TExchangeRecord &record);
// The line of one record: time with milliseconds, direction, letter, attempt, for answers the
// status, then the frame in hex. The saved log puts the date before the time.
enum class TLogDate { Without, With };
QString ExchangeLogLine(const TExchangeRecord &record, TLogDate date = TLogDate::Without);
// Records of one shape give lines of one width in a font whose digits are all equally wide:
// the same direction, letter, attempt, status meaning and frame length. A window measures a
// line of each shape once instead of every line.
quint64 ExchangeLineShape(const TExchangeRecord &record);

// Takes the events of every exchange of the program through the global hook while started and
// keeps them until the window takes them. Events of any thread may come in; the hook only copies
// the frame under a lock. The capture itself lives as long as the program, so an exchange that
// picked up the hook just before Stop() still calls into a live object.
class TExchangeCapture
{
public:
    static TExchangeCapture &Instance();

    // Sets the global hook; events from now on are kept.
    void Start();
    // Unsets the hook and forgets what was not taken.
    void Stop();
    bool Started() const;
    // The events since the last call, oldest first; at most kExchangeLogCapacity of them.
    std::vector<TExchangeRecord> Take();

private:
    TExchangeCapture() = default;
    void Record(const TExchangeEvent &event);

    mutable std::mutex mutex_;
    std::vector<TExchangeRecord> pending_;
    bool started_ = false;
    TExchangeHook hook_ = [this](const TExchangeEvent &event) { Record(event); };
};

// The last lines of the log in a ring: appending past the capacity drops the oldest.
class TExchangeLogStore
{
public:
    explicit TExchangeLogStore(int capacity = kExchangeLogCapacity);

    int Capacity() const { return capacity_; }
    int Size() const { return size_; }
    // Row 0 is the oldest kept record.
    const TExchangeRecord &At(int row) const;
    void Append(std::vector<TExchangeRecord> &&records);
    // Forgets the count oldest rows.
    void DropOldest(int count);
    void Clear();

private:
    int capacity_;
    // Rows lie in slots head_, head_ + 1, ... (wrapping); the ring grows until full.
    int head_ = 0;
    int size_ = 0;
    std::vector<TExchangeRecord> ring_;
};

// Writes the lines of the store whole ("\r\n" after each, UTF-8): a failed save leaves an older
// file as it was. False with the reason in errorText.
bool SaveExchangeLog(const QString &path, const TExchangeLogStore &store, QString *errorText);
