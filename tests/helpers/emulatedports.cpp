#include "emulatedports.h"

#ifdef Q_OS_WIN
#include "winecommwait.h"
#endif

#ifndef Q_OS_WIN
bool RunningUnderWine()
{
    return false;
}
#endif

bool EmulatedPortsWork(QString *whyNot)
{
#ifdef Q_OS_WIN
    if (RunningUnderWine() && !InstallWineCommWait()) {
        if (whyNot)
            *whyNot = QStringLiteral(
                "under Wine the serial library never reads a COM port, and the stand-in for "
                "Wine's WaitCommEvent could not be put in place");
        return false;
    }
#endif
    if (whyNot)
        whyNot->clear();
    return true;
}
