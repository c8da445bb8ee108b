#include "inidocument.h"

#include "filefailure.h"
#include "initext.h"
#include "wholefile.h"
#include "win1251.h"

#include <QFile>

TIniDocument TIniDocument::FromBytes(const QByteArray &bytes)
{
    TIniDocument doc;
    const QString text = FromWin1251(bytes);
    const QList<IniText::TLine> lines = IniText::SplitLines(text);
    doc.sections_.reserve(lines.size() / 4 + 1);
    doc.sectionIndex_.reserve(lines.size() / 4 + 1);

    Section *current = nullptr; // lines before the first header belong nowhere
    for (const IniText::TLine &line : lines) {
        const QStringView stripped = IniText::Strip(line.text);
        if (IniText::IsIgnored(stripped))
            continue;
        QStringView name;
        if (IniText::IsSectionHeader(stripped, &name)) {
            // A name that comes again continues its first section, so no line is lost and
            // the first value of a key stays the one found.
            const QString folded = IniText::FoldName(name);
            auto it = doc.sectionIndex_.constFind(folded);
            const int pos = it != doc.sectionIndex_.cend()
                                ? it.value()
                                : doc.AddSection(name.toString(), folded);
            current = &doc.sections_[pos];
            continue;
        }
        if (!current)
            continue;
        QStringView key;
        QStringView value;
        if (IniText::SplitKeyValue(stripped, &key, &value))
            AddEntry(*current, Entry{key.toString(), value.toString(), true});
        else
            AddEntry(*current, Entry{QString(), stripped.toString(), false});
    }
    return doc;
}

bool TIniDocument::Load(const QString &path, QString *errorText)
{
    QString reason;
    switch (InspectFile(path, &reason)) {
    case TFileKind::Missing:
    case TFileKind::LinkToNothing:
        *this = TIniDocument();
        return true;
    case TFileKind::Other:
        // Refused before it is opened: a pipe or a device would keep the program waiting.
        if (errorText)
            *errorText = reason;
        return false;
    case TFileKind::Regular:
        break;
    }
    QFile file(path);
    QByteArray bytes;
    if (!TryFileCall(file, errorText, [&] { return file.open(QIODevice::ReadOnly); }) ||
        !TryFileCall(file, errorText, [&] {
            bytes = file.readAll();
            return file.error() == QFileDevice::NoError;
        }))
        return false;
    *this = FromBytes(bytes);
    return true;
}

QByteArray TIniDocument::ToBytes() const
{
    qsizetype size = 0;
    for (const Section &s : sections_) {
        size += s.name.size() + 5;
        for (const Entry &e : s.entries)
            size += e.key.size() + e.value.size() + 3;
    }
    QString text;
    text.reserve(size);
    for (const Section &s : sections_) {
        text += u'[';
        text += IniText::OneLine(s.name);
        text += u"]\r\n";
        for (const Entry &e : s.entries) {
            if (e.hasKey) {
                text += IniText::OneLine(e.key);
                text += u'=';
            }
            text += IniText::OneLine(e.value);
            text += u"\r\n";
        }
        text += u"\r\n";
    }
    return ToWin1251(text);
}

bool TIniDocument::Save(const QString &path, QString *errorText) const
{
    return SaveWholeFile(path, ToBytes(), errorText);
}

QString TIniDocument::Value(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const int s = FindSection(section);
    if (s < 0)
        return defaultValue;
    const int e = FindEntry(sections_[s], key);
    return e < 0 ? defaultValue : sections_[s].entries[e].value;
}

void TIniDocument::SetValue(const QString &section, const QString &key, const QString &value)
{
    int s = FindSection(section);
    if (s < 0)
        s = AddSection(section, IniText::FoldName(section));
    Section &sec = sections_[s];
    const int e = FindEntry(sec, key);
    if (e >= 0)
        sec.entries[e].value = value;
    else
        AddEntry(sec, Entry{key, value, true});
}

bool TIniDocument::HasSection(const QString &section) const
{
    return FindSection(section) >= 0;
}

bool TIniDocument::HasKey(const QString &section, const QString &key) const
{
    const int s = FindSection(section);
    return s >= 0 && FindEntry(sections_[s], key) >= 0;
}

QStringList TIniDocument::Sections() const
{
    QStringList names;
    names.reserve(sections_.size());
    for (const Section &s : sections_)
        names.append(s.name);
    return names;
}

QStringList TIniDocument::Keys(const QString &section) const
{
    QStringList keys;
    const int s = FindSection(section);
    if (s < 0)
        return keys;
    for (const Entry &e : sections_[s].entries)
        if (e.hasKey)
            keys.append(e.key);
    return keys;
}

int TIniDocument::FindSection(const QString &section) const
{
    return sectionIndex_.value(IniText::FoldName(section), -1);
}

namespace
{
constexpr qsizetype kScanLimit = 16; // lines a section is searched through without its index
}

int TIniDocument::FindEntry(const Section &s, const QString &key)
{
    if (!s.index.isEmpty())
        return s.index.value(IniText::FoldName(key), -1);
    for (qsizetype i = 0; i < s.entries.size(); ++i)
        if (s.entries[i].hasKey && IniText::SameName(s.entries[i].key, key))
            return int(i);
    return -1;
}

void TIniDocument::AddEntry(Section &s, Entry entry)
{
    s.entries.append(std::move(entry));
    if (s.index.isEmpty() && s.entries.size() <= kScanLimit)
        return;
    // A key that comes again: its first line is the one that counts.
    const qsizetype from = s.index.isEmpty() ? 0 : s.entries.size() - 1;
    for (qsizetype i = from; i < s.entries.size(); ++i) {
        if (!s.entries[i].hasKey)
            continue;
        const QString folded = IniText::FoldName(s.entries[i].key);
        if (!s.index.contains(folded))
            s.index.insert(folded, int(i));
    }
}

int TIniDocument::AddSection(const QString &name, const QString &folded)
{
    const int pos = int(sections_.size());
    sections_.append(Section{name, {}, {}});
    sectionIndex_.insert(folded, pos);
    return pos;
}
