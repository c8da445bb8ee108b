#include "inidocument.h"
#include "programsettings.h"
#include "tempfolder.h"

#include <QTest>

// "ProgSett.ini" read and written key by key, on real files.
class TestProgramSettings : public QObject
{
    Q_OBJECT
private slots:
    void pathIsInTheProgramFolder()
    {
        TTempProgramFolder folder;
        QVERIFY(folder.IsValid());
        QCOMPARE(ProgSettingsPath(), folder.FilePath(QStringLiteral("ProgSett.ini")));
    }

    void missingFileIsCreatedEmptyAndGivesDefaults()
    {
        TTempProgramFolder folder;
        TStructSetting settings;
        settings.Port.Name = QStringLiteral("stale");
        settings.Port.Speed = 1;
        settings.Port.TimeOut = 1;
        settings.NumKKT = 9;
        QVERIFY(ReadProgSettings(ProgSettingsPath(), settings));
        QVERIFY(folder.Exists(QStringLiteral("ProgSett.ini")));
        QCOMPARE(folder.Read(QStringLiteral("ProgSett.ini")), QByteArray());
        QCOMPARE(settings.Port.Name, QString());
        QCOMPARE(settings.Port.Speed, 19200);
        QCOMPARE(settings.Port.TimeOut, 3500);
        QCOMPARE(settings.NumKKT, 0u);
    }

    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("timeOut");
        QTest::addColumn<uint>("number");
        QTest::newRow("all four") << QByteArray("[COM_PORT]\r\nName=COM3\r\nSpeed=9600\r\nTimeOut="
                                                "1000\r\n\r\n[COMMON]\r\nNumKKT=7\r\n")
                                  << "COM3" << 9600 << 1000 << 7u;
        QTest::newRow("speed not a number")
            << QByteArray("[COM_PORT]\r\nSpeed=abc\r\n") << "" << 19200 << 3500 << 0u;
        QTest::newRow("time-out not a number")
            << QByteArray("[COM_PORT]\r\nTimeOut=3,5\r\n") << "" << 19200 << 3500 << 0u;
        QTest::newRow("device number beyond 32 bits")
            << QByteArray("[COMMON]\r\nNumKKT=99999999999\r\n") << "" << 19200 << 3500 << 0u;
        QTest::newRow("negative device number")
            << QByteArray("[COMMON]\r\nNumKKT=-4\r\n") << "" << 19200 << 3500 << 0u;
        QTest::newRow("full device path") << QByteArray("[COM_PORT]\r\nName=/dev/pts/4\r\n")
                                          << "/dev/pts/4" << 19200 << 3500 << 0u;
    }

    void readsValues()
    {
        QFETCH(QByteArray, file);
        TTempProgramFolder folder;
        QVERIFY(folder.Write(QStringLiteral("ProgSett.ini"), file));
        TStructSetting settings;
        QVERIFY(ReadProgSettings(ProgSettingsPath(), settings));
        QTEST(settings.Port.Name, "name");
        QTEST(int(settings.Port.Speed), "speed");
        QTEST(int(settings.Port.TimeOut), "timeOut");
        QTEST(uint(settings.NumKKT), "number");
    }

    void readsTheFileOnceForTheFourValues()
    {
        TTempProgramFolder folder;
        QVERIFY(
            folder.Write(QStringLiteral("ProgSett.ini"),
                         "[COM_PORT]\r\nName=COM3\r\nSpeed=9600\r\n\r\n[COMMON]\r\nNumKKT=7\r\n"));
        const quint64 before = PrivateProfile::FilesRead();
        TStructSetting settings;
        QVERIFY(ReadProgSettings(ProgSettingsPath(), settings));
        QCOMPARE(PrivateProfile::FilesRead(), before + 1);
        QCOMPARE(settings.NumKKT, 7u);
    }

    void writesTheFourValuesAndReadsThemBack()
    {
        TTempProgramFolder folder;
        TStructSetting settings;
        settings.Port.Name = QStringLiteral("ttyUSB1");
        settings.Port.Speed = 115200;
        settings.Port.TimeOut = 800;
        settings.NumKKT = 2147483647u;
        QVERIFY(WriteProgSettings(ProgSettingsPath(), settings));
        const QString path = ProgSettingsPath();
        QCOMPARE(PrivateProfile::ReadString(path, "COM_PORT", "Name"), QStringLiteral("ttyUSB1"));
        QCOMPARE(PrivateProfile::ReadString(path, "COM_PORT", "Speed"), QStringLiteral("115200"));
        QCOMPARE(PrivateProfile::ReadString(path, "COM_PORT", "TimeOut"), QStringLiteral("800"));
        QCOMPARE(PrivateProfile::ReadString(path, "COMMON", "NumKKT"),
                 QStringLiteral("2147483647"));
        TStructSetting back;
        QVERIFY(ReadProgSettings(path, back));
        QCOMPARE(back.Port.Name, settings.Port.Name);
        QCOMPARE(back.Port.Speed, settings.Port.Speed);
        QCOMPARE(back.Port.TimeOut, settings.Port.TimeOut);
        QCOMPARE(back.NumKKT, settings.NumKKT);
    }

    void writingKeepsOtherKeys()
    {
        TTempProgramFolder folder;
        QVERIFY(folder.Write(QStringLiteral("ProgSett.ini"),
                             "[COM_PORT]\r\nName=COM1\r\nExtra=1\r\n\r\n[OTHER]\r\nKey=v\r\n"));
        TStructSetting settings;
        settings.Port.Name = QStringLiteral("COM2");
        QVERIFY(WriteProgSettings(ProgSettingsPath(), settings));
        QCOMPARE(PrivateProfile::ReadString(ProgSettingsPath(), "COM_PORT", "Extra"), "1");
        QCOMPARE(PrivateProfile::ReadString(ProgSettingsPath(), "OTHER", "Key"), "v");
        QCOMPARE(PrivateProfile::ReadString(ProgSettingsPath(), "COM_PORT", "Name"), "COM2");
    }

    void unwritableFolderFails()
    {
        KKT_SKIP_WITHOUT_MODE_BITS();
        TTempProgramFolder folder;
        QVERIFY(QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::ExeOwner |
                                                         QFile::ReadOther | QFile::ExeOther));
        bool readOk = true;
        bool writeOk = true;
        {
            TRunAsNobody nobody;
            if (!nobody.PermissionsApply())
                QSKIP("cannot give up root's rights to meet the folder's permissions");
            TStructSetting settings;
            readOk = ReadProgSettings(ProgSettingsPath(), settings);
            writeOk = WriteProgSettings(ProgSettingsPath(), settings);
        }
        QFile::setPermissions(folder.Path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!readOk);
        QVERIFY(!writeOk);
        QVERIFY(!folder.Exists(QStringLiteral("ProgSett.ini")));
    }

    void unreadableFileFails()
    {
        KKT_SKIP_WITHOUT_MODE_BITS();
        TTempProgramFolder folder;
        const QString name = QStringLiteral("ProgSett.ini");
        QVERIFY(folder.Write(name, "[COM_PORT]\r\nName=COM3\r\nSpeed=9600\r\n"));
        QVERIFY(QFile::setPermissions(folder.FilePath(name), QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::ExeOwner |
                                                         QFile::ReadOther | QFile::ExeOther));
        bool readOk = true;
        TStructSetting settings;
        settings.Port.Speed = 4800;
        {
            TRunAsNobody nobody;
            if (!nobody.PermissionsApply())
                QSKIP("cannot give up root's rights to meet the file's permissions");
            readOk = ReadProgSettings(ProgSettingsPath(), settings);
        }
        QFile::setPermissions(folder.Path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(folder.FilePath(name), QFile::ReadOwner | QFile::WriteOwner);
        // Not silently the defaults: the program says it cannot read its settings.
        QVERIFY(!readOk);
        QCOMPARE(settings.Port.Speed, 4800);
        QCOMPARE(folder.Read(name), QByteArray("[COM_PORT]\r\nName=COM3\r\nSpeed=9600\r\n"));
    }
};

QTEST_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
