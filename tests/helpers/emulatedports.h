#pragma once

#include <QString>
#include <QTest>

// Whether this Windows program runs under Wine (false on Linux and on Windows itself).
bool RunningUnderWine();

// Whether this system lets a test reach an emulated device (register or scanner) through a
// serial port; when not, whyNot says why. Linux serves pseudo-terminals and Windows a null-modem
// pair of COM ports, but under Wine the serial library never reads a COM port: it waits for input
// with an overlapped WaitCommEvent, whose completion Wine does not deliver to the library's
// completion port (and on a pseudo-terminal ends at once as cancelled), so no answer arrives.
bool EmulatedPortsWork(QString *whyNot);

// For a test that needs an emulated device: skips with the reason where this system cannot carry
// the device's bytes, and otherwise fails unless ready (errorText says why not).
#define KKT_REQUIRE_DEVICE(ready, errorText)                                                       \
    do {                                                                                           \
        QString kktWhyNot_;                                                                        \
        if (!EmulatedPortsWork(&kktWhyNot_))                                                       \
            QSKIP(qPrintable(kktWhyNot_));                                                         \
        QVERIFY2((ready), qPrintable(errorText));                                                  \
    } while (false)
