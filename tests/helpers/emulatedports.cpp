#include "emulatedports.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool RunningUnderWine()
{
#ifdef Q_OS_WIN
    // Wine's own ntdll exports its version; Windows' does not.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

bool EmulatedPortsWork(QString *whyNot)
{
    if (RunningUnderWine()) {
        if (whyNot)
            *whyNot = QStringLiteral(
                "under Wine the serial library never reads a COM port: Wine does not deliver the "
                "completion of its overlapped WaitCommEvent, so no emulated device's answer "
                "arrives");
        return false;
    }
    if (whyNot)
        whyNot->clear();
    return true;
}
