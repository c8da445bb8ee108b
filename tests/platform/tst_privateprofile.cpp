#include "inidocument.h"
#include "tempfolder.h"
#include "win1251.h"

#include <QtTest/QtTest>

class TstPrivateProfile : public QObject
{
    Q_OBJECT

private slots:
    void missingFileOrKeyGivesTheDefault();
    void integers_data();
    void integers();
    void writingCreatesTheFile();
    void updatingOneKeyKeepsEverythingElse();
    void newKeyAndNewSection();
    void cyrillicNamesAndValuesInTheCodePage();
    void ensureFileExists();
    void unwritableFolder();
};

void TstPrivateProfile::missingFileOrKeyGivesTheDefault()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath("ProgSett.ini");
    QCOMPARE(PrivateProfile::ReadString(path, "COM_PORT", "Name", "x"), QStringLiteral("x"));
    QCOMPARE(PrivateProfile::ReadInt(path, "COM_PORT", "Speed", 19200), 19200);
    QVERIFY(!folder.Exists("ProgSett.ini")); // reading never creates the file
    QVERIFY(folder.Write("ProgSett.ini", "[COM_PORT]\r\nName=\r\n"));
    QCOMPARE(PrivateProfile::ReadString(path, "COM_PORT", "Name", "x"), QString(""));
    QCOMPARE(PrivateProfile::ReadString(path, "COMMON", "Name", "x"), QStringLiteral("x"));
    QCOMPARE(PrivateProfile::ReadInt(path, "COMMON", "NumKKT", 0), 0);
}

void TstPrivateProfile::integers_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("Speed=115200") << 115200;
    QTest::newRow("blanks around") << QByteArray("  Speed =  9600  ") << 9600;
    QTest::newRow("negative") << QByteArray("Speed=-5") << -5;
    QTest::newRow("plus sign") << QByteArray("Speed=+7") << 7;
    QTest::newRow("letters") << QByteArray("Speed=abc") << 19200;
    QTest::newRow("digits then letters") << QByteArray("Speed=12abc") << 19200;
    QTest::newRow("decimal fraction") << QByteArray("Speed=1.5") << 19200;
    QTest::newRow("empty value") << QByteArray("Speed=") << 19200;
    QTest::newRow("largest 32-bit") << QByteArray("Speed=2147483647") << 2147483647;
    QTest::newRow("beyond 32 bits") << QByteArray("Speed=2147483648") << 19200;
    QTest::newRow("other case of key") << QByteArray("SPEED=4800") << 4800;
}

void TstPrivateProfile::integers()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    TTempProgramFolder folder;
    QVERIFY(folder.Write("ProgSett.ini", "[COM_PORT]\r\n" + line + "\r\n"));
    QCOMPARE(PrivateProfile::ReadInt(folder.FilePath("ProgSett.ini"), "com_port", "Speed", 19200),
             expected);
}

void TstPrivateProfile::writingCreatesTheFile()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath("ProgSett.ini");
    QVERIFY(PrivateProfile::WriteString(path, "COM_PORT", "Name", ""));
    QVERIFY(PrivateProfile::WriteString(path, "COM_PORT", "Speed", "19200"));
    QVERIFY(PrivateProfile::WriteString(path, "COM_PORT", "TimeOut", "3500"));
    QVERIFY(PrivateProfile::WriteString(path, "COMMON", "NumKKT", "0"));
    QCOMPARE(folder.Read("ProgSett.ini"), QByteArray("[COM_PORT]\r\n"
                                                     "Name=\r\n"
                                                     "Speed=19200\r\n"
                                                     "TimeOut=3500\r\n"
                                                     "\r\n"
                                                     "[COMMON]\r\n"
                                                     "NumKKT=0\r\n"));
    QCOMPARE(PrivateProfile::ReadInt(path, "COM_PORT", "TimeOut", 0), 3500);
}

void TstPrivateProfile::updatingOneKeyKeepsEverythingElse()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath("Scan.cfg");
    // Hand-edited: a comment, a line before any section, LF breaks, odd spacing, another
    // section after, and no line break at the very end.
    const QByteArray before = "; scanner\n"
                              "stray=1\n"
                              "[CURRENT]\n"
                              "  ModelName = old \n"
                              "\n"
                              "ComPort=COM2\n"
                              "[OTHER]\n"
                              "ComPort=keep";
    QVERIFY(folder.Write("Scan.cfg", before));
    QVERIFY(PrivateProfile::WriteString(path, "current", "comport", "COM7"));
    QCOMPARE(folder.Read("Scan.cfg"), QByteArray("; scanner\n"
                                                 "stray=1\n"
                                                 "[CURRENT]\n"
                                                 "  ModelName = old \n"
                                                 "\n"
                                                 "comport=COM7\n"
                                                 "[OTHER]\n"
                                                 "ComPort=keep"));
    QCOMPARE(PrivateProfile::ReadString(path, "CURRENT", "ComPort"), QStringLiteral("COM7"));
    QCOMPARE(PrivateProfile::ReadString(path, "CURRENT", "ModelName"), QStringLiteral("old"));
    QCOMPARE(PrivateProfile::ReadString(path, "OTHER", "ComPort"), QStringLiteral("keep"));
}

void TstPrivateProfile::newKeyAndNewSection()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath("Scan.cfg");
    QVERIFY(folder.Write("Scan.cfg", "[CURRENT]\r\nModelName=x\r\n; trailing comment\r\n\r\n"
                                     "[NEXT]\r\na=1"));
    QVERIFY(PrivateProfile::WriteString(path, "CURRENT", "SpeedPort", "9600"));
    QVERIFY(PrivateProfile::WriteString(path, "NEXT", "b", "2"));
    QVERIFY(PrivateProfile::WriteString(path, "LAST", "c", "3"));
    QCOMPARE(folder.Read("Scan.cfg"), QByteArray("[CURRENT]\r\nModelName=x\r\nSpeedPort=9600\r\n"
                                                 "; trailing comment\r\n\r\n"
                                                 "[NEXT]\r\na=1\r\nb=2\r\n"
                                                 "\r\n[LAST]\r\nc=3\r\n"));
}

void TstPrivateProfile::cyrillicNamesAndValuesInTheCodePage()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath("x.ini");
    QVERIFY(PrivateProfile::WriteString(path, QStringLiteral("Раздел"), QStringLiteral("Ключ"),
                                        QStringLiteral("Значение")));
    QVERIFY(PrivateProfile::WriteString(path, QStringLiteral("РАЗДЕЛ"), QStringLiteral("КЛЮЧ"),
                                        QStringLiteral("ёж\r\n[X]")));
    QCOMPARE(folder.Read("x.ini"), ToWin1251(QStringLiteral("[Раздел]\r\nКЛЮЧ=ёж  [X]\r\n")));
    QCOMPARE(PrivateProfile::ReadString(path, QStringLiteral("раздел"), QStringLiteral("ключ")),
             QStringLiteral("ёж  [X]"));
}

void TstPrivateProfile::ensureFileExists()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath("Scan.cfg");
    QVERIFY(PrivateProfile::EnsureFileExists(path));
    QVERIFY(folder.Exists("Scan.cfg"));
    QCOMPARE(QFileInfo(path).size(), 0);
    QVERIFY(folder.Write("Scan.cfg", "[CURRENT]\r\nComPort=COM1\r\n"));
    QVERIFY(PrivateProfile::EnsureFileExists(path)); // an existing file is left alone
    QCOMPARE(folder.Read("Scan.cfg"), QByteArray("[CURRENT]\r\nComPort=COM1\r\n"));
    QVERIFY(QDir().mkdir(folder.FilePath("dir.ini")));
    QVERIFY(!PrivateProfile::EnsureFileExists(folder.FilePath("dir.ini")));
    QVERIFY(!PrivateProfile::EnsureFileExists(folder.FilePath("no/such/folder/x.ini")));
}

void TstPrivateProfile::unwritableFolder()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    const QString sub = folder.FilePath("ro");
    QVERIFY(QDir().mkdir(sub));
    QVERIFY(QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                           QFileDevice::ExeOther));
    QFile::setPermissions(folder.Path(), QFile::permissions(folder.Path()) | QFileDevice::ExeOther |
                                             QFileDevice::ReadOther);
    const QString path = sub + "/ProgSett.ini";
    TRunAsNobody nobody;
    if (!nobody.PermissionsApply())
        QSKIP("cannot give up root's rights here, so no folder is unwritable");
    QVERIFY(!PrivateProfile::EnsureFileExists(path));
    QVERIFY(!PrivateProfile::WriteString(path, "COM_PORT", "Speed", "9600"));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(PrivateProfile::ReadInt(path, "COM_PORT", "Speed", 19200), 19200);
}

QTEST_GUILESS_MAIN(TstPrivateProfile)
#include "tst_privateprofile.moc"
