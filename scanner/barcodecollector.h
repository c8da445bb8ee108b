#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Collects the characters of one scan up to the carriage return that ends it. Plain state, no
// I/O: the reader feeds it the bytes of each read in order.
class TBarcodeCollector
{
public:
    // Room for the characters of one scan; later characters are dropped.
    static constexpr int Capacity = 128;
    // The byte that ends a scan.
    static constexpr char EndOfScan = 13;

    using TSink = std::function<void(const QString &text)>;

    // Takes the bytes in order; each carriage return hands the finished text to sink.
    void Feed(const char *data, qint64 size, const TSink &sink);
    // Forgets a partly collected scan.
    void Reset() { length_ = 0; }
    int Length() const { return length_; }

    // The text a finished scan gives: 8 or 13 characters unchanged, any other length empty.
    static QString CheckedText(const QByteArray &scan);

private:
    char buffer_[Capacity] = {};
    int length_ = 0;
};
