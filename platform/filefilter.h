#pragma once

#include <QString>

// The program names its file types the Windows way, "Description (*.ext)|*.ext", pairs joined by
// "|"; Qt's file dialogs take "Description (*.ext)", entries joined by ";;".
QString QtFileFilter(const QString &windowsFilter);

// The file name with ".defaultExt" appended when its last component has no extension, as the
// common file dialogs do with a name typed without one. An empty name stays empty.
QString WithDefaultExtension(const QString &fileName, const QString &defaultExt);
