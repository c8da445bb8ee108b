#include "appfolder.h"
#include "tempfolder.h"

#include <QtTest/QtTest>

class TstAppFolder : public QObject
{
    Q_OBJECT

private slots:
    void environmentOverrides();
    void executableFolderWhenWritable();
    void userConfigFolderWhenNotWritable();
    void versionTextHasFourNumbers();
};

void TstAppFolder::environmentOverrides()
{
    TTempProgramFolder folder;
    QCOMPARE(ProgramFolder(), folder.Path());
    qputenv("KKT_PROGRAM_DIR", "/some/where/");
    QCOMPARE(ProgramFolder(), QStringLiteral("/some/where/"));
}

void TstAppFolder::executableFolderWhenWritable()
{
    qunsetenv("KKT_PROGRAM_DIR");
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath() + u'/');
    // Finding out leaves nothing behind in the program's folder.
    const QStringList probes =
        QDir(QCoreApplication::applicationDirPath())
            .entryList({QStringLiteral(".kkt-write-test-*")}, QDir::Files | QDir::Hidden);
    QVERIFY2(probes.isEmpty(), qPrintable(probes.join(u' ')));
}

void TstAppFolder::userConfigFolderWhenNotWritable()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    qunsetenv("KKT_PROGRAM_DIR");
    TTempProgramFolder config; // only as a temporary folder for the user's configuration
    qunsetenv("KKT_PROGRAM_DIR");
    QVERIFY(
        QFile::setPermissions(config.Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                 QFileDevice::WriteOther | QFileDevice::ExeOther));
    const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.Path()));
    QCoreApplication::setOrganizationName(QStringLiteral("kkt-test"));
    QString folder;
    bool writableExe = true;
    {
        TRunAsNobody nobody;
        writableExe = QFileInfo(QCoreApplication::applicationDirPath()).isWritable();
        if (!writableExe)
            folder = ProgramFolder();
    }
    qputenv("XDG_CONFIG_HOME", oldXdg);
    if (writableExe)
        QSKIP("the test program's folder is writable for this user");
    QVERIFY2(folder.startsWith(config.Path()), qPrintable(folder));
    QVERIFY(folder.endsWith(u'/'));
    QVERIFY(QFileInfo(folder).isDir());
}

void TstAppFolder::versionTextHasFourNumbers()
{
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                .match(ProgramVersionText())
                .hasMatch());
}

QTEST_GUILESS_MAIN(TstAppFolder)
#include "tst_appfolder.moc"
