#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The line rules every INI file of the program is read by, shared by the in-memory document and
// the key-by-key private-profile functions so both see a file alike.
namespace IniText
{

// One line of a file, without its line break; lineBreak is the break that ended it (CR LF, LF,
// CR, or empty for a last line without one).
struct TLine {
    QStringView text;
    QStringView lineBreak;
};

// Splits text at CR LF, LF and CR.
QList<TLine> SplitLines(QStringView text);

// Drops leading and trailing blanks and control characters.
QStringView Strip(QStringView text);

// Whether a stripped line is a section header "[...]"; name gets the stripped text between
// the brackets.
bool IsSectionHeader(QStringView strippedLine, QStringView *name = nullptr);

// Whether a stripped line is skipped entirely (empty or a ";" comment).
bool IsIgnored(QStringView strippedLine);

// Splits a stripped "key=value" line at its first "="; false when it has none.
bool SplitKeyValue(QStringView strippedLine, QStringView *key, QStringView *value);

// The form in which section and key names are compared: upper case by the ANSI rules, so
// "товар_#1" and "ТОВАР_#1" are one name.
QString FoldName(QStringView name);

// Whether two names are one by that rule (FoldName(a) == FoldName(b)), without building either.
bool SameName(QStringView a, QStringView b);

// A value or name as it can go on one line: line breaks would start new lines in the file
// (and could forge a section header), so each becomes a blank.
QString OneLine(const QString &text);

} // namespace IniText
