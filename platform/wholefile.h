#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes as the whole new content of the file at path. They go to a temporary file that
// replaces the old one only once it is complete and flushed, so a full disk or a lost write
// never leaves half a file behind. A file the user may write in a folder that takes no new file
// is written in place: the save then goes through, though a failure halfway leaves the file cut
// short. On failure errorText gets the reason, in the words the user is shown.
bool SaveWholeFile(const QString &path, const QByteArray &bytes, QString *errorText = nullptr);
