#pragma once

#include <QString>
#include <QTest>

// Whether this Windows program runs under Wine (false on Linux).
bool RunningUnderWine();

// Whether this system lets a test reach an emulated device (register or scanner) through a
// serial port from within the test program; when not, whyNot says why. Linux serves
// pseudo-terminals and Windows a null-modem pair of COM ports; under Wine that needs the stand-in
// for Wine's wait for input (winecommwait.h), which only the test program itself has, not the
// programs it starts.
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
