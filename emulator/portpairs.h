#pragma once

#include <QString>

// Windows: the null-modem pairs of COM ports the tests reach their emulated devices through,
// named in KKT_EMULATOR_PORTS as "COM11:COM12,COM13:COM14", as a virtual null-modem driver makes
// them. The emulated side opens the first port of a pair, the program the second. Within one
// process each pair serves one user at a time.
struct TPortPair {
    int index = -1; // -1: none was free
    QString own;    // the emulated device's end
    QString other;  // the end the program opens
};

// Takes the first free pair; when none is, index is -1 and whyNot says why.
TPortPair TakePortPair(QString *whyNot);
// Gives the pair back (an index of -1 is ignored).
void ReleasePortPair(int index);
