#pragma once

#include <cstddef>
#include <cstdio>

// kkt-cli's texts are UTF-8. A Windows console shows the bytes written to it in its own code page
// (866 on a Russian Windows), so they came out as mojibake: to a console the text goes as UTF-16
// (WriteConsoleW), which shows it whatever the code page, with the terminal sequences of the live
// progress lines obeyed; to a pipe, a file or anything else, and on other systems, it goes as the
// same UTF-8 bytes. False when not all of it was written.
bool WriteText(std::FILE *stream, const char *utf8, std::size_t size);
