#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_LINUX)
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

bool TTempProgramFolder::MakeSpecial(const QString &name, Special kind) const
{
    const QString path = FilePath(name);
    switch (kind) {
    case Special::Pipe:
#if defined(Q_OS_LINUX)
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
#else
        return false;
#endif
    case Special::LinkLoop: {
        // Targets are relative to the link's own folder.
        const QString own = QFileInfo(path).fileName();
        return QFile::link(own + QStringLiteral(".back"), path) &&
               QFile::link(own, path + QStringLiteral(".back"));
    }
    case Special::LinkToNothing:
        return QFile::link(QStringLiteral("nowhere"), path);
    }
    return false;
}

TTinyDisk::TTinyDisk(const QString &folder) : folder_(QFile::encodeName(folder))
{
#if defined(Q_OS_LINUX)
    mounted_ = QDir().mkpath(folder) &&
               ::mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=4k,mode=0755") == 0;
    if (!mounted_)
        whyNot_ = QByteArray("cannot mount a tiny tmpfs here: ") + std::strerror(errno);
#elif defined(Q_OS_WIN)
    whyNot_ = "Windows has no tiny tmpfs to mount here";
#else
    whyNot_ = "a tiny tmpfs can be mounted on Linux only";
#endif
}

TTinyDisk::~TTinyDisk()
{
#if defined(Q_OS_LINUX)
    if (mounted_ && ::umount(folder_.constData()) != 0)
        (void)::umount2(folder_.constData(), MNT_DETACH);
#endif
}

TRunAsNobody::TRunAsNobody()
{
#if defined(Q_OS_LINUX)
    if (geteuid() != 0)
        return;
    const passwd *nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    savedUid_ = geteuid();
    savedGid_ = getegid();
    // Real and effective ids both, since permission checks such as access() go by the real
    // one; the saved ids stay root so the destructor may switch back. Group first: once the
    // user is no longer root, the group can no longer be changed.
    if (setresgid(gid, gid, savedGid_) != 0)
        return;
    if (setresuid(uid, uid, savedUid_) != 0) {
        (void)setresgid(savedGid_, savedGid_, savedGid_);
        return;
    }
    active_ = true;
#endif
}

TRunAsNobody::~TRunAsNobody()
{
#if defined(Q_OS_LINUX)
    if (!active_)
        return;
    // The saved user id is still root, so both switches back are allowed.
    (void)setresuid(savedUid_, savedUid_, savedUid_);
    (void)setresgid(savedGid_, savedGid_, savedGid_);
#endif
}

bool TRunAsNobody::PermissionsApply() const
{
#if defined(Q_OS_LINUX)
    return geteuid() != 0;
#else
    return true;
#endif
}
