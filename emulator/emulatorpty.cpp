#include "emulatorpty.h"

#include "emulatorframer.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace
{

// How long the serving thread sleeps in poll() when nothing happens; the wake pipe ends the
// wait at once anyway, this only bounds the reaction to a lost wake-up.
constexpr int kIdlePollMs = 100;
// Longest single sleep while waiting out a line time or a pause, so a stop is seen quickly.
constexpr qint64 kSleepSliceNs = 20'000'000;

bool MakeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

void CloseFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

QString ErrnoText(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

TEmulatorPty::TEmulatorPty(quint32 deviceNumber)
    : ownEngine(std::make_unique<TEmulatorEngine>(deviceNumber)), engine(ownEngine.get())
{
    Open();
}

TEmulatorPty::TEmulatorPty(TEmulatorEngine &engine) : engine(&engine)
{
    Open();
}

TEmulatorPty::~TEmulatorPty()
{
    stopping = true;
    if (wakeFd[1] >= 0) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd[1], &wake, 1);
    }
    if (thread.joinable())
        thread.join();
    CloseFd(masterFd);
    CloseFd(slaveFd);
    CloseFd(wakeFd[0]);
    CloseFd(wakeFd[1]);
}

void TEmulatorPty::Open()
{
    auto fail = [this](const char *what) {
        errorText = ErrnoText(what);
        CloseFd(masterFd);
        CloseFd(slaveFd);
        CloseFd(wakeFd[0]);
        CloseFd(wakeFd[1]);
        portName.clear();
    };

    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return fail("posix_openpt");
    masterFd = master;
    if (grantpt(masterFd) != 0)
        return fail("grantpt");
    if (unlockpt(masterFd) != 0)
        return fail("unlockpt");
    char name[128] = {};
    if (ptsname_r(masterFd, name, sizeof name) != 0)
        return fail("ptsname_r");
    // Our own slave descriptor: without it the master sees a hang-up whenever the program closes
    // the port. Raw at once, or the slave would echo our answers back to us.
    slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd < 0)
        return fail("open slave");
    if (!MakeRaw(slaveFd))
        return fail("tcsetattr slave");
    MakeRaw(masterFd); // not every system lets the master be configured; the slave is what counts
    const int flags = fcntl(masterFd, F_GETFL);
    if (flags < 0 || fcntl(masterFd, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl");
    if (pipe2(wakeFd, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail("pipe2");
    portName = QString::fromLocal8Bit(name);
    errorText.clear();
    thread = std::thread([this] { Serve(); });
}

void TEmulatorPty::Serve()
{
    TEmulatorFramer framer;
    char buffer[4096];
    while (!stopping) {
        pollfd fds[2] = {{masterFd, POLLIN, 0}, {wakeFd[0], POLLIN, 0}};
        const int timeout = framer.HasPartial() ? kPartialFrameGapMs : kIdlePollMs;
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (ready == 0) {
            // A gap in the middle of a frame: whatever came was not a whole request.
            framer.Reset();
            continue;
        }
        if (fds[1].revents != 0)
            break;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
            if (n > 0)
                framer.Feed(QByteArrayView(buffer, n));
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Should not happen while our slave is open; do not spin if it does.
            ::poll(fds + 1, 1, 10);
            continue;
        }
        while (!stopping) {
            const std::optional<QByteArray> request = framer.TakeRequest();
            if (!request)
                break;
            WriteReply(engine->HandleRequest(*request));
        }
    }
}

// Sleeps until CLOCK_MONOTONIC reaches the deadline (absolute, so the line time stays exact),
// in slices so that a stop request is noticed.
static void SleepUntil(const timespec &deadline, const std::atomic<bool> &stopping)
{
    while (!stopping) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const qint64 left =
            (deadline.tv_sec - now.tv_sec) * 1'000'000'000LL + (deadline.tv_nsec - now.tv_nsec);
        if (left <= 0)
            return;
        if (left <= kSleepSliceNs) {
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
            }
            return;
        }
        timespec slice = now;
        slice.tv_nsec += kSleepSliceNs;
        slice.tv_sec += slice.tv_nsec / 1'000'000'000LL;
        slice.tv_nsec %= 1'000'000'000LL;
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &slice, nullptr);
    }
}

static timespec AfterNow(qint64 us)
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    const qint64 ns = t.tv_nsec + us * 1000;
    t.tv_sec += ns / 1'000'000'000LL;
    t.tv_nsec = ns % 1'000'000'000LL;
    return t;
}

void TEmulatorPty::WriteReply(const TEmulatorReply &reply)
{
    const QByteArray &answer = reply.answer;
    if (answer.isEmpty())
        return;
    if (reply.lineDelayUs > 0)
        SleepUntil(AfterNow(reply.lineDelayUs), stopping);
    if (reply.pauseAfterBytes >= 0 && reply.pauseAfterBytes < answer.size()) {
        if (!WriteAll(answer.constData(), reply.pauseAfterBytes))
            return;
        SleepUntil(AfterNow(qint64(reply.pauseMs) * 1000), stopping);
        WriteAll(answer.constData() + reply.pauseAfterBytes, answer.size() - reply.pauseAfterBytes);
        return;
    }
    WriteAll(answer.constData(), answer.size());
}

bool TEmulatorPty::WriteAll(const char *data, qsizetype size)
{
    while (size > 0 && !stopping) {
        const ssize_t n = ::write(masterFd, data, size_t(size));
        if (n > 0) {
            data += n;
            size -= n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return false;
        // The slave's input queue is full (nobody reads): wait for room or a stop.
        pollfd fds[2] = {{masterFd, POLLOUT, 0}, {wakeFd[0], POLLIN, 0}};
        if (::poll(fds, 2, kIdlePollMs) > 0 && fds[1].revents != 0)
            return false;
    }
    return size == 0;
}
