#include "cliconsole.h"

#ifdef _WIN32

#include <cstdio>

#include <io.h>
#include <windows.h>

namespace
{

// Whether the stream goes to a console rather than a pipe, a file or the null device.
bool IsConsole(std::FILE *stream)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

} // namespace

TConsoleUtf8::TConsoleUtf8()
{
    if (!IsConsole(stdout) && !IsConsole(stderr))
        return;
    const UINT own = GetConsoleOutputCP();
    if (own != 0 && own != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        previous_ = own;
}

TConsoleUtf8::~TConsoleUtf8()
{
    if (previous_ == 0)
        return;
    // What is still buffered was written for UTF-8.
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(previous_);
}

#else

TConsoleUtf8::TConsoleUtf8() = default;
TConsoleUtf8::~TConsoleUtf8() = default;

#endif
