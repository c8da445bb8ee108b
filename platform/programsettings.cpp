#include "programsettings.h"

#include "appfolder.h"
#include "inidocument.h"

namespace
{
const QString sectionPort = QStringLiteral("COM_PORT");
const QString sectionCommon = QStringLiteral("COMMON");
const QString keyName = QStringLiteral("Name");
const QString keySpeed = QStringLiteral("Speed");
const QString keyTimeOut = QStringLiteral("TimeOut");
const QString keyNumKkt = QStringLiteral("NumKKT");
} // namespace

QString ProgSettingsPath()
{
    return ProgramFolder() + QStringLiteral("ProgSett.ini");
}

bool ReadProgSettings(const QString &path, TStructSetting &settings)
{
    if (!PrivateProfile::EnsureFileExists(path))
        return false;
    // Read once for all four keys: a large file would otherwise be parsed for each.
    const PrivateProfile::TProfileSnapshot file(path);
    // A file that is there but cannot be read would silently give the defaults, and closing
    // would then fail to write them back.
    if (!file.Readable())
        return false;
    const TStructSetting defaults;
    settings.Port.Name = file.ReadString(sectionPort, keyName, QString());
    settings.Port.Speed = file.ReadInt(sectionPort, keySpeed, defaults.Port.Speed);
    settings.Port.TimeOut = file.ReadInt(sectionPort, keyTimeOut, defaults.Port.TimeOut);
    // The device number is unsigned: a negative value is as unusable as one that is no number.
    const qint32 number = file.ReadInt(sectionCommon, keyNumKkt, qint32(defaults.NumKKT));
    settings.NumKKT = number >= 0 ? quint32(number) : defaults.NumKKT;
    return true;
}

bool WriteProgSettings(const QString &path, const TStructSetting &settings)
{
    if (!PrivateProfile::EnsureFileExists(path))
        return false;
    bool ok = PrivateProfile::WriteString(path, sectionPort, keyName, settings.Port.Name);
    ok = PrivateProfile::WriteString(path, sectionPort, keySpeed,
                                     QString::number(settings.Port.Speed)) &&
         ok;
    ok = PrivateProfile::WriteString(path, sectionPort, keyTimeOut,
                                     QString::number(settings.Port.TimeOut)) &&
         ok;
    ok = PrivateProfile::WriteString(path, sectionCommon, keyNumKkt,
                                     QString::number(settings.NumKKT)) &&
         ok;
    return ok;
}
