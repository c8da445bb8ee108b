// kkt-cli's text on Windows: a console shows the Russian texts as they are, not their UTF-8 bytes
// read in its own code page (866 on a Russian Windows); a file gets the UTF-8 bytes.
#include "cliconsole.h"

#include <QtTest>

#include <cstdio>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace
{

// Points a C stream's descriptor at a handle while it lives, as a program started there has it.
class TRedirect
{
public:
    TRedirect(std::FILE *stream, HANDLE handle) : stream_(stream)
    {
        std::fflush(stream_);
        saved_ = _dup(_fileno(stream_));
        HANDLE own = nullptr;
        DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &own, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(own), _O_TEXT);
        _dup2(fd, _fileno(stream_));
        _close(fd);
    }
    ~TRedirect()
    {
        std::fflush(stream_);
        _dup2(saved_, _fileno(stream_));
        _close(saved_);
    }
    TRedirect(const TRedirect &) = delete;
    TRedirect &operator=(const TRedirect &) = delete;

private:
    std::FILE *stream_;
    int saved_ = -1;
};

const char kLine[] = "Порт  Результат\n";

} // namespace

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
    void cleanupTestCase()
    {
        CloseHandle(screen_);
        FreeConsole();
    }

    void consoleShowsTheText_data()
    {
        QTest::addColumn<bool>("toStderr");
        QTest::newRow("stdout") << false;
        QTest::newRow("stderr") << true;
    }
    void consoleShowsTheText()
    {
        QFETCH(bool, toStderr);
        DWORD done = 0;
        FillConsoleOutputCharacterW(screen_, L' ', 80, COORD{0, 0}, &done);
        SetConsoleCursorPosition(screen_, COORD{0, 0});
        bool written = false;
        {
            std::FILE *stream = toStderr ? stderr : stdout;
            const TRedirect toConsole(stream, screen_);
            written = WriteText(stream, kLine, sizeof kLine - 1);
        }
        QVERIFY(written);
        wchar_t line[80] = {};
        ReadConsoleOutputCharacterW(screen_, line, 80, COORD{0, 0}, &done);
        QCOMPARE(QString::fromWCharArray(line, int(done)).trimmed(),
                 QStringLiteral("Порт  Результат"));
    }

    void fileGetsTheBytes()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("out.txt"));
        const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                                        GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_ALWAYS, 0, nullptr);
        QVERIFY(file != INVALID_HANDLE_VALUE);
        {
            const TRedirect toFile(stdout, file);
            QVERIFY(WriteText(stdout, kLine, sizeof kLine - 1));
        }
        CloseHandle(file);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        // The C library's text mode ends the line with CR LF, as everything kkt-cli writes.
        QCOMPARE(written.readAll(), QByteArray("Порт  Результат\r\n"));
    }

private:
    HANDLE screen_ = INVALID_HANDLE_VALUE;
};

QTEST_GUILESS_MAIN(TestCliConsole)
#include "tst_cliconsole.moc"
