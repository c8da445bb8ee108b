#include "filefailure.h"
#include "inidocument.h"
#include "tempfolder.h"
#include "win1251.h"

#include <QtTest/QtTest>

#include <sys/stat.h>

#include <cerrno>

// Rows of a reading case: one (section, key, expected value) lookup per entry; a null expected
// value means "missing", seen through the default "<default>".
struct TLookup {
    QString section;
    QString key;
    QString expected;
};
Q_DECLARE_METATYPE(QList<TLookup>)

namespace
{

const QString kMissing = QStringLiteral("<default>");

QByteArray Cp(const QString &text)
{
    return ToWin1251(text);
}

bool SetMode(const QString &path, int mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

} // namespace

class TstIniDocument : public QObject
{
    Q_OBJECT

private slots:
    void readingRules_data();
    void readingRules();
    void sectionsAndKeysAreListedInFileOrder();
    void namesIgnoreLetterCaseCyrillicIncluded();
    void settingAValueKeepsItsPlace();
    void newKeyGoesToTheEndOfItsSection();
    void newSectionGoesToTheEnd();
    void writingLayoutIsExact();
    void lineBreaksInsideAValueCannotForgeLines();
    void mergingIntoAnExistingFile();
    void loadingAMissingFileGivesAnEmptyDocument();
    void savingIntoAnUnwritableFolderFailsAndKeepsTheOldFile();
    void writableFileInAReadOnlyFolderIsWrittenInPlace();
    void fullDiskKeepsTheOldFileAndSaysWhy();
    void reasonsAreInRussian_data();
    void reasonsAreInRussian();
    void savingOntoAFolderFails();
    void largeDocumentRoundTrip();
};

void TstIniDocument::readingRules_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<TLookup>>("lookups");

    QTest::newRow("CR LF") << QStringLiteral("[A]\r\nk=1\r\nj=2\r\n")
                           << QList<TLookup>{{"A", "k", "1"}, {"A", "j", "2"}};
    QTest::newRow("LF only") << QStringLiteral("[A]\nk=1\nj=2\n")
                             << QList<TLookup>{{"A", "k", "1"}, {"A", "j", "2"}};
    QTest::newRow("CR only") << QStringLiteral("[A]\rk=1\rj=2")
                             << QList<TLookup>{{"A", "k", "1"}, {"A", "j", "2"}};
    QTest::newRow("mixed breaks, empty line as LF CR")
        << QStringLiteral("[A]\n\rk=1\r\n\r\n[B]\rj=2")
        << QList<TLookup>{{"A", "k", "1"}, {"B", "j", "2"}};
    QTest::newRow("blanks around key and value dropped")
        << QStringLiteral("[A]\r\n  k  =  v  w \t\r\n")
        << QList<TLookup>{{"A", "k", "v  w"}, {"A", "  k  ", kMissing}};
    QTest::newRow("control characters stripped like blanks")
        << QStringLiteral("\t[A]\x01\r\n\x1Fk=v\x7F\r\n") << QList<TLookup>{{"A", "k", "v"}};
    QTest::newRow("only the first = separates")
        << QStringLiteral("[A]\r\nk=a=b==c\r\n=x\r\n")
        << QList<TLookup>{{"A", "k", "a=b==c"}, {"A", "", "x"}};
    QTest::newRow("empty value is a value, not a missing key")
        << QStringLiteral("[A]\r\nk=\r\n") << QList<TLookup>{{"A", "k", ""}, {"A", "m", kMissing}};
    QTest::newRow("comment lines ignored, even indented")
        << QStringLiteral("[A]\r\n;k=1\r\n   ;j=2\r\nm=3;not a comment\r\n")
        << QList<TLookup>{
               {"A", "k", kMissing}, {"A", "j", kMissing}, {"A", "m", "3;not a comment"}};
    QTest::newRow("lines before the first section ignored")
        << QStringLiteral("k=0\r\n[A]\r\nj=1\r\n")
        << QList<TLookup>{{"", "k", kMissing}, {"A", "k", kMissing}, {"A", "j", "1"}};
    QTest::newRow("section name stripped inside the brackets")
        << QStringLiteral("[  Имя раздела \t]\r\nk=1\r\n")
        << QList<TLookup>{{"Имя раздела", "k", "1"}};
    QTest::newRow("header must end with the bracket")
        << QStringLiteral("[A]\r\nk=1\r\n[B] ;c\r\nj=2\r\n")
        << QList<TLookup>{{"A", "j", "2"}, {"B", "j", kMissing}};
    QTest::newRow("line without = matches no key")
        << QStringLiteral("[A]\r\nloose\r\nk=1\r\n")
        << QList<TLookup>{{"A", "loose", kMissing}, {"A", "k", "1"}};
    QTest::newRow("first of a repeated key counts")
        << QStringLiteral("[A]\r\nk=1\r\nK=2\r\n") << QList<TLookup>{{"A", "k", "1"}};
    QTest::newRow("repeated section continues the first")
        << QStringLiteral("[A]\r\nk=1\r\n[B]\r\n[a]\r\nj=2\r\nk=3\r\n")
        << QList<TLookup>{{"A", "k", "1"}, {"A", "j", "2"}, {"B", "j", kMissing}};
    QTest::newRow("empty section name")
        << QStringLiteral("[]\r\nk=1\r\n") << QList<TLookup>{{"", "k", "1"}};
    QTest::newRow("Cyrillic keys in other case")
        << QStringLiteral("[товар_#17]\r\nнаименование = Хлеб \r\nТИП ШРИФТА=Широкий\r\n")
        << QList<TLookup>{{"ТОВАР_#17", "Наименование", "Хлеб"},
                          {"ТОВАР_#17", "Тип шрифта", "Широкий"}};
    QTest::newRow("no sections at all")
        << QStringLiteral("just text\r\n;x\r\n") << QList<TLookup>{{"just text", "", kMissing}};
    QTest::newRow("empty file") << QString() << QList<TLookup>{{"A", "k", kMissing}};
    QTest::newRow("no final line break")
        << QStringLiteral("[A]\r\nk=end") << QList<TLookup>{{"A", "k", "end"}};
}

void TstIniDocument::readingRules()
{
    QFETCH(QString, file);
    QFETCH(QList<TLookup>, lookups);
    const TIniDocument doc = TIniDocument::FromBytes(Cp(file));
    for (const TLookup &l : lookups) {
        const QString got = doc.Value(l.section, l.key, kMissing);
        QVERIFY2(got == l.expected,
                 qPrintable(QStringLiteral("[%1] %2: got \"%3\", expected \"%4\"")
                                .arg(l.section, l.key, got, l.expected)));
        QCOMPARE(doc.HasKey(l.section, l.key), l.expected != kMissing);
    }
}

void TstIniDocument::sectionsAndKeysAreListedInFileOrder()
{
    const TIniDocument doc = TIniDocument::FromBytes(
        Cp(QStringLiteral("x=0\r\n[Z]\r\nb=1\r\nloose\r\na=2\r\n[Y]\r\n[z]\r\nc=3\r\n")));
    QCOMPARE(doc.Sections(), (QStringList{"Z", "Y"}));
    QCOMPARE(doc.SectionCount(), 2);
    QCOMPARE(doc.Keys("z"), (QStringList{"b", "a", "c"}));
    QCOMPARE(doc.Keys("Y"), QStringList());
    QCOMPARE(doc.Keys("missing"), QStringList());
    QVERIFY(doc.HasSection("y"));
    QVERIFY(!doc.HasSection("x"));
}

void TstIniDocument::namesIgnoreLetterCaseCyrillicIncluded()
{
    TIniDocument doc;
    doc.SetValue(QStringLiteral("ТОВАР_#1"), QStringLiteral("Наименование"),
                 QStringLiteral("Хлеб"));
    doc.SetValue(QStringLiteral("товар_#1"), QStringLiteral("НАИМЕНОВАНИЕ"), QStringLiteral("Сыр"));
    doc.SetValue(QStringLiteral("ёлка"), QStringLiteral("Ключ"), QStringLiteral("1"));
    QCOMPARE(doc.SectionCount(), 2);
    QCOMPARE(doc.Value(QStringLiteral("Товар_#1"), QStringLiteral("наименование")),
             QStringLiteral("Сыр"));
    QCOMPARE(doc.Value(QStringLiteral("ЁЛКА"), QStringLiteral("КЛЮЧ")), QStringLiteral("1"));
    // The name keeps the spelling it was first written with.
    QCOMPARE(doc.Sections(), (QStringList{QStringLiteral("ТОВАР_#1"), QStringLiteral("ёлка")}));
    QCOMPARE(doc.Keys(QStringLiteral("ТОВАР_#1")), QStringList{QStringLiteral("Наименование")});
    // Different letters stay different names.
    QVERIFY(!doc.HasSection(QStringLiteral("ТОВАР_#10")));
    QVERIFY(!doc.HasSection(QStringLiteral("елка")));
}

void TstIniDocument::settingAValueKeepsItsPlace()
{
    TIniDocument doc = TIniDocument::FromBytes("[S]\r\na=1\r\nb=2\r\nc=3\r\n");
    doc.SetValue("s", "B", "new");
    QCOMPARE(doc.Keys("S"), (QStringList{"a", "b", "c"}));
    QCOMPARE(doc.ToBytes(), QByteArray("[S]\r\na=1\r\nb=new\r\nc=3\r\n\r\n"));
}

void TstIniDocument::newKeyGoesToTheEndOfItsSection()
{
    TIniDocument doc = TIniDocument::FromBytes("[S]\r\na=1\r\n[T]\r\nx=9\r\n");
    doc.SetValue("S", "d", "4");
    QCOMPARE(doc.ToBytes(), QByteArray("[S]\r\na=1\r\nd=4\r\n\r\n[T]\r\nx=9\r\n\r\n"));
}

void TstIniDocument::newSectionGoesToTheEnd()
{
    TIniDocument doc = TIniDocument::FromBytes("[S]\r\na=1\r\n");
    doc.SetValue("N", "k", "v");
    doc.SetValue("S", "b", "2");
    QCOMPARE(doc.Sections(), (QStringList{"S", "N"}));
    QCOMPARE(doc.ToBytes(), QByteArray("[S]\r\na=1\r\nb=2\r\n\r\n[N]\r\nk=v\r\n\r\n"));
}

void TstIniDocument::writingLayoutIsExact()
{
    TIniDocument doc;
    doc.SetValue(QStringLiteral("ТОВАР_#1"), QStringLiteral("Наименование"), QString());
    doc.SetValue(QStringLiteral("ТОВАР_#1"), QStringLiteral("Тип шрифта"), QStringLiteral("Узкий"));
    doc.SetValue(QStringLiteral("ТОВАР_#2"), QStringLiteral("Цена"), QStringLiteral("1.50"));
    // Written out by hand in Windows-1251: no blanks around "=", CR LF, one empty line after
    // every section, the last one included.
    const QByteArray expected = "[\xD2\xCE\xC2\xC0\xD0_#1]\r\n"
                                "\xCD\xE0\xE8\xEC\xE5\xED\xEE\xE2\xE0\xED\xE8\xE5=\r\n"
                                "\xD2\xE8\xEF \xF8\xF0\xE8\xF4\xF2\xE0=\xD3\xE7\xEA\xE8\xE9\r\n"
                                "\r\n"
                                "[\xD2\xCE\xC2\xC0\xD0_#2]\r\n"
                                "\xD6\xE5\xED\xE0=1.50\r\n"
                                "\r\n";
    QCOMPARE(doc.ToBytes(), expected);
    QCOMPARE(TIniDocument().ToBytes(), QByteArray());
    // What is written reads back to the same document.
    QCOMPARE(TIniDocument::FromBytes(expected).ToBytes(), expected);
}

void TstIniDocument::lineBreaksInsideAValueCannotForgeLines()
{
    TIniDocument doc;
    doc.SetValue("S", "k", "a\r\n[Forged]\r\nx=1");
    doc.SetValue("S", "j", "2");
    const TIniDocument back = TIniDocument::FromBytes(doc.ToBytes());
    QCOMPARE(back.Sections(), QStringList{"S"});
    QCOMPARE(back.Value("S", "k"), QStringLiteral("a  [Forged]  x=1"));
    QCOMPARE(back.Value("S", "j"), QStringLiteral("2"));
}

void TstIniDocument::mergingIntoAnExistingFile()
{
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    const QString path = folder.FilePath("merge.conf");
    QVERIFY(folder.Write("merge.conf", Cp(QStringLiteral("; written by hand\r\n"
                                                         "orphan=1\r\n"
                                                         "[Чужой]\r\n"
                                                         "Ключ = свой \r\n"
                                                         "\r\n"
                                                         "[GSM]\n"
                                                         "Другой=1\n"
                                                         "; note\n"
                                                         "имя сервера офд=old\n"
                                                         "loose line\n"))));
    TIniDocument doc;
    QString error;
    QVERIFY(doc.Load(path, &error));
    doc.SetValue("GSM", QStringLiteral("Имя сервера ОФД"), "10.0.0.1");
    doc.SetValue("GSM", QStringLiteral("Порт сервера ОФД"), "ofd");
    doc.SetValue(QStringLiteral("CFGKKT_ТОВАР_#0"), QStringLiteral("Наименование"), "");
    QVERIFY2(doc.Save(path, &error), qPrintable(error));

    // Unknown sections and keys stay in their places with their values; comments, blank lines
    // and lines before the first section are dropped; the file is CR LF throughout.
    QCOMPARE(folder.Read("merge.conf"), Cp(QStringLiteral("[Чужой]\r\n"
                                                          "Ключ=свой\r\n"
                                                          "\r\n"
                                                          "[GSM]\r\n"
                                                          "Другой=1\r\n"
                                                          "имя сервера офд=10.0.0.1\r\n"
                                                          "loose line\r\n"
                                                          "Порт сервера ОФД=ofd\r\n"
                                                          "\r\n"
                                                          "[CFGKKT_ТОВАР_#0]\r\n"
                                                          "Наименование=\r\n"
                                                          "\r\n")));
}

void TstIniDocument::loadingAMissingFileGivesAnEmptyDocument()
{
    TTempProgramFolder folder;
    TIniDocument doc = TIniDocument::FromBytes("[A]\r\nk=1\r\n");
    QVERIFY(doc.Load(folder.FilePath("none.dbZ48")));
    QCOMPARE(doc.SectionCount(), 0);
    QVERIFY(!folder.Exists("none.dbZ48"));
}

void TstIniDocument::savingIntoAnUnwritableFolderFailsAndKeepsTheOldFile()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    const QString sub = folder.FilePath("locked");
    QVERIFY(QDir().mkdir(sub));
    const QString path = sub + "/base.dbZ48";
    const QByteArray old = "[A]\r\nk=old\r\n\r\n";
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(old), old.size());
    }
    // Readable and enterable for everyone, writable for its owner only.
    QVERIFY(QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                           QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                           QFileDevice::ExeGroup));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther |
                                            QFileDevice::ReadGroup));
    QFile::setPermissions(folder.Path(), QFile::permissions(folder.Path()) | QFileDevice::ExeOther |
                                             QFileDevice::ReadOther);

    TIniDocument doc = TIniDocument::FromBytes(old);
    doc.SetValue("A", "k", "new");
    bool saved = false;
    QString error;
    {
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot give up root's rights here, so no folder is unwritable");
        TIniDocument reread;
        QVERIFY(reread.Load(path)); // readable still
        QCOMPARE(reread.Value("A", "k"), QStringLiteral("old"));
        saved = doc.Save(path, &error);
    }
    QFile::setPermissions(sub, QFile::permissions(sub) | QFileDevice::WriteOwner);
    QVERIFY(!saved);
    QCOMPARE(error, QStringLiteral("Доступ запрещён"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    QCOMPARE(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{"base.dbZ48"});
}

void TstIniDocument::writableFileInAReadOnlyFolderIsWrittenInPlace()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    QVERIFY(QDir().mkdir(folder.FilePath("locked")));
    const QString path = folder.FilePath("locked/base.dbZ48");
    QVERIFY(folder.Write("locked/base.dbZ48", "[A]\r\nk=old\r\n\r\n"));
    // The file writable for everyone; the folders enterable, but writable for root only.
    QVERIFY(SetMode(path, 0666) && SetMode(folder.FilePath("locked"), 0755) &&
            SetMode(folder.Path(), 0755));
    const TIniDocument doc = TIniDocument::FromBytes("[A]\r\nk=new\r\n");
    bool saved = false;
    QString error;
    {
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot give up root's rights here, so no folder is unwritable");
        saved = doc.Save(path, &error);
    }
    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(folder.Read("locked/base.dbZ48"), doc.ToBytes());
}

void TstIniDocument::fullDiskKeepsTheOldFileAndSaysWhy()
{
    // A small content stays in the buffer to the very end, where the disk is found full.
    TTempProgramFolder folder;
    TTinyDisk disk(folder.FilePath("disk"));
    if (!disk.Mounted())
        QSKIP(disk.WhyNot());
    const QByteArray old = "[A]\r\nk=old\r\n\r\n";
    QVERIFY(folder.Write("disk/base.dbZ48", old));
    TIniDocument doc = TIniDocument::FromBytes(old);
    doc.SetValue("A", "k", "new");
    QString error;
    QVERIFY(!doc.Save(folder.FilePath("disk/base.dbZ48"), &error));
    QCOMPARE(error, QStringLiteral("Нет свободного места на устройстве"));
    QCOMPARE(folder.Read("disk/base.dbZ48"), old);
    QCOMPARE(QDir(folder.FilePath("disk")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"base.dbZ48"});
}

void TstIniDocument::reasonsAreInRussian_data()
{
    QTest::addColumn<int>("systemError");
    QTest::addColumn<QString>("text");
    QTest::newRow("ENOSPC") << ENOSPC << "Нет свободного места на устройстве";
#ifdef EDQUOT // not on Windows
    QTest::newRow("EDQUOT") << EDQUOT << "Превышена дисковая квота";
#endif
    QTest::newRow("EACCES") << EACCES << "Доступ запрещён";
    QTest::newRow("EPERM") << EPERM << "Доступ запрещён";
    QTest::newRow("EROFS") << EROFS << "Файловая система доступна только для чтения";
    QTest::newRow("ENOENT") << ENOENT << "Нет такого файла или каталога";
    QTest::newRow("ELOOP") << ELOOP << "Слишком много уровней символических ссылок";
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << "Слишком длинное имя файла";
    QTest::newRow("EISDIR") << EISDIR << "Это каталог, а не файл";
    QTest::newRow("ENOTDIR") << ENOTDIR << "Часть пути не является каталогом";
    QTest::newRow("EEXIST") << EEXIST << "Файл уже существует";
    QTest::newRow("EIO") << EIO << "Ошибка ввода-вывода";
    QTest::newRow("EMFILE") << EMFILE << "Слишком много открытых файлов";
    QTest::newRow("ENFILE") << ENFILE << "Слишком много открытых файлов";
    QTest::newRow("EBUSY") << EBUSY << "Устройство или ресурс заняты";
    QTest::newRow("ETXTBSY") << ETXTBSY << "Файл занят другой программой";
    QTest::newRow("EFBIG") << EFBIG << "Файл слишком велик";
    QTest::newRow("number without a text") << 9999 << "Неизвестная ошибка (код 9999)";
    QTest::newRow("no number: Qt's kind of failure") << 0 << "Ошибка записи";
}

void TstIniDocument::reasonsAreInRussian()
{
    QFETCH(int, systemError);
    QFETCH(QString, text);
    QCOMPARE(FileFailureText(systemError, QFileDevice::WriteError), text);
}

void TstIniDocument::savingOntoAFolderFails()
{
    TTempProgramFolder folder;
    QVERIFY(QDir().mkdir(folder.FilePath("dir.conf")));
    QString error;
    QVERIFY(!TIniDocument::FromBytes("[A]\r\nk=1\r\n").Save(folder.FilePath("dir.conf"), &error));
    QVERIFY(!error.isEmpty());
    TIniDocument doc;
    QVERIFY(!doc.Load(folder.FilePath("dir.conf"), &error));
    QVERIFY(!error.isEmpty());
}

void TstIniDocument::largeDocumentRoundTrip()
{
    // The goods base: 6000 sections of five keys, set, saved, loaded and read back.
    const QStringList keys = {QStringLiteral("Наименование"), QStringLiteral("Тип шрифта"),
                              QStringLiteral("Штрих-код"), QStringLiteral("Цена"),
                              QStringLiteral("Отдел/Услуга")};
    TIniDocument doc;
    for (int n = 1; n <= 6000; ++n)
        for (int k = 0; k < keys.size(); ++k)
            doc.SetValue(QStringLiteral("ТОВАР_#%1").arg(n), keys[k],
                         k == 1 ? QStringLiteral("Узкий") : QStringLiteral("%1-%2").arg(n).arg(k));
    QCOMPARE(doc.SectionCount(), 6000);

    TTempProgramFolder folder;
    const QString path = folder.FilePath("base.dbZ48");
    QString error;
    QVERIFY2(doc.Save(path, &error), qPrintable(error));
    TIniDocument back;
    QVERIFY(back.Load(path, &error));
    QCOMPARE(back.SectionCount(), 6000);
    QCOMPARE(back.Sections().constFirst(), QStringLiteral("ТОВАР_#1"));
    QCOMPARE(back.Sections().constLast(), QStringLiteral("ТОВАР_#6000"));
    for (int n = 1; n <= 6000; n += 599) {
        const QString section = QStringLiteral("товар_#%1").arg(n);
        QCOMPARE(back.Keys(section), keys);
        QCOMPARE(back.Value(section, QStringLiteral("ЦЕНА")), QStringLiteral("%1-3").arg(n));
        QCOMPARE(back.Value(section, QStringLiteral("тип шрифта")), QStringLiteral("Узкий"));
    }
    QCOMPARE(back.ToBytes(), doc.ToBytes());
    QVERIFY(
        back.ToBytes().endsWith(Cp(QStringLiteral("[ТОВАР_#6000]\r\nНаименование=6000-0\r\n"
                                                  "Тип шрифта=Узкий\r\nШтрих-код=6000-2\r\n"
                                                  "Цена=6000-3\r\nОтдел/Услуга=6000-4\r\n\r\n"))));
}

QTEST_GUILESS_MAIN(TstIniDocument)
#include "tst_inidocument.moc"
