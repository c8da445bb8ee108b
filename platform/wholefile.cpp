#include "wholefile.h"

#include "filefailure.h"

#include <QSaveFile>

bool SaveWholeFile(const QString &path, const QByteArray &bytes, QString *errorText)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    // Flushed before the commit, which would otherwise put a file a full disk cut short in
    // place of the old one.
    return TryFileCall(file, errorText, [&] { return file.open(QIODevice::WriteOnly); }) &&
           TryFileCall(file, errorText, [&] { return file.write(bytes) == bytes.size(); }) &&
           TryFileCall(file, errorText, [&] { return file.flush(); }) &&
           TryFileCall(file, errorText, [&] { return file.commit(); });
}
