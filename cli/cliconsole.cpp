#include "cliconsole.h"

#ifdef _WIN32

#include <QString>

#include <algorithm>
#include <string>

#include <io.h>
#include <windows.h>

namespace
{

// The console the stream goes to, or null for a pipe, a file or the null device.
HANDLE ConsoleOf(std::FILE *stream)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0 ? handle : nullptr;
}

bool WriteToConsole(HANDLE console, const std::wstring &text)
{
    // Terminal sequences are obeyed only with the console's own switch on; it is the user's
    // setting again after the write.
    DWORD mode = 0;
    GetConsoleMode(console, &mode);
    const bool switchOn = (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0 &&
                          text.find(L'\033') != std::wstring::npos &&
                          SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
    // Old consoles take a few kilobytes at a time.
    constexpr std::size_t kChunk = 8192;
    bool ok = true;
    for (std::size_t at = 0; ok && at < text.size();) {
        DWORD written = 0;
        const auto count = DWORD(std::min(kChunk, text.size() - at));
        ok = WriteConsoleW(console, text.data() + at, count, &written, nullptr) != 0 && written > 0;
        at += written;
    }
    if (switchOn)
        SetConsoleMode(console, mode);
    return ok;
}

} // namespace

bool WriteText(std::FILE *stream, const char *utf8, std::size_t size)
{
    const HANDLE console = ConsoleOf(stream);
    if (console == nullptr)
        return std::fwrite(utf8, 1, size, stream) == size;
    // What the C library still holds for the stream comes first.
    std::fflush(stream);
    return WriteToConsole(console, QString::fromUtf8(utf8, qsizetype(size)).toStdWString());
}

#else

bool WriteText(std::FILE *stream, const char *utf8, std::size_t size)
{
    return std::fwrite(utf8, 1, size, stream) == size;
}

#endif
