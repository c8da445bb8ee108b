#include "csvtext.h"

#include "win1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace
{

constexpr char kQuote = '"';
// Enough lines for the separator to show, even past a title line or two.
constexpr int kSeparatorSampleLines = 20;
// A UTF-16 file is turned into UTF-8 this many bytes at a time, so it is never held twice.
constexpr qsizetype kConvertChunk = 256 * 1024;

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool IsContinuation(uchar c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence at pos, 0 when it is not one (overlong forms, surrogates
// and values above U+10FFFF included), as a strict decoder judges it.
qsizetype Utf8SequenceLength(QByteArrayView bytes, qsizetype pos)
{
    const auto at = [&](qsizetype i) { return uchar(bytes[i]); };
    const uchar lead = at(pos);
    const qsizetype left = bytes.size() - pos;
    uchar low = 0x80, high = 0xBF; // the range of the second byte
    qsizetype length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || left < length || at(pos + 1) < low || at(pos + 1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (!IsContinuation(at(pos + i)))
            return 0;
    return length;
}

bool IsValidUtf8(QByteArrayView bytes)
{
    for (qsizetype pos = 0; pos < bytes.size();) {
        if (uchar(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const qsizetype length = Utf8SequenceLength(bytes, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

// The "Unicode text" a spreadsheet saves; the decoder reads the mark, chooses the byte order
// and drops the mark.
QByteArray Utf16ToUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf16);
    QByteArray utf8;
    utf8.reserve(bytes.size());
    for (qsizetype pos = 0; pos < bytes.size(); pos += kConvertChunk) {
        QString piece = decoder.decode(
            QByteArrayView(bytes).sliced(pos, qMin(kConvertChunk, bytes.size() - pos)));
        if (pos == 0 && piece.startsWith(QChar(QChar::ByteOrderMark)))
            piece.remove(0, 1);
        utf8 += piece.toUtf8();
    }
    return utf8;
}

} // namespace

TCsvSource::TCsvSource(const QByteArray &bytes) : bytes_(bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding_ = TCsvEncoding::Utf8Bom;
        offset_ = 3;
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        encoding_ = TCsvEncoding::Utf16;
        bytes_ = Utf16ToUtf8(bytes);
    } else if (!IsValidUtf8(bytes)) {
        encoding_ = TCsvEncoding::Win1251;
    }
}

QString TCsvSource::Decode(QByteArrayView part) const
{
    if (encoding_ == TCsvEncoding::Win1251)
        return FromWin1251(QByteArray::fromRawData(part.data(), part.size()));
    return QString::fromUtf8(part);
}

bool TCsvSource::IsBlank(QByteArrayView part) const
{
    for (qsizetype pos = 0; pos < part.size();) {
        const uchar lead = uchar(part[pos]);
        char32_t c = lead;
        qsizetype length = 1;
        if (lead >= 0x80 && encoding_ == TCsvEncoding::Win1251) {
            c = lead == 0xA0 ? U'\u00A0' : U'x'; // its one blank above ASCII
        } else if (lead >= 0x80) {
            length = Utf8SequenceLength(part, pos);
            if (length == 0)
                return false;
            c = lead & (0x7F >> length);
            for (qsizetype i = 1; i < length; ++i)
                c = c << 6 | (uchar(part[pos + i]) & 0x3F);
        }
        if (!QChar::isSpace(c))
            return false;
        pos += length;
    }
    return true;
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

char DetectCsvSeparator(QByteArrayView text)
{
    const char candidates[] = {';', '\t', ','};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    int lines = 0;
    for (qsizetype i = 0; i < text.size() && lines < kSeparatorSampleLines; ++i) {
        const char c = text[i];
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

TCsvReader::TCsvReader(QByteArrayView text, char separator) : text_(text), separator_(separator) {}

// Past the line break at pos (CR LF counts once).
qsizetype TCsvReader::SkipLineBreak(qsizetype pos) const
{
    if (text_[pos] == '\r' && pos + 1 < text_.size() && text_[pos + 1] == '\n')
        return pos + 2;
    return pos + 1;
}

QByteArrayView TCsvReader::Field(int index) const
{
    if (index < 0 || index >= FieldCount())
        return {};
    const TField &field = fields_[std::size_t(index)];
    if (field.buffer >= 0) {
        const std::string &buffer = buffers_[std::size_t(field.buffer)];
        return QByteArrayView(buffer.data(), qsizetype(buffer.size()));
    }
    return text_.sliced(field.begin, field.end - field.begin);
}

bool TCsvReader::Next()
{
    if (pos_ >= text_.size())
        return false;
    line_ = nextLine_;
    start_ = pos_;
    broken_ = false;
    fields_.clear();
    buffersUsed_ = 0;
    for (;;) {
        ReadField();
        if (broken_)
            return true;
        if (pos_ < text_.size() && text_[pos_] == separator_) {
            ++pos_; // "a;" at the very end still gives its empty last field
            continue;
        }
        end_ = pos_;
        if (pos_ < text_.size()) {
            pos_ = SkipLineBreak(pos_);
            ++nextLine_;
        }
        return true;
    }
}

void TCsvReader::ReadField()
{
    TField field{pos_, pos_, -1};
    const bool quoted = pos_ < text_.size() && text_[pos_] == kQuote;
    if (quoted && !ReadQuoted(field))
        return;
    // Unquoted text, or what follows a closing quote up to the separator.
    const qsizetype tail = pos_;
    pos_ = UnquotedEnd(pos_);
    if (!quoted) {
        field.end = pos_;
    } else if (pos_ > tail) {
        std::string &buffer =
            field.buffer < 0 ? NewBuffer(field) : buffers_[std::size_t(field.buffer)];
        buffer.append(text_.data() + tail, std::size_t(pos_ - tail));
    }
    fields_.push_back(field);
}

// Where unquoted text from pos ends: at the separator, a line break or the end. Most of the
// reading is here, so it runs on local pointers.
qsizetype TCsvReader::UnquotedEnd(qsizetype pos) const
{
    const char *const begin = text_.data();
    const char *const end = begin + text_.size();
    const char separator = separator_;
    const char *p = begin + pos;
    while (p != end && *p != separator && *p != '\r' && *p != '\n')
        ++p;
    return p - begin;
}

// A buffer for the field, holding what of it lies in the text so far.
std::string &TCsvReader::NewBuffer(TField &field)
{
    field.buffer = buffersUsed_++;
    if (buffers_.size() < std::size_t(buffersUsed_))
        buffers_.emplace_back();
    std::string &buffer = buffers_[std::size_t(field.buffer)];
    buffer.assign(text_.data() + field.begin, std::size_t(field.end - field.begin));
    return buffer;
}

// A quoted field: separators and line breaks inside belong to it. The text between the quotes
// stands as it is unless a doubled quote has to be taken out.
bool TCsvReader::ReadQuoted(TField &field)
{
    const qsizetype open = pos_;
    const int openLine = nextLine_;
    const qsizetype size = text_.size();
    field.begin = field.end = ++pos_;
    std::string *buffer = nullptr;
    while (pos_ < size) {
        const char c = text_[pos_];
        if (c == kQuote) {
            const bool doubled = pos_ + 1 < size && text_[pos_ + 1] == kQuote;
            if (!doubled) {
                if (!buffer)
                    field.end = pos_;
                ++pos_;
                return true;
            }
            if (!buffer) {
                field.end = pos_;
                buffer = &NewBuffer(field);
            }
            buffer->push_back(kQuote);
            pos_ += 2;
            continue;
        }
        const qsizetype next = IsLineBreak(c) ? SkipLineBreak(pos_) : pos_ + 1;
        if (IsLineBreak(c))
            ++nextLine_;
        if (buffer)
            buffer->append(text_.data() + pos_, std::size_t(next - pos_));
        pos_ = next;
    }
    // Everything up to the end of the file would be one field: the record is given up and
    // reading resumes after the line the quote opened on.
    broken_ = true;
    pos_ = open;
    while (pos_ < size && !IsLineBreak(text_[pos_]))
        ++pos_;
    end_ = pos_;
    if (pos_ < size)
        pos_ = SkipLineBreak(pos_);
    nextLine_ = openLine + 1;
    return false;
}

QString CsvField(const QString &field, QChar separator)
{
    const bool quote = field.contains(separator) || field.contains(QChar(kQuote)) ||
                       field.contains(u'\r') || field.contains(u'\n');
    if (!quote)
        return field;
    QString quoted = field;
    quoted.replace(QChar(kQuote), QStringLiteral("\"\""));
    return QChar(kQuote) + quoted + QChar(kQuote);
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
