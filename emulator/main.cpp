// kkt-emulator: one emulated cash register on a pseudo-terminal, for the demo and manual tests.
// Prints the port to open on stdout and serves it until SIGINT or SIGTERM.

#include "emulatorengine.h"
#include "emulatorpty.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace
{

constexpr int kSavePollMs = 100;

const char kUsage[] =
    "Usage: kkt-emulator [options]\n"
    "Serves one emulated cash register on a pseudo-terminal and prints its path.\n"
    "\n"
    "  --link PATH    also make PATH a symbolic link to the port (replaced if it exists,\n"
    "                 removed on exit)\n"
    "  --device N     the register's device number (0, the default, answers every number)\n"
    "  --baud N       take the time the bytes would need on a line of N baud (0: instant)\n"
    "  --state FILE   keep the register's memory in FILE between runs\n"
    "  --help         show this text\n"
    "  --version      show the version\n";

struct TOptions {
    QString link;
    QString state;
    bool hasDevice = false;
    quint32 device = 0;
    int baud = 0;
};

bool ParseNumber(const char *text, quint64 max, quint64 &value)
{
    bool ok = false;
    value = QByteArray(text).toULongLong(&ok, 10);
    return ok && value <= max;
}

// 0: run, 1: error, 2: help or version shown.
int ParseOptions(int argc, char **argv, TOptions &options)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 2;
        }
        if (arg == "--version") {
            std::puts("kkt-emulator " KKT_VERSION_TEXT);
            return 2;
        }
        if (i + 1 >= argc || !arg.startsWith("--")) {
            std::fprintf(stderr, "kkt-emulator: unknown or incomplete option '%s'\n%s", argv[i],
                         kUsage);
            return 1;
        }
        const char *value = argv[++i];
        quint64 number = 0;
        if (arg == "--link") {
            options.link = QFile::decodeName(value);
        } else if (arg == "--state") {
            options.state = QFile::decodeName(value);
        } else if (arg == "--device" && ParseNumber(value, 0xFFFFFFFFULL, number)) {
            options.hasDevice = true;
            options.device = quint32(number);
        } else if (arg == "--baud" && ParseNumber(value, 10'000'000, number)) {
            options.baud = int(number);
        } else {
            std::fprintf(stderr, "kkt-emulator: bad option '%s %s'\n%s", argv[i - 1], value,
                         kUsage);
            return 1;
        }
    }
    return 0;
}

bool MakeLink(const QString &link, const QString &target)
{
    const QByteArray path = QFile::encodeName(link);
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        std::perror("kkt-emulator: cannot replace the link");
        return false;
    }
    if (::symlink(QFile::encodeName(target).constData(), path.constData()) != 0) {
        std::perror("kkt-emulator: cannot make the link");
        return false;
    }
    return true;
}

// Removes the link only while it still points at our port: another emulator may have taken it.
void RemoveLink(const QString &link, const QString &target)
{
    if (QFile::symLinkTarget(link) == target)
        ::unlink(QFile::encodeName(link).constData());
}

bool SaveState(const TEmulatorEngine &engine, const QString &path)
{
    QString error;
    if (engine.SaveStateFile(path, &error))
        return true;
    std::fprintf(stderr, "kkt-emulator: cannot save %s: %s\n", qPrintable(path), qPrintable(error));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    TOptions options;
    if (const int parsed = ParseOptions(argc, argv, options); parsed != 0)
        return parsed == 2 ? 0 : 1;

    // The signals are taken with sigtimedwait below; blocked before the serving thread starts,
    // so it inherits the mask and never sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    TEmulatorEngine engine;
    if (!options.state.isEmpty() && QFile::exists(options.state)) {
        QString error;
        if (!engine.LoadStateFile(options.state, &error)) {
            // Never overwrite a file we cannot read: it may be someone else's.
            std::fprintf(stderr, "kkt-emulator: cannot load %s: %s\n", qPrintable(options.state),
                         qPrintable(error));
            return 1;
        }
    }
    if (options.hasDevice)
        engine.SetDeviceNumber(options.device);
    engine.SetLineSpeed(options.baud);

    TEmulatorPty pty(engine);
    if (!pty.IsOpen()) {
        std::fprintf(stderr, "kkt-emulator: no pseudo-terminal: %s\n", qPrintable(pty.ErrorText()));
        return 1;
    }
    const QString port = pty.PortName();
    if (!options.link.isEmpty() && !MakeLink(options.link, port))
        return 1;
    std::printf("%s\n", qPrintable(port));
    std::fflush(stdout);

    quint64 savedChanges = engine.ChangeCount();
    bool saveOk = true;
    const timespec wait{0, kSavePollMs * 1'000'000L};
    for (;;) {
        const int sig = sigtimedwait(&stopSignals, nullptr, &wait);
        if (sig > 0)
            break;
        const quint64 changes = engine.ChangeCount();
        if (!options.state.isEmpty() && changes != savedChanges) {
            saveOk = SaveState(engine, options.state);
            savedChanges = changes;
        }
    }

    if (!options.link.isEmpty())
        RemoveLink(options.link, port);
    if (!options.state.isEmpty())
        saveOk = SaveState(engine, options.state);
    return saveOk ? 0 : 1;
}
