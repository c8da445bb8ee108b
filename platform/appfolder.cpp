#include "appfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

QString WithTrailingSeparator(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

} // namespace

QString ProgramFolder()
{
    const QString overridden = qEnvironmentVariable("KKT_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return WithTrailingSeparator(overridden);

    const QString exeFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (QFileInfo(exeFolder).isWritable())
        return WithTrailingSeparator(exeFolder);

    // A system-wide install: the settings go to the user's own configuration folder, named
    // after the program's file (the application name is the Russian title, for the windows).
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/kkt-programmer");
    QDir().mkpath(config);
    return WithTrailingSeparator(config);
}

QString ProgramVersionText()
{
    return QStringLiteral(KKT_VERSION_TEXT);
}
