#include "inidocument.h"

#include "filefailure.h"
#include "initext.h"
#include "wholefile.h"
#include "win1251.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>

// The settings files are small and a user may edit them by hand, so a write changes only the
// one line it is about: comments, blank lines and everything else stay exactly as they were.

namespace
{

std::atomic<quint64> filesRead{0};

// The whole file; a missing file reads as empty. False when an existing file cannot be read,
// and, without opening it, when the name is no regular file (a pipe would never answer).
bool ReadWhole(const QString &path, QByteArray *bytes)
{
    bytes->clear();
    switch (InspectFile(path)) {
    case TFileKind::Missing:
    case TFileKind::LinkToNothing:
        return true;
    case TFileKind::Other:
        return false;
    case TFileKind::Regular:
        break;
    }
    ++filesRead;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// The file's text with one key set: its line replaced in place, or a new line after the last
// line of its section, or a new section at the end.
QString WithKeySet(const QString &text, const QString &section, const QString &key,
                   const QString &value)
{
    const QList<IniText::TLine> lines = IniText::SplitLines(text);
    const QString wantedSection = IniText::FoldName(section);
    const QString wantedKey = IniText::FoldName(key);
    const QString newLine = IniText::OneLine(key) + u'=' + IniText::OneLine(value);

    qsizetype sectionLine = -1; // header of the section, once found
    qsizetype lastLine = -1;    // last line with content inside that section
    qsizetype keyLine = -1;
    for (qsizetype i = 0; i < lines.size() && keyLine < 0; ++i) {
        const QStringView stripped = IniText::Strip(lines[i].text);
        QStringView name;
        if (IniText::IsSectionHeader(stripped, &name)) {
            if (sectionLine >= 0)
                break; // the section has ended without the key
            if (IniText::FoldName(name) == wantedSection)
                sectionLine = lastLine = i;
            continue;
        }
        if (sectionLine < 0 || IniText::IsIgnored(stripped))
            continue;
        lastLine = i;
        QStringView k;
        QStringView v;
        if (IniText::SplitKeyValue(stripped, &k, &v) && IniText::FoldName(k) == wantedKey)
            keyLine = i;
    }

    QString out;
    out.reserve(text.size() + newLine.size() + section.size() + 8);
    const QStringView crlf = u"\r\n";
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const IniText::TLine &line = lines[i];
        out += i == keyLine ? QStringView(newLine) : line.text;
        const bool insertAfter = keyLine < 0 && i == lastLine;
        out += line.lineBreak.isEmpty() && (insertAfter || i + 1 < lines.size()) ? crlf
                                                                                 : line.lineBreak;
        if (insertAfter) {
            out += newLine;
            out += crlf;
        }
    }
    if (sectionLine < 0) {
        if (!out.isEmpty() && !out.endsWith(u"\r\n\r\n") && !out.endsWith(u"\n\n")) {
            if (!out.endsWith(u'\n') && !out.endsWith(u'\r'))
                out += crlf;
            out += crlf; // one empty line between sections
        }
        out += u'[' + IniText::OneLine(section) + QStringLiteral("]\r\n") + newLine;
        out += crlf;
    }
    return out;
}

} // namespace

namespace PrivateProfile
{

TProfileSnapshot::TProfileSnapshot(const QString &path)
{
    QByteArray bytes;
    readable_ = ReadWhole(path, &bytes);
    if (readable_)
        document_ = TIniDocument::FromBytes(bytes);
}

QString TProfileSnapshot::ReadString(const QString &section, const QString &key,
                                     const QString &defaultValue) const
{
    return document_.Value(section, key, defaultValue);
}

qint32 TProfileSnapshot::ReadInt(const QString &section, const QString &key,
                                 qint32 defaultValue) const
{
    bool ok = false;
    const qint32 value = ReadString(section, key).toInt(&ok, 10);
    return ok ? value : defaultValue;
}

QString ReadString(const QString &path, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    return TProfileSnapshot(path).ReadString(section, key, defaultValue);
}

qint32 ReadInt(const QString &path, const QString &section, const QString &key, qint32 defaultValue)
{
    return TProfileSnapshot(path).ReadInt(section, key, defaultValue);
}

quint64 FilesRead()
{
    return filesRead;
}

bool WriteString(const QString &path, const QString &section, const QString &key,
                 const QString &value)
{
    QByteArray bytes;
    if (!ReadWhole(path, &bytes))
        return false;
    return SaveWholeFile(path, ToWin1251(WithKeySet(FromWin1251(bytes), section, key, value)));
}

bool EnsureFileExists(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.isFile();
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

} // namespace PrivateProfile
