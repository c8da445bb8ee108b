#include "winecommwait.h"

#include <windows.h>

#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace
{

using TWaitCommEvent = BOOL(WINAPI *)(HANDLE, LPDWORD, LPOVERLAPPED);
using TCreateIoCompletionPort = HANDLE(WINAPI *)(HANDLE, HANDLE, ULONG_PTR, DWORD);
using TCancelIo = BOOL(WINAPI *)(HANDLE);
using TCancelIoEx = BOOL(WINAPI *)(HANDLE, LPOVERLAPPED);

TWaitCommEvent realWaitCommEvent = nullptr;
TCreateIoCompletionPort realCreateIoCompletionPort = nullptr;
TCancelIo realCancelIo = nullptr;
TCancelIoEx realCancelIoEx = nullptr;

struct TBinding {
    HANDLE port = nullptr;
    ULONG_PTR key = 0;
};

struct TPendingWait {
    HANDLE file;
    LPDWORD mask;
    LPOVERLAPPED overlapped;
    TBinding binding;
};

std::mutex waitsMutex;
std::unordered_map<HANDLE, TBinding> bindings;
std::vector<TPendingWait> waits;

// How often the input queues of the pending waits are looked at.
constexpr DWORD kPollMs = 1;

void DropWaits(HANDLE file, LPOVERLAPPED overlapped)
{
    const std::lock_guard lock(waitsMutex);
    std::erase_if(waits, [&](const TPendingWait &w) {
        return w.file == file && (overlapped == nullptr || w.overlapped == overlapped);
    });
}

void PollWaits()
{
    for (;;) {
        Sleep(kPollMs);
        const std::lock_guard lock(waitsMutex);
        std::erase_if(waits, [](const TPendingWait &w) {
            DWORD errors = 0;
            COMSTAT status{};
            if (!ClearCommError(w.file, &errors, &status))
                return true; // the port is gone; its owner has stopped waiting
            if (status.cbInQue == 0)
                return false;
            *w.mask = EV_RXCHAR;
            w.overlapped->Internal = 0; // STATUS_SUCCESS
            w.overlapped->InternalHigh = 0;
            PostQueuedCompletionStatus(w.binding.port, 0, w.binding.key, w.overlapped);
            return true;
        });
    }
}

BOOL WINAPI StandInWaitCommEvent(HANDLE file, LPDWORD mask, LPOVERLAPPED overlapped)
{
    if (overlapped && mask) {
        const std::lock_guard lock(waitsMutex);
        const auto binding = bindings.find(file);
        if (binding != bindings.end()) {
            waits.push_back({file, mask, overlapped, binding->second});
            SetLastError(ERROR_IO_PENDING);
            return FALSE;
        }
    }
    return realWaitCommEvent(file, mask, overlapped);
}

HANDLE WINAPI StandInCreateIoCompletionPort(HANDLE file, HANDLE existing, ULONG_PTR key,
                                            DWORD threads)
{
    const HANDLE port = realCreateIoCompletionPort(file, existing, key, threads);
    if (port && file != INVALID_HANDLE_VALUE) {
        const std::lock_guard lock(waitsMutex);
        bindings[file] = {port, key};
    }
    return port;
}

BOOL WINAPI StandInCancelIo(HANDLE file)
{
    DropWaits(file, nullptr);
    return realCancelIo(file);
}

BOOL WINAPI StandInCancelIoEx(HANDLE file, LPOVERLAPPED overlapped)
{
    DropWaits(file, overlapped);
    return realCancelIoEx(file, overlapped);
}

// Points this program's import of dll!name at replacement; original gets the function it had.
bool PatchImport(const char *dll, const char *name, void *replacement, void **original)
{
    auto *base = reinterpret_cast<BYTE *>(GetModuleHandleW(nullptr));
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return false;
    for (auto *module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         module->Name != 0; ++module) {
        if (_stricmp(reinterpret_cast<const char *>(base + module->Name), dll) != 0)
            continue;
        const DWORD namesAt =
            module->OriginalFirstThunk ? module->OriginalFirstThunk : module->FirstThunk;
        auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + namesAt);
        auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto *byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char *>(byName->Name), name) != 0)
                continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE,
                                &protection))
                return false;
            *original = reinterpret_cast<void *>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection,
                           &protection);
            return true;
        }
    }
    return false;
}

template <typename T> bool Patch(const char *name, T replacement, T *original)
{
    void *was = nullptr;
    if (!PatchImport("kernel32.dll", name, reinterpret_cast<void *>(replacement), &was))
        return false;
    *original = reinterpret_cast<T>(was);
    return true;
}

bool Install()
{
    if (!RunningUnderWine())
        return false;
    // The binding comes first: a port opened before the wait's stand-in is in place must be known.
    // CancelIoEx is taken over only where the program calls it at all.
    const bool installed = Patch("CreateIoCompletionPort", &StandInCreateIoCompletionPort,
                                 &realCreateIoCompletionPort) &&
                           Patch("CancelIo", &StandInCancelIo, &realCancelIo) &&
                           Patch("WaitCommEvent", &StandInWaitCommEvent, &realWaitCommEvent);
    if (installed) {
        Patch("CancelIoEx", &StandInCancelIoEx, &realCancelIoEx);
        std::thread(PollWaits).detach();
    }
    return installed;
}

} // namespace

bool RunningUnderWine()
{
    // Wine's own ntdll exports its version; Windows' does not.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool InstallWineCommWait()
{
    static const bool installed = Install();
    return installed;
}
