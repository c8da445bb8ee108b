// Start-up of kkt-programmer to its first mapped window, against a bare Qt Widgets window
// started the same way, in alternating runs. "Mapped" is the moment the X server maps a
// top-level window of the started process (its MapNotify, which this program watches on the
// root window from outside, the window told by its _NET_WM_PID); the clock starts just before
// the process is spawned. Needs an X display; the cleanest figure comes from a fresh Xvfb
// without a window manager:
//
//     xvfb-run -a build/bin/bench_startup [runs [program...]]
//
// (programs: other builds of kkt-programmer to time side by side, instead of the one beside
// this benchmark). Two peers run in the same rounds: a bare QWidget, the target's yardstick, and
// a bare main window with a menu bar and a status text, which also pays for Qt's font set-up
// (fontconfig), as every window that shows text does.
//
// The program starts in a temporary folder whose "ProgSett.ini" names a pseudo-terminal, so its
// port list is never empty and no message box comes before the main window. Each side gets one
// run first that is not counted (cold file caches).

#include "lockfolder.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace
{
using Clock = std::chrono::steady_clock;
constexpr int kDefaultRuns = 10;
constexpr int kRunLimitMs = 20000;
const char kBareOption[] = "--bare-window";
const char kBareMenuOption[] = "--bare-menu-window";

// The peers: nothing but an application object and one plain window of the program's size, or
// a main window with the program's menu captions and a line of status text.
int RunBareWindow(int argc, char **argv, bool withMenu)
{
    QApplication app(argc, argv);
    QMainWindow window;
    QWidget plain;
    QWidget &shown = withMenu ? static_cast<QWidget &>(window) : plain;
    if (withMenu) {
        for (const char *caption : {"Файл", "Настройки", "Программирование", "Сервис", "Версия"})
            window.menuBar()->addMenu(QString::fromUtf8(caption));
        window.statusBar()->showMessage(QStringLiteral("Выберите порт ККТ"));
    }
    shown.setWindowTitle(QStringLiteral("bare"));
    shown.resize(905, 630);
    shown.show();
    return QApplication::exec();
}

class TMapWatch
{
public:
    TMapWatch() : connection(xcb_connect(nullptr, nullptr)) {}
    ~TMapWatch() { xcb_disconnect(connection); }
    TMapWatch(const TMapWatch &) = delete;
    TMapWatch &operator=(const TMapWatch &) = delete;

    bool Open()
    {
        if (xcb_connection_has_error(connection))
            return false;
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name),
                                  nullptr),
            &std::free);
        if (!atom)
            return false;
        pidAtom = atom->atom;
        xcb_flush(connection);
        return true;
    }

    // Milliseconds from start until a top-level window of pid was mapped; -1 past the limit.
    double WaitForMap(pid_t pid, Clock::time_point start)
    {
        const Clock::time_point limit = start + std::chrono::milliseconds(kRunLimitMs);
        pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
                const Clock::time_point seen = Clock::now();
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window =
                    mapped ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window : 0;
                std::free(event);
                if (mapped && HoldsWindowOf(window, pid, 2))
                    return std::chrono::duration<double, std::milli>(seen - start).count();
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(limit - Clock::now());
            if (left.count() <= 0 || xcb_connection_has_error(connection))
                return -1;
            poll(&fd, 1, int(left.count()));
        }
    }

private:
    // Whether window, or a window inside it (a window manager's frame), belongs to pid.
    bool HoldsWindowOf(xcb_window_t window, pid_t pid, int depth)
    {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(
            xcb_get_property_reply(
                connection,
                xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
            &std::free);
        if (property && xcb_get_property_value_length(property.get()) == 4 &&
            *static_cast<const uint32_t *>(xcb_get_property_value(property.get())) == uint32_t(pid))
            return true;
        if (depth == 0)
            return false;
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr),
            &std::free);
        if (!tree)
            return false;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            if (HoldsWindowOf(children[i], pid, depth - 1))
                return true;
        return false;
    }

    xcb_connection_t *connection;
    xcb_window_t root = 0;
    xcb_atom_t pidAtom = 0;
};

// One start of program (with args) to its first mapped window, in ms; -1 when none came.
double TimeOneStart(TMapWatch &watch, const QByteArray &program, const char *arg)
{
    std::vector<char *> argv{const_cast<char *>(program.constData())};
    if (arg)
        argv.push_back(const_cast<char *>(arg));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    const int spawned =
        posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    const double ms = watch.WaitForMap(pid, start);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return ms;
}

struct TSide {
    QByteArray label;
    QByteArray program;
    const char *arg;
    std::vector<double> ms;

    double Median()
    {
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    }
};

// A pseudo-terminal for the program's port list; stays open while the benchmark runs.
QString OpenPseudoTerminal()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return {};
    return QString::fromLocal8Bit(ptsname(master));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], kBareOption) == 0)
        return RunBareWindow(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], kBareMenuOption) == 0)
        return RunBareWindow(argc, argv, true);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;

    qputenv("QT_QPA_PLATFORM", "xcb");
    TMapWatch watch;
    if (!watch.Open()) {
        std::fprintf(stderr, "no X display (run under xvfb-run -a)\n");
        return 1;
    }
    const QString pty = OpenPseudoTerminal();
    QTemporaryDir folder;
    QFile settings(QDir(folder.path()).filePath(QStringLiteral("ProgSett.ini")));
    if (pty.isEmpty() || !folder.isValid() || !settings.open(QIODevice::WriteOnly) ||
        settings.write("[COM_PORT]\r\nName=" + pty.toLocal8Bit() + "\r\n") < 0) {
        std::fprintf(stderr, "cannot prepare the program's folder\n");
        return 1;
    }
    settings.close();
    qputenv("KKT_PROGRAM_DIR", QFile::encodeName(folder.path()));

    const QByteArray self =
        QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QByteArray dir = QFile::encodeName(QFileInfo(QFile::decodeName(self)).absolutePath());
    std::vector<TSide> sides{{"bare QWidget", self, kBareOption, {}},
                             {"bare menu window", self, kBareMenuOption, {}}};
    if (argc <= 2)
        sides.push_back({"kkt-programmer", dir + "/kkt-programmer", nullptr, {}});
    for (int i = 2; i < argc; ++i)
        sides.push_back({argv[i], argv[i], nullptr, {}});
    for (TSide &side : sides)
        TimeOneStart(watch, side.program, side.arg);
    for (int i = 0; i < runs; ++i) {
        for (TSide &side : sides) {
            const double ms = TimeOneStart(watch, side.program, side.arg);
            if (ms < 0) {
                std::fprintf(stderr, "%s mapped no window within %d ms\n", side.label.constData(),
                             kRunLimitMs);
                return 1;
            }
            side.ms.push_back(ms);
        }
    }
    std::printf("start-up to the first mapped window (X MapNotify), %d alternating runs each\n",
                runs);
    PrintLockFolderKind();
    const double bare = sides[0].Median();
    const double bareMenu = sides[1].Median();
    for (TSide &side : sides) {
        const double median = side.Median();
        std::printf("  %-16s median %6.1f ms (min %6.1f, max %6.1f): %.2f x bare QWidget, "
                    "%.2f x bare menu window\n",
                    side.label.constData(), median, side.ms.front(), side.ms.back(), median / bare,
                    median / bareMenu);
    }
    std::printf("  target: kkt-programmer <= 1.5 x bare QWidget\n");
    return 0;
}
