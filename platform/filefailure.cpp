#include "filefailure.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace
{

const QString kNotRegular = QStringLiteral("Это не обычный файл (канал, устройство или сокет)");

void SetReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

} // namespace

QString SystemErrorText(int systemError)
{
    switch (systemError) {
    case ENOSPC:
        return QStringLiteral("Нет свободного места на устройстве");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Превышена дисковая квота");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("Доступ запрещён");
    case EROFS:
        return QStringLiteral("Файловая система доступна только для чтения");
    case ENOENT:
        return QStringLiteral("Нет такого файла или каталога");
    case ELOOP:
        return QStringLiteral("Слишком много уровней символических ссылок");
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя файла");
    case EISDIR:
        return QStringLiteral("Это каталог, а не файл");
    case ENOTDIR:
        return QStringLiteral("Часть пути не является каталогом");
    case EEXIST:
        return QStringLiteral("Файл уже существует");
    case EIO:
        return QStringLiteral("Ошибка ввода-вывода");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Слишком много открытых файлов");
    case EBUSY:
        return QStringLiteral("Устройство или ресурс заняты");
    case ETXTBSY:
        return QStringLiteral("Файл занят другой программой");
    case EFBIG:
        return QStringLiteral("Файл слишком велик");
    default:
        return QStringLiteral("Неизвестная ошибка (код %1)").arg(systemError);
    }
}

QString FileErrorText(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::ReadError:
        return QStringLiteral("Ошибка чтения");
    case QFileDevice::WriteError:
        return QStringLiteral("Ошибка записи");
    case QFileDevice::FatalError:
        return QStringLiteral("Неустранимая ошибка");
    case QFileDevice::ResourceError:
        return QStringLiteral("Недостаточно места на диске или памяти");
    case QFileDevice::OpenError:
        return QStringLiteral("Не удалось открыть файл");
    case QFileDevice::AbortError:
        return QStringLiteral("Операция прервана");
    case QFileDevice::TimeOutError:
        return QStringLiteral("Превышено время ожидания");
    case QFileDevice::RemoveError:
        return QStringLiteral("Не удалось удалить файл");
    case QFileDevice::RenameError:
        return QStringLiteral("Не удалось заменить файл");
    case QFileDevice::PositionError:
        return QStringLiteral("Ошибка позиционирования в файле");
    case QFileDevice::ResizeError:
        return QStringLiteral("Не удалось изменить размер файла");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Доступ запрещён");
    case QFileDevice::CopyError:
        return QStringLiteral("Не удалось скопировать файл");
    case QFileDevice::NoError:
    case QFileDevice::UnspecifiedError:
        break;
    }
    return QStringLiteral("Неизвестная ошибка");
}

QString FileFailureText(int systemError, QFileDevice::FileError error)
{
    return systemError != 0 ? SystemErrorText(systemError) : FileErrorText(error);
}

#if defined(Q_OS_WIN)
namespace
{
// Qt's file calls on Windows leave the system's reason in GetLastError(), not in errno: the
// common ones are given the same numbers, so the user reads the same reasons on both systems.
int ErrnoOfWindowsError(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return ETXTBSY;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return EIO;
    default:
        // No text of its own: Qt's kind of failure says more than a bare code.
        return 0;
    }
}
} // namespace
#endif

int LastFileError()
{
#if defined(Q_OS_UNIX)
    return errno;
#elif defined(Q_OS_WIN)
    return ErrnoOfWindowsError(GetLastError());
#else
    return 0;
#endif
}

void ClearFileError()
{
    errno = 0;
#if defined(Q_OS_WIN)
    SetLastError(ERROR_SUCCESS);
#endif
}

TFileKind InspectFile(const QString &path, QString *reason)
{
#if defined(Q_OS_UNIX)
    const QByteArray name = QFile::encodeName(path);
    struct stat st {
    };
    if (::stat(name.constData(), &st) == 0) {
        if (S_ISREG(st.st_mode))
            return TFileKind::Regular;
        SetReason(reason, S_ISDIR(st.st_mode) ? SystemErrorText(EISDIR) : kNotRegular);
        return TFileKind::Other;
    }
    const int error = errno;
    if (error != ENOENT) {
        SetReason(reason, SystemErrorText(error));
        return TFileKind::Other;
    }
    if (::lstat(name.constData(), &st) != 0)
        return TFileKind::Missing;
    SetReason(reason, SystemErrorText(ENOENT));
    return TFileKind::LinkToNothing;
#else
    const QFileInfo info(path);
    if (info.isFile())
        return TFileKind::Regular;
    if (info.isSymLink() && !info.exists()) {
        SetReason(reason, SystemErrorText(ENOENT));
        return TFileKind::LinkToNothing;
    }
    if (!info.exists())
        return TFileKind::Missing;
    SetReason(reason, info.isDir() ? SystemErrorText(EISDIR) : kNotRegular);
    return TFileKind::Other;
#endif
}
