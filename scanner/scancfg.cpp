#include "scancfg.h"

#include "appfolder.h"
#include "inidocument.h"

QStringList ScanCfg::ModelNames()
{
    return {ModelNone, ModelX5710};
}

QStringList ScanCfg::SpeedTexts()
{
    return {QStringLiteral("600"),   QStringLiteral("1200"),  QStringLiteral("2400"),
            QStringLiteral("4800"),  QStringLiteral("9600"),  QStringLiteral("19200"),
            QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")};
}

QString ScanCfg::FilePath()
{
    return ProgramFolder() + FileName;
}

TScanCfg ReadScanCfg(const QString &path)
{
    PrivateProfile::EnsureFileExists(path);
    // Read once for the three keys: a large file would otherwise be parsed for each.
    const PrivateProfile::TProfileSnapshot file(path);
    TScanCfg cfg;
    cfg.ModelName = file.ReadString(ScanCfg::Section, ScanCfg::KeyModelName);
    cfg.ComPort = file.ReadString(ScanCfg::Section, ScanCfg::KeyComPort);
    cfg.SpeedPort = file.ReadString(ScanCfg::Section, ScanCfg::KeySpeedPort);
    return cfg;
}

bool WriteScanCfg(const QString &path, const TScanCfg &cfg)
{
    // Each key is written even when an earlier one failed, as the key-by-key writes would.
    bool ok =
        PrivateProfile::WriteString(path, ScanCfg::Section, ScanCfg::KeyModelName, cfg.ModelName);
    ok =
        PrivateProfile::WriteString(path, ScanCfg::Section, ScanCfg::KeyComPort, cfg.ComPort) && ok;
    ok =
        PrivateProfile::WriteString(path, ScanCfg::Section, ScanCfg::KeySpeedPort, cfg.SpeedPort) &&
        ok;
    return ok;
}
