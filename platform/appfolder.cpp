#include "appfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace
{

QString WithTrailingSeparator(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

// Whether a file can be created in folder. Asked by trying: on Windows the permission bits Qt
// reports for a folder ignore its access rights, so Program Files looks writable to a user who
// may not create anything there, and the settings would then never be saved.
bool CanCreateFilesIn(const QString &folder)
{
    if (!QFileInfo(folder).isWritable())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.kkt-write-test-XXXXXX"));
    return probe.open();
}

} // namespace

QString ProgramFolder()
{
    const QString overridden = qEnvironmentVariable("KKT_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return WithTrailingSeparator(overridden);

    const QString exeFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (CanCreateFilesIn(exeFolder))
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
