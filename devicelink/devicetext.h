#pragma once

#include <QByteArray>

// The register keeps text in a 7-bit Cyrillic character set of the KOI-7 family, capitals only:
// the 32 capital letters А to Я take the places of the codes 94 and 96 to 126.

// Windows-1251 bytes to device bytes: capitals А..Я become their device codes, 32..127 pass
// unchanged, control characters are dropped and every other byte above 127 becomes a blank.
// Letter case is not changed; callers upper-case first.
QByteArray ToDeviceText(const QByteArray &text);

// Device bytes to Windows-1251 bytes: the text ends at the first byte 0 or 128; codes 94 and
// 96..126 become the capitals А..Я, 127 becomes "N", control characters other than CR and LF
// are dropped, everything else passes unchanged.
QByteArray FromDeviceText(const QByteArray &bytes);
