#include "initext.h"

#include "win1251.h"

#include <array>

namespace IniText
{

namespace
{

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20 || c.unicode() == 0x7F;
}

} // namespace

QList<TLine> SplitLines(QStringView text)
{
    QList<TLine> lines;
    lines.reserve(text.size() / 16 + 1);
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            const qsizetype breakLength = (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            lines.append({text.mid(start, i - start), text.mid(i, breakLength)});
            i += breakLength;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append({text.mid(start), QStringView()});
    return lines;
}

QStringView Strip(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool IsSectionHeader(QStringView strippedLine, QStringView *name)
{
    if (strippedLine.size() < 2 || strippedLine.front() != u'[' || strippedLine.back() != u']')
        return false;
    if (name)
        *name = Strip(strippedLine.mid(1, strippedLine.size() - 2));
    return true;
}

bool IsIgnored(QStringView strippedLine)
{
    return strippedLine.isEmpty() || strippedLine.front() == u';';
}

bool SplitKeyValue(QStringView strippedLine, QStringView *key, QStringView *value)
{
    const qsizetype eq = strippedLine.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = Strip(strippedLine.left(eq));
    *value = Strip(strippedLine.mid(eq + 1));
    return true;
}

namespace
{

// Names are compared tens of thousands of times per file, so the ANSI upper-casing rule
// (AnsiUpper) is applied through a table of every character, built once.
const std::array<char16_t, 0x10000> &UpperTable()
{
    static const std::array<char16_t, 0x10000> table = [] {
        std::array<char16_t, 0x10000> t{};
        for (int u = 0; u < 0x10000; ++u)
            t[u] = char16_t(u);
        // Only the code page's own 256 characters can change: the table is built while the
        // program starts, so those are asked, not all 65536.
        QByteArray codePage(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            codePage[b] = char(b);
        for (const QChar c : FromWin1251(codePage)) {
            const QChar up = c.toUpper();
            if (up != c && IsWin1251Char(c) && IsWin1251Char(up))
                t[c.unicode()] = up.unicode();
        }
        return t;
    }();
    return table;
}

} // namespace

QString FoldName(QStringView name)
{
    const auto &upper = UpperTable();
    QString folded(name.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (QChar c : name)
        *out++ = QChar(upper[c.unicode()]);
    return folded;
}

bool SameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    const auto &upper = UpperTable();
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && upper[a[i].unicode()] != upper[b[i].unicode()])
            return false;
    return true;
}

QString OneLine(const QString &text)
{
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString out = text;
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

} // namespace IniText
