#pragma once

#include <QByteArray>
#include <QString>

// The Windows-1251 code page, in which the register's texts, the settings files and the
// ".conf"/".dbZ48" files are kept. Our own table, so no ICU is needed.

// Text to Windows-1251 bytes; a character the code page lacks becomes '?'.
QByteArray ToWin1251(const QString &text);

// Windows-1251 bytes to text; every byte maps to a character (0x98 to U+0098, as Windows does).
QString FromWin1251(const QByteArray &bytes);

// Whether the character exists in Windows-1251.
bool IsWin1251Char(QChar c);

// Upper-casing by the ANSI rules: a letter becomes its capital only when that capital exists in
// Windows-1251 (а..я, ё, ў, і, ... and Latin a..z); everything else stays as it is.
QString AnsiUpper(const QString &text);
