#include "barcodecollector.h"

#include "win1251.h"

QString TBarcodeCollector::CheckedText(const QByteArray &scan)
{
    if (scan.size() != 8 && scan.size() != 13)
        return QString();
    // One byte per character, in the program's code page.
    return FromWin1251(scan);
}

void TBarcodeCollector::Feed(const char *data, qint64 size, const TSink &sink)
{
    for (qint64 i = 0; i < size; ++i) {
        const char byte = data[i];
        if (byte == EndOfScan) {
            const QString text = CheckedText(QByteArray(buffer_, length_));
            length_ = 0;
            sink(text);
        } else if (length_ < Capacity) {
            buffer_[length_++] = byte;
        }
    }
}
