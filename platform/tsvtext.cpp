#include "tsvtext.h"

namespace
{

constexpr QChar kTab = u'\t';
constexpr QChar kQuote = u'"';

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool EndsCell(const QString &text, qsizetype pos)
{
    return pos >= text.size() || text[pos] == kTab || IsLineBreak(text[pos]);
}

QString TsvCell(const QString &cell)
{
    if (!cell.startsWith(kQuote) && !cell.contains(kTab) && !cell.contains(u'\r') &&
        !cell.contains(u'\n'))
        return cell;
    QString quoted = cell;
    quoted.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + quoted + kQuote;
}

// A quoted cell from pos (at its opening quote): its text, and pos after the closing quote;
// false when the quote does not close right before a tab or a line end.
bool ReadQuoted(const QString &text, qsizetype &pos, QString &cell)
{
    QString value;
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        if (text[i] != kQuote) {
            value.append(text[i]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == kQuote) {
            value.append(kQuote);
            ++i;
            continue;
        }
        if (!EndsCell(text, i + 1))
            return false;
        pos = i + 1;
        cell = value;
        return true;
    }
    return false;
}

} // namespace

QString TsvText(const QVector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row)
            cells.append(TsvCell(cell));
        text += cells.join(kTab) + u'\n';
    }
    if (rows.size() == 1 && rows.front().size() == 1)
        text.chop(1);
    return text;
}

QVector<QStringList> ReadTsv(const QString &text)
{
    QVector<QStringList> rows;
    QStringList row;
    qsizetype pos = 0;
    while (pos < text.size()) {
        QString cell;
        if (text[pos] != kQuote || !ReadQuoted(text, pos, cell)) {
            const qsizetype start = pos;
            while (!EndsCell(text, pos))
                ++pos;
            cell = text.mid(start, pos - start);
        }
        row.append(cell);
        if (pos < text.size() && text[pos] == kTab) {
            ++pos;
            if (pos == text.size())
                row.append(QString());
            continue;
        }
        // A line end (or the end of the text) closes the row.
        if (pos < text.size())
            pos += text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n' ? 2 : 1;
        rows.append(row);
        row.clear();
    }
    return rows;
}
