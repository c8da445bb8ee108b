#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// Comma-separated text as spreadsheets write and read it (RFC 4180): the code page, the
// separator, quoted fields. Knows nothing of goods.

// How a file's bytes were written.
enum class TCsvEncoding { Win1251, Utf8, Utf8Bom, Utf16 };

// The file's text: a UTF-8 or UTF-16 byte order mark decides; without one, bytes that are
// valid UTF-8 are UTF-8 and anything else is Windows-1251 (what a spreadsheet in a Russian
// locale saves). The mark itself is not part of the text.
QString DecodeCsvBytes(const QByteArray &bytes, TCsvEncoding *encoding = nullptr);
// Windows-1251 (a character the code page lacks becomes '?') or UTF-8 behind a byte order mark.
QByteArray EncodeCsvText(const QString &text, TCsvEncoding encoding);

// The separator that occurs most often outside quotes in the first lines: ';', tab or ','
// (in this order when equally often); ';' when there is none.
QChar DetectCsvSeparator(QStringView text);

// One record: its fields as written (quotes removed, "" taken as "), and the line of the file
// it starts on (1 the first). A record whose quote is never closed is broken: reading goes on
// with the next line after the one the quote opened on.
struct TCsvRecord {
    int line = 0;
    QStringList fields;
    bool broken = false;
};

// Every record of the text; lines end in CR LF, LF or CR. An empty line gives one empty field.
QVector<TCsvRecord> ReadCsvRecords(QStringView text, QChar separator);

// The field, quoted when it holds the separator, a quote or a line break.
QString CsvField(const QString &field, QChar separator);
// The fields joined by the separator, ending in CR LF.
QString CsvLine(const QStringList &fields, QChar separator);
