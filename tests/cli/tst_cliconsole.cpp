// kkt-cli's text in a Windows console: a console on stdout or stderr is switched to UTF-8 for
// the run, so it shows the Russian texts rather than their bytes in its own code page (866 on a
// Russian Windows), and gets that code page back at the end; pipes and files leave it alone.
#include "cliconsole.h"

#include <QtTest>

#include <cstdio>

#include <io.h>
#include <windows.h>

namespace
{

constexpr UINT kRussianOemCodePage = 866;

// Points a C stream at the console or at a file while it lives, then back where it was.
class TRedirect
{
public:
    TRedirect(std::FILE *stream, bool console, const QString &file) : stream_(stream)
    {
        std::fflush(stream_);
        saved_ = _dup(_fileno(stream_));
        const QByteArray target = console ? QByteArray("CONOUT$") : QFile::encodeName(file);
        opened_ = std::freopen(target.constData(), "w", stream_) != nullptr;
    }
    ~TRedirect()
    {
        std::fflush(stream_);
        _dup2(saved_, _fileno(stream_));
        _close(saved_);
    }
    TRedirect(const TRedirect &) = delete;
    TRedirect &operator=(const TRedirect &) = delete;
    bool Opened() const { return opened_; }

private:
    std::FILE *stream_;
    int saved_ = -1;
    bool opened_ = false;
};

} // namespace

class TestCliConsole : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A console of the test's own, in the code page of a Russian Windows.
        FreeConsole();
        QVERIFY(AllocConsole());
        QVERIFY(SetConsoleOutputCP(kRussianOemCodePage));
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

    void textReachesTheConsole_data()
    {
        QTest::addColumn<bool>("stdoutConsole");
        QTest::addColumn<bool>("stderrConsole");
        QTest::newRow("stdout to the console") << true << false;
        QTest::newRow("stderr to the console") << false << true;
        QTest::newRow("both to files") << false << false;
    }
    void textReachesTheConsole()
    {
        QFETCH(bool, stdoutConsole);
        QFETCH(bool, stderrConsole);
        ClearScreen();
        bool switched = false;
        UINT during = 0;
        {
            const TRedirect out(stdout, stdoutConsole, folder_.filePath(QStringLiteral("out")));
            const TRedirect err(stderr, stderrConsole, folder_.filePath(QStringLiteral("err")));
            QVERIFY(out.Opened() && err.Opened());
            const TConsoleUtf8 utf8;
            switched = utf8.Switched();
            during = GetConsoleOutputCP();
            // As kkt-cli writes its lines: UTF-8 bytes through the C library.
            std::fputs("Порт  Результат\n", stdoutConsole ? stdout : stderr);
        }
        const bool console = stdoutConsole || stderrConsole;
        QCOMPARE(switched, console);
        QCOMPARE(during, console ? UINT(CP_UTF8) : kRussianOemCodePage);
        QCOMPARE(GetConsoleOutputCP(), kRussianOemCodePage);
        if (console)
            QCOMPARE(ScreenLine(), QStringLiteral("Порт  Результат"));
    }

private:
    void ClearScreen()
    {
        DWORD written = 0;
        FillConsoleOutputCharacterW(screen_, L' ', 80, COORD{0, 0}, &written);
        SetConsoleCursorPosition(screen_, COORD{0, 0});
    }
    QString ScreenLine() const
    {
        wchar_t line[80] = {};
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen_, line, 80, COORD{0, 0}, &read);
        return QString::fromWCharArray(line, int(read)).trimmed();
    }

    HANDLE screen_ = INVALID_HANDLE_VALUE;
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(TestCliConsole)
#include "tst_cliconsole.moc"
