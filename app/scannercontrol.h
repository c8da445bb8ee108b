#pragma once

#include <QString>

// The three texts of "Scan.cfg", section "CURRENT".
struct TScannerTexts {
    QString ModelName;
    QString ComPort;
    QString SpeedPort;
};

// Reads "Scan.cfg" at path, creating it empty when missing; missing keys read as empty.
// False when the file cannot be created.
bool ReadScannerTexts(const QString &path, TScannerTexts &texts);

// What the main window asks of the barcode reader: resume it while the goods tab is shown,
// pause it when the tab is left.
class TScannerControl
{
public:
    virtual ~TScannerControl() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

// The reader before the barcode reader thread is wired in: there is nothing to resume or pause.
class TIdleScanner : public TScannerControl
{
public:
    void Start() override {}
    void Stop() override {}
};
