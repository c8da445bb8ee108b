#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// A whole INI file held in memory: read once, changed in place, written back once.
// Used for ".conf" and ".dbZ48" files (thousands of sections), and, key by key, for the two
// settings files. Files are Windows-1251; section and key names compare without regard to
// letter case, Cyrillic included.
class TIniDocument
{
public:
    TIniDocument() = default;

    // Parses file contents (Windows-1251 bytes) by the reading rules.
    static TIniDocument FromBytes(const QByteArray &bytes);
    // Reads a file; a missing file (or a link to nothing) gives an empty document. Returns false
    // (with errorText set) when an existing file cannot be read, and, without opening it, for
    // a name that is no regular file: a folder, a pipe, a device.
    bool Load(const QString &path, QString *errorText = nullptr);

    // The writing layout: "[Section]" header line, its "Key=Value" lines, one empty line; CR LF.
    QByteArray ToBytes() const;
    // Writes the whole file at once (QSaveFile): a failed save leaves the old file as it was.
    // Only where the folder takes no temporary file is a writable file written in place.
    bool Save(const QString &path, QString *errorText = nullptr) const;

    // The value, or defaultValue when the section or key is missing.
    QString Value(const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;
    // Sets the key in place, or appends it to its section; a missing section is appended at the
    // end.
    void SetValue(const QString &section, const QString &key, const QString &value);

    bool HasSection(const QString &section) const;
    bool HasKey(const QString &section, const QString &key) const;
    QStringList Sections() const;
    QStringList Keys(const QString &section) const;
    int SectionCount() const { return sections_.size(); }

private:
    struct Entry {
        QString key;        // as read or set
        QString value;      // the value, or the whole line when hasKey is false
        bool hasKey = true; // false for a line without "=", kept as it was
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
        // Folded key -> first entry of that key; kept only for sections with many lines, as
        // the usual few keys are found faster by a plain scan.
        QHash<QString, int> index;
    };

    int FindSection(const QString &section) const;
    static int FindEntry(const Section &s, const QString &key);
    static void AddEntry(Section &s, Entry entry);
    int AddSection(const QString &name, const QString &folded);

    QVector<Section> sections_;
    QHash<QString, int> sectionIndex_; // folded name -> position in sections_
};

// Key-by-key access to a small settings file, as the private-profile functions give it:
// every call reads the file, every write writes it back.
namespace PrivateProfile
{
// One reading of the file for several keys: it is read and parsed once, and every key is then
// found as ReadString and ReadInt below find it (which read through one of these each time).
class TProfileSnapshot
{
public:
    explicit TProfileSnapshot(const QString &path);
    // False when the file exists but cannot be read, or is no regular file; every key then gives
    // its default. A missing file is readable and empty.
    bool Readable() const { return readable_; }
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    qint32 ReadInt(const QString &section, const QString &key, qint32 defaultValue) const;

private:
    TIniDocument document_;
    bool readable_ = false;
};

// The value of the key, or defaultValue.
QString ReadString(const QString &path, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
// An integer value; a value that is not a whole number gives defaultValue.
qint32 ReadInt(const QString &path, const QString &section, const QString &key,
               qint32 defaultValue);
// Writes one key; false when the file cannot be written.
bool WriteString(const QString &path, const QString &section, const QString &key,
                 const QString &value);
// Creates the file empty when it does not exist; false when that fails.
bool EnsureFileExists(const QString &path);
// How many times a settings file has been read since the program started (a write reads it
// too): start-up reads each file once, however many keys it takes from it.
quint64 FilesRead();
} // namespace PrivateProfile
