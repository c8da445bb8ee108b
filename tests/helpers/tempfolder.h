#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// Windows has no Unix mode bits and no other user for a test to run as, so a test that makes a
// file or folder unreadable or unwritable for the program cannot meet that case there; nor are
// there named pipes or symbolic links to put in a folder (QFile::link makes shortcuts).
#ifdef Q_OS_WIN
#define KKT_SKIP_WITHOUT_MODE_BITS()                                                               \
    QSKIP("Windows has no Unix mode bits and no other user to run as here")
#define KKT_SKIP_WITHOUT_SPECIAL_FILES()                                                           \
    QSKIP("Windows has no named pipes or symbolic links in a folder")
#else
#define KKT_SKIP_WITHOUT_MODE_BITS() static_cast<void>(0)
#define KKT_SKIP_WITHOUT_SPECIAL_FILES() static_cast<void>(0)
#endif

// A temporary folder that is the program's folder while it lives: KKT_PROGRAM_DIR points at it
// (so "ProgSett.ini" and "Scan.cfg" land there) and is restored on destruction; the folder and
// everything in it are removed.
class TTempProgramFolder
{
public:
    TTempProgramFolder();
    ~TTempProgramFolder();
    TTempProgramFolder(const TTempProgramFolder &) = delete;
    TTempProgramFolder &operator=(const TTempProgramFolder &) = delete;

    bool IsValid() const { return dir_.isValid(); }
    // The folder, with a trailing "/".
    QString Path() const;
    // The path of a file in the folder.
    QString FilePath(const QString &name) const;
    // Whole-file helpers for fixtures; Read gives an empty array for a missing file.
    bool Write(const QString &name, const QByteArray &bytes) const;
    QByteArray Read(const QString &name) const;
    bool Exists(const QString &name) const;

    // Puts at name something that is no regular file, for the loads to refuse.
    enum class Special { Pipe, LinkLoop, LinkToNothing };
    bool MakeSpecial(const QString &name, Special kind) const;

private:
    QTemporaryDir dir_;
    QByteArray oldValue_;
    bool hadValue_ = false;
};

// While it lives, file access happens as the unprivileged user "nobody" (effective user and
// group ids, real and effective), so a test running as root can see a folder or file that is not
// writable for what it is. Active() is false when the process is not root or the switch failed;
// such a test is then run as it is (an ordinary user already meets the permissions) or skipped.
class TRunAsNobody
{
public:
    TRunAsNobody();
    ~TRunAsNobody();
    TRunAsNobody(const TRunAsNobody &) = delete;
    TRunAsNobody &operator=(const TRunAsNobody &) = delete;

    bool Active() const { return active_; }
    // Whether permissions apply to this process now (switched, or never root).
    bool PermissionsApply() const;

private:
    bool active_ = false;
    unsigned savedUid_ = 0;
    unsigned savedGid_ = 0;
};

// A tmpfs of one page mounted on folder (created when missing) while it lives: once a small file
// is on it, it is full, so a save runs out of space for real. Unmounted on destruction.
// Mounting needs root: where it fails, Mounted() is false and WhyNot() says why, for QSKIP.
class TTinyDisk
{
public:
    explicit TTinyDisk(const QString &folder);
    ~TTinyDisk();
    TTinyDisk(const TTinyDisk &) = delete;
    TTinyDisk &operator=(const TTinyDisk &) = delete;

    bool Mounted() const { return mounted_; }
    const char *WhyNot() const { return whyNot_.constData(); }

private:
    QByteArray folder_;
    bool mounted_ = false;
    QByteArray whyNot_;
};
