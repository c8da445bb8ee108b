#include "initext.h"

#include "win1251.h"

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

QString FoldName(QStringView name)
{
    // Most names are plain ASCII or Cyrillic; AnsiUpper keeps the folding to the code page's
    // own letters, the same rule the files were written under.
    return AnsiUpper(name.toString());
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
