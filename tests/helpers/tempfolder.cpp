#include "tempfolder.h"

#include <QDir>
#include <QFile>

#if defined(Q_OS_UNIX)
#include <pwd.h>
#include <unistd.h>
#endif

TTempProgramFolder::TTempProgramFolder()
    : dir_(QDir::tempPath() + QStringLiteral("/kkt-test-XXXXXX"))
{
    hadValue_ = qEnvironmentVariableIsSet("KKT_PROGRAM_DIR");
    oldValue_ = qgetenv("KKT_PROGRAM_DIR");
    if (dir_.isValid())
        qputenv("KKT_PROGRAM_DIR", QFile::encodeName(dir_.path()));
}

TTempProgramFolder::~TTempProgramFolder()
{
    if (hadValue_)
        qputenv("KKT_PROGRAM_DIR", oldValue_);
    else
        qunsetenv("KKT_PROGRAM_DIR");
}

QString TTempProgramFolder::Path() const
{
    return dir_.path() + u'/';
}

QString TTempProgramFolder::FilePath(const QString &name) const
{
    return dir_.filePath(name);
}

bool TTempProgramFolder::Write(const QString &name, const QByteArray &bytes) const
{
    QFile file(FilePath(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray TTempProgramFolder::Read(const QString &name) const
{
    QFile file(FilePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TTempProgramFolder::Exists(const QString &name) const
{
    return QFile::exists(FilePath(name));
}

TRunAsNobody::TRunAsNobody()
{
#if defined(Q_OS_UNIX)
    if (geteuid() != 0)
        return;
    const passwd *nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    savedUid_ = geteuid();
    savedGid_ = getegid();
    // Group first: once the user id is no longer root, the group can no longer be changed.
    if (setegid(gid) != 0)
        return;
    if (seteuid(uid) != 0) {
        (void)setegid(savedGid_);
        return;
    }
    active_ = true;
#endif
}

TRunAsNobody::~TRunAsNobody()
{
#if defined(Q_OS_UNIX)
    if (!active_)
        return;
    // The saved user id is still root, so both switches back are allowed.
    (void)seteuid(savedUid_);
    (void)setegid(savedGid_);
#endif
}

bool TRunAsNobody::PermissionsApply() const
{
#if defined(Q_OS_UNIX)
    return geteuid() != 0;
#else
    return true;
#endif
}
