#include "filefilter.h"

#include <QFileInfo>
#include <QStringList>

QString QtFileFilter(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        // Windows separates several patterns with ";", Qt with blanks.
        const QString patterns =
            i + 1 < parts.size() ? parts[i + 1].trimmed().replace(u';', u' ') : QString();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (patterns.isEmpty() || description.contains(u'(' + patterns + u')'))
            entries.append(description);
        else if (description.isEmpty())
            entries.append(patterns);
        else
            entries.append(description + QStringLiteral(" (") + patterns + u')');
    }
    return entries.join(u";;");
}

QString WithDefaultExtension(const QString &fileName, const QString &defaultExt)
{
    if (fileName.isEmpty() || defaultExt.isEmpty())
        return fileName;
    if (QFileInfo(fileName).fileName().contains(u'.'))
        return fileName;
    return fileName + u'.' + defaultExt;
}
