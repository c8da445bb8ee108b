// kkt-cli's text on Windows: a console shows the Russian texts as they are, not their UTF-8 bytes
// read in its own code page (866 on a Russian Windows); a file gets the UTF-8 bytes.
#include "cliconsole.h"

#include <QtTest>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

class TestCliConsole : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A console of the test's own, in the code page of a Russian Windows. (Wine makes a
        // working one only with a display.)
        FreeConsole();
        QVERIFY(AllocConsole());
        QVERIFY2(SetConsoleOutputCP(866), "no console");
        screen_ =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        QVERIFY(screen_ != INVALID_HANDLE_VALUE);
    }

    void textArrivesWhole_data()
    {
        QTest::addColumn<bool>("toStderr");
        QTest::addColumn<bool>("toConsole");
        QTest::newRow("stdout to the console") << false << true;
        QTest::newRow("stderr to the console") << true << true;
        QTest::newRow("stdout to a file") << false << false;
    }
    void textArrivesWhole()
    {
        QFETCH(bool, toStderr);
        QFETCH(bool, toConsole);
        DWORD done = 0;
        FillConsoleOutputCharacterW(screen_, L' ', 80, COORD{0, 0}, &done);
        SetConsoleCursorPosition(screen_, COORD{0, 0});
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("out.txt"));
        const HANDLE target =
            toConsole ? screen_
                      : CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_WRITE,
                                    0, nullptr, CREATE_ALWAYS, 0, nullptr);
        QVERIFY(target != INVALID_HANDLE_VALUE);

        // The stream's descriptor on the target, as a program started there has it, then back.
        std::FILE *stream = toStderr ? stderr : stdout;
        std::fflush(stream);
        const int saved = _dup(_fileno(stream));
        HANDLE own = nullptr;
        DuplicateHandle(GetCurrentProcess(), target, GetCurrentProcess(), &own, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(own), _O_TEXT);
        _dup2(fd, _fileno(stream));
        _close(fd);
        const char line[] = "Порт  Результат\n";
        const bool written = WriteText(stream, line, sizeof line - 1);
        std::fflush(stream);
        _dup2(saved, _fileno(stream));
        _close(saved);
        QVERIFY(written);

        if (toConsole) {
            wchar_t shown[80] = {};
            ReadConsoleOutputCharacterW(screen_, shown, 80, COORD{0, 0}, &done);
            QCOMPARE(QString::fromWCharArray(shown, int(done)).trimmed(),
                     QStringLiteral("Порт  Результат"));
        } else {
            CloseHandle(target);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            // The C library's text mode ends the line with CR LF, as everything kkt-cli writes.
            QCOMPARE(file.readAll(), QByteArray("Порт  Результат\r\n"));
        }
    }

private:
    HANDLE screen_ = INVALID_HANDLE_VALUE;
};

QTEST_GUILESS_MAIN(TestCliConsole)
#include "tst_cliconsole.moc"
