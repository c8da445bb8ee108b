#include "csvtext.h"

#include "win1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace
{

constexpr QChar kQuote = u'"';
// Enough lines for the separator to show, even past a title line or two.
constexpr int kSeparatorSampleLines = 20;

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Past the line break at pos (CR LF counts once).
qsizetype SkipLineBreak(QStringView text, qsizetype pos)
{
    if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
        return pos + 2;
    return pos + 1;
}

QString Decode(QStringConverter::Encoding encoding, const QByteArray &bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

QString DecodeCsvBytes(const QByteArray &bytes, TCsvEncoding *encoding)
{
    TCsvEncoding found = TCsvEncoding::Utf8;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        found = TCsvEncoding::Utf8Bom;
        text = Decode(QStringConverter::Utf8, bytes.mid(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        // The "Unicode text" a spreadsheet saves; the decoder reads the mark and drops it.
        found = TCsvEncoding::Utf16;
        text = Decode(QStringConverter::Utf16, bytes);
        if (text.startsWith(QChar(QChar::ByteOrderMark)))
            text.remove(0, 1);
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError()) {
            found = TCsvEncoding::Win1251;
            text = FromWin1251(bytes);
        }
    }
    if (encoding)
        *encoding = found;
    return text;
}

QByteArray EncodeCsvText(const QString &text, TCsvEncoding encoding)
{
    switch (encoding) {
    case TCsvEncoding::Win1251:
        return ToWin1251(text);
    case TCsvEncoding::Utf8:
        return text.toUtf8();
    case TCsvEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TCsvEncoding::Utf16: {
        QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        return encoder.encode(text);
    }
    }
    return text.toUtf8();
}

QChar DetectCsvSeparator(QStringView text)
{
    const QChar candidates[] = {u';', u'\t', u','};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    int lines = 0;
    for (qsizetype i = 0; i < text.size() && lines < kSeparatorSampleLines; ++i) {
        const QChar c = text[i];
        if (c == kQuote)
            quoted = !quoted; // "" inside a quoted field toggles twice
        else if (!quoted && IsLineBreak(c))
            ++lines;
        else if (!quoted)
            for (int k = 0; k < 3; ++k)
                counts[k] += c == candidates[k] ? 1 : 0;
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (counts[k] > counts[best])
            best = k;
    return candidates[best];
}

QVector<TCsvRecord> ReadCsvRecords(QStringView text, QChar separator)
{
    QVector<TCsvRecord> records;
    const qsizetype size = text.size();
    qsizetype pos = 0;
    int line = 1;
    while (pos < size) {
        TCsvRecord record;
        record.line = line;
        QString field;
        bool recordDone = false;
        while (!recordDone) {
            if (pos < size && text[pos] == kQuote) {
                // A quoted field: separators and line breaks inside belong to it.
                const qsizetype open = pos;
                const int openLine = line;
                bool closed = false;
                ++pos;
                while (pos < size) {
                    const QChar c = text[pos];
                    if (c == kQuote) {
                        if (pos + 1 < size && text[pos + 1] == kQuote) {
                            field.append(kQuote);
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    if (IsLineBreak(c)) {
                        const qsizetype next = SkipLineBreak(text, pos);
                        field.append(text.sliced(pos, next - pos));
                        pos = next;
                        ++line;
                        continue;
                    }
                    field.append(c);
                    ++pos;
                }
                if (!closed) {
                    // Everything up to the end of the file would be one field: the record is
                    // given up and reading resumes after the line the quote opened on.
                    record.broken = true;
                    pos = open;
                    while (pos < size && !IsLineBreak(text[pos]))
                        ++pos;
                    if (pos < size)
                        pos = SkipLineBreak(text, pos);
                    line = openLine + 1;
                    break;
                }
            }
            // Unquoted text, or what follows a closing quote up to the separator.
            while (pos < size && text[pos] != separator && !IsLineBreak(text[pos]))
                field.append(text[pos++]);
            record.fields.append(field);
            field.clear();
            if (pos < size && text[pos] == separator) {
                ++pos; // "a;" at the very end still gives its empty last field
                continue;
            }
            if (pos < size) {
                pos = SkipLineBreak(text, pos);
                ++line;
            }
            recordDone = true;
        }
        records.append(record);
    }
    return records;
}

QString CsvField(const QString &field, QChar separator)
{
    const bool quote = field.contains(separator) || field.contains(kQuote) ||
                       field.contains(u'\r') || field.contains(u'\n');
    if (!quote)
        return field;
    QString quoted = field;
    quoted.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + quoted + kQuote;
}

QString CsvLine(const QStringList &fields, QChar separator)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.append(separator);
        line.append(CsvField(fields[i], separator));
    }
    return line + QStringLiteral("\r\n");
}
