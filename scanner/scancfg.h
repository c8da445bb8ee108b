#pragma once

#include <QString>
#include <QStringList>

// "Scan.cfg": which scanner is attached, on which port and at which speed. Lies in the program's
// folder; one section "CURRENT" with three text keys, a missing key reading as empty.
namespace ScanCfg
{
inline const QString FileName = QStringLiteral("Scan.cfg");
inline const QString Section = QStringLiteral("CURRENT");
inline const QString KeyModelName = QStringLiteral("ModelName");
inline const QString KeyComPort = QStringLiteral("ComPort");
inline const QString KeySpeedPort = QStringLiteral("SpeedPort");

// The model list, in the order the dialog offers it; entry 0 means no scanner.
inline const QString ModelNone = QStringLiteral("Не использовать сканер");
inline const QString ModelX5710 = QStringLiteral("Ravix X-5710 (RS-232)");
QStringList ModelNames();

// The speeds the scanner may be set to, as decimal texts.
QStringList SpeedTexts();

// The full path of "Scan.cfg" in the program's folder.
QString FilePath();
} // namespace ScanCfg

// The three texts of "Scan.cfg", in the file's order.
struct TScanCfg {
    QString ModelName;
    QString ComPort;
    QString SpeedPort;

    bool operator==(const TScanCfg &) const = default;
};

// Reads the three keys (empty when missing), creating the file empty first when it does not exist.
TScanCfg ReadScanCfg(const QString &path);
// Writes "ModelName", "ComPort" and "SpeedPort" in this order; false when the file cannot be
// written.
bool WriteScanCfg(const QString &path, const TScanCfg &cfg);
