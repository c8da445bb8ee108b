#pragma once

#include <QFileDevice>
#include <QString>

// Why a file could not be read or written, in the words the user is shown. The system's own
// texts are English and Qt's are often only "Неизвестная ошибка", so the reason is taken from
// the system's error number of the call that failed.

// The reason for a system error number (errno): "Нет свободного места на устройстве", ...; a
// number without a text of its own gives "Неизвестная ошибка (код N)".
QString SystemErrorText(int systemError);
// The reason for Qt's kind of failure, where the system gave no number.
QString FileErrorText(QFileDevice::FileError error);
// The number when there is one, otherwise the kind.
QString FileFailureText(int systemError, QFileDevice::FileError error);

// The system's error number of the file call that has just failed (on Windows, the errno of
// GetLastError()'s common reasons; 0 for the others). Read it at once: any later call may
// change it.
int LastFileError();
void ClearFileError();

// Runs one call on file (open, write, flush, commit...). When it fails, errorText gets the
// reason, taken before anything else can overwrite the error number.
template <typename Call> bool TryFileCall(const QFileDevice &file, QString *errorText, Call call)
{
    ClearFileError();
    if (call())
        return true;
    const int systemError = LastFileError();
    if (errorText)
        *errorText = FileFailureText(systemError, file.error());
    return false;
}

// What is at a name, looked at without opening it: opening a pipe or a device for reading can
// wait for ever.
enum class TFileKind {
    Regular,       // a file, or a link to one
    Missing,       // nothing at the name
    LinkToNothing, // a symbolic link whose target does not exist (writing creates the target)
    Other,         // a folder, a pipe, a device, a link loop, a name that cannot be looked at
};
// The kind; reason gets why for LinkToNothing and Other.
TFileKind InspectFile(const QString &path, QString *reason = nullptr);
