#include "clioutput.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

void KeepRunningWithoutReader()
{
#ifdef Q_OS_UNIX
    std::signal(SIGPIPE, SIG_IGN);
#endif
}
