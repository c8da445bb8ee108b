#include "scannercontrol.h"

#include "inidocument.h"

bool ReadScannerTexts(const QString &path, TScannerTexts &texts)
{
    if (!PrivateProfile::EnsureFileExists(path))
        return false;
    const QString section = QStringLiteral("CURRENT");
    texts.ModelName = PrivateProfile::ReadString(path, section, QStringLiteral("ModelName"));
    texts.ComPort = PrivateProfile::ReadString(path, section, QStringLiteral("ComPort"));
    texts.SpeedPort = PrivateProfile::ReadString(path, section, QStringLiteral("SpeedPort"));
    return true;
}
