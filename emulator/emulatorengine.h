#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <mutex>
#include <optional>
#include <vector>

// The cash register emulator's protocol engine: complete request frames in, answer frames out,
// with no I/O of its own. It holds what a register holds (goods items, the table fields the
// program uses, the status values, the device number) and can be told to misbehave (busy,
// a given status, silence, a bad checksum, a short answer, a pause inside an answer, the time a
// real line would take). Every public member is thread-safe: tests configure it from their own
// thread while a TEmulatorPty serves it from another.
//
// Answers (little-endian numbers, checksum = 16-bit sum of all bytes but the last two):
//   bytes 0..2   0x17 0x02 <command letter of the request>   (the program does not examine them)
//   byte 3       status: 0 success, otherwise kEmulatorErrorStatus or an injected status
//   "T" 46 bytes: 4 item number (2), 6 font, 7 name (24), 31 barcode (6), 37 price (5),
//                 42 department, 43 0x19, 44 checksum
//   "p" 36 bytes: 4 mode, table, row, field of the request, 8 attribute, 9 text (24), 33 0x19,
//                 34 checksum
//   "u" 31 bytes: 4..27 status values A..O, 28 0x19, 29 checksum
//   "c"  7 bytes: 4 0x19, 5 checksum
//   any other letter: the 7-byte layout of "c" with kEmulatorErrorStatus.
//
// Requests the register cannot serve get kEmulatorErrorStatus in an answer of the command's own
// length: item number 0 or above 6000, a table/row/field it does not have, a "p" mode other than
// 0 and 1, a length byte that differs from the command's request length (51, 40, 11, 11), a bad
// request checksum, a missing 0x19 end marker, or a device number that is neither 0 nor the
// register's own. Device number 0 in a request is accepted by every register; a register whose
// own number is 0 accepts every device number. Nothing is stored by a refused request.

// The one error status the emulator answers to a request it cannot serve. It is none of the
// program's local results (0, 1, 2, 3, 5) and none of the busy statuses (20, 21, 22).
inline constexpr quint8 kEmulatorErrorStatus = 0x7F;

inline constexpr int kEmulatorGoodsCount = 6000;
inline constexpr int kEmulatorTextSize = 24;

// One goods item as the register keeps it, in wire form.
struct TEmulatorItem {
    quint8 font = '0';                                  // font type byte ('0' narrow, '1' wide)
    QByteArray name = QByteArray(kEmulatorTextSize, 0); // device text, exactly 24 bytes
    quint64 barcode = 0;                                // low 48 bits are kept
    quint64 price = 0;                                  // the 5 price bytes, low 40 bits are kept
    quint8 department = 0;
    bool operator==(const TEmulatorItem &) const = default;
};

// One table field: its attribute byte (the font flag) and 24 bytes of device text.
struct TEmulatorField {
    quint8 attribute = '0';
    QByteArray text = QByteArray(kEmulatorTextSize, 0); // exactly 24 bytes
    bool operator==(const TEmulatorField &) const = default;
};

// The status values A to O of the "u" answer; fixed, plausible non-zero defaults.
struct TEmulatorStatusValues {
    quint8 A = 1, B = 2, C = 3, D = 4;
    quint16 E = 0x0105;
    quint8 F = 6, G = 7, H = 8, I = 9, J = 10, K = 11;
    quint32 L = 0x0C0D0E0F;
    quint8 M = 16, N = 17;
    quint64 O = 0x121314151617ULL;
    bool operator==(const TEmulatorStatusValues &) const = default;
};

// What the serving side does with one request: wait lineDelayUs microseconds, then write
// answer[0 .. pauseAfterBytes), pause pauseMs, then write the rest. An empty answer means
// "stay silent".
struct TEmulatorReply {
    QByteArray answer;
    qint64 lineDelayUs = 0;
    int pauseAfterBytes = -1; // -1: no pause inside the answer
    int pauseMs = 0;
};

class TEmulatorEngine
{
public:
    explicit TEmulatorEngine(quint32 deviceNumber = 0);

    // --- Protocol ---------------------------------------------------------------------------
    // One complete request frame (see TEmulatorFramer): logs it, applies the injected faults
    // and returns what to send back. Never reads outside the given bytes.
    TEmulatorReply HandleRequest(const QByteArray &request);
    // The same, answer bytes only (timing ignored): for tests of the protocol itself.
    QByteArray Answer(const QByteArray &request) { return HandleRequest(request).answer; }

    // The 16-bit additive checksum of bytes [0, size - 2) of a frame (0 for fewer than 2 bytes).
    static quint16 Checksum(const QByteArray &frame);
    // Whether the register has table field (table, row, field).
    static bool FieldExists(int table, int row, int field);

    // --- Stored state (for tests and the state file) ----------------------------------------
    quint32 DeviceNumber() const;
    void SetDeviceNumber(quint32 number);
    // Item 1..6000; std::nullopt / false for any other number.
    std::optional<TEmulatorItem> Item(int number) const;
    bool SetItem(int number, const TEmulatorItem &item); // name/text padded or cut to 24 bytes
    std::optional<TEmulatorField> Field(int table, int row, int field) const;
    bool SetField(int table, int row, int field, const TEmulatorField &value);
    TEmulatorStatusValues StatusValues() const;
    void SetStatusValues(const TEmulatorStatusValues &values);
    // Goods and fields back to their initial values (the device number is kept).
    void ResetMemory();
    // Grows by one with every change of the stored items, fields or device number.
    quint64 ChangeCount() const;

    // State file: the device number, every item and every field (see emulatorengine.cpp for the
    // layout). Saving goes through QSaveFile; loading a missing, short or foreign file fails
    // with a message and leaves the state as it was.
    QByteArray SaveState() const;
    bool LoadState(const QByteArray &data, QString *error = nullptr);
    bool SaveStateFile(const QString &path, QString *error = nullptr) const;
    bool LoadStateFile(const QString &path, QString *error = nullptr);

    // --- Log of complete requests received (every one, also those answered with silence) ----
    QList<QByteArray> ReceivedRequests() const;
    int ReceivedCount() const;
    void ClearReceivedRequests();

    // --- Fault injection ----------------------------------------------------------------------
    // Counts refer to the requests (or answers) that follow the call. A request answered busy or
    // with an injected status is not carried out (nothing is stored), but its answer carries the
    // stored values of the addressed item/field as a read would.
    // Order per request: silence first, then the injected k-th status, then busy; the answer
    // faults (checksum, cut, pause) apply to answers actually sent.
    void AnswerBusy(quint8 status, int count); // status 20, 21 or 22 for the next count
    void AnswerStatusAt(int k, quint8 status); // the k-th request from now (1 = next)
    void StaySilent(int count);                // no answer for the next count requests
    void StaySilentAlways(bool on);            // no answer at all while on
    // The checksum bytes of the next count answers are swapped (one inverted when both equal).
    void CorruptChecksum(int count);
    // The next answer is cut to its first length bytes; with validChecksum the checksum of
    // those bytes is appended (length + 2 bytes in all), so the short answer passes the check.
    void CutNextAnswer(int length, bool validChecksum);
    // The next answer is written as bytesBefore bytes, a pause of ms, then the rest.
    void PauseInNextAnswer(int bytesBefore, int ms);
    // Goods answers name this item number instead of the one asked for (their checksum kept
    // valid), until ClearFaults.
    void AnswerItemNumber(quint16 number);
    // Line speed in baud (0 = instant): each answer comes (requestLen + answerLen) * 10 / baud
    // seconds after its request was complete, as on a real line.
    void SetLineSpeed(int baud);
    int LineSpeed() const;
    void ClearFaults(); // every fault off, line speed kept

private:
    struct TFaults {
        int busyCount = 0;
        quint8 busyStatus = 20;
        int statusAtK = 0; // 0: none
        quint8 statusAtValue = 0;
        int silentCount = 0;
        bool silentAlways = false;
        int corruptCount = 0;
        int cutLength = -1;
        bool cutValidChecksum = false;
        int pauseBytes = -1;
        int pauseMs = 0;
        std::optional<quint16> itemNumber;
    };

    QByteArray BuildAnswerLocked(const QByteArray &request, bool apply,
                                 std::optional<quint8> forcedStatus);
    static int FieldIndex(int table, int row, int field);
    void TouchLocked() { ++changeCount; }

    mutable std::mutex mutex;
    quint32 deviceNumber = 0;
    std::vector<TEmulatorItem> items; // index = number - 1
    std::vector<TEmulatorField> fields;
    TEmulatorStatusValues statusValues;
    quint64 changeCount = 0;
    QList<QByteArray> received;
    TFaults faults;
    int baud = 0;
};
