#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// Comma-separated text as spreadsheets write and read it (RFC 4180): the code page, the
// separator, quoted fields. Knows nothing of goods.

// How a file's bytes were written.
enum class TCsvEncoding { Win1251, Utf8, Utf8Bom, Utf16 };

// A file's bytes made ready to be read field by field without decoding the whole of it: a
// UTF-8 or UTF-16 byte order mark decides the code page; without one, bytes that are valid
// UTF-8 are UTF-8 and anything else is Windows-1251 (what a spreadsheet in a Russian locale
// saves). The mark is not part of the text, and UTF-16 is turned into UTF-8, so every
// separator, quote and line break of Text() is one byte.
class TCsvSource
{
public:
    explicit TCsvSource(const QByteArray &bytes);

    TCsvEncoding Encoding() const { return encoding_; }
    // UTF-8, or Windows-1251 when Encoding() says so.
    QByteArrayView Text() const { return QByteArrayView(bytes_).sliced(offset_); }
    // A piece of Text() as text.
    QString Decode(QByteArrayView part) const;
    // Whether a piece of Text() holds blanks only (the code page's no-break space among them);
    // decodes nothing.
    bool IsBlank(QByteArrayView part) const;

private:
    TCsvEncoding encoding_ = TCsvEncoding::Utf8;
    QByteArray bytes_; // shares the caller's bytes, or holds the UTF-8 of a UTF-16 file
    qsizetype offset_ = 0;
};

// Windows-1251 (a character the code page lacks becomes '?') or UTF-8 behind a byte order mark.
QByteArray EncodeCsvText(const QString &text, TCsvEncoding encoding);

// The separator that occurs most often outside quotes in the first lines: ';', tab or ','
// (in this order when equally often); ';' when there is none.
char DetectCsvSeparator(QByteArrayView text);

// The records of a text one after the other, each held only until the next: its fields as
// written (quotes removed, "" taken as "), and the line of the file it starts on (1 the first).
// Lines end in CR LF, LF or CR; an empty line gives one empty field. A record whose quote is
// never closed is broken: reading goes on with the next line after the one the quote opened on.
class TCsvReader
{
public:
    TCsvReader(QByteArrayView text, char separator);

    // Moves to the next record; false past the last.
    bool Next();
    int Line() const { return line_; }
    bool Broken() const { return broken_; }
    int FieldCount() const { return int(fields_.size()); }
    // Empty for a field the record does not have.
    QByteArrayView Field(int index) const;
    // The record as it stands in the text, without its last line break.
    QByteArrayView Source() const { return text_.sliced(start_, end_ - start_); }

private:
    // A field lies in the text, or in a buffer when quotes had to be taken out.
    struct TField {
        qsizetype begin = 0;
        qsizetype end = 0;
        int buffer = -1;
    };
    void ReadField();
    bool ReadQuoted(TField &field);
    qsizetype UnquotedEnd(qsizetype pos) const;
    std::string &NewBuffer(TField &field);
    qsizetype SkipLineBreak(qsizetype pos) const;

    QByteArrayView text_;
    char separator_;
    qsizetype pos_ = 0;
    int nextLine_ = 1;
    int line_ = 0;
    bool broken_ = false;
    qsizetype start_ = 0;
    qsizetype end_ = 0;
    std::vector<TField> fields_;
    std::vector<std::string> buffers_; // kept from record to record, so reading allocates little
    int buffersUsed_ = 0;
};

// The field, quoted when it holds the separator, a quote or a line break.
QString CsvField(const QString &field, QChar separator);
// The fields joined by the separator, ending in CR LF.
QString CsvLine(const QStringList &fields, QChar separator);
