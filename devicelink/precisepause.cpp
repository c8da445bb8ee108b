#include "precisepause.h"

#include <QtGlobal>

#include <thread>

#if defined(Q_OS_LINUX)
#include <cerrno>
#include <ctime>
#include <sys/prctl.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace
{
using Clock = std::chrono::steady_clock;

#if defined(Q_OS_LINUX)

// Sleeps until the deadline on the monotonic clock, which the steady clock reads. A thread's
// timer slack (50 us unless set otherwise) lets the kernel wake it that much late to group
// wake-ups; for this one sleep it is made as small as the kernel allows, and given back after.
void SleepUntil(Clock::time_point until)
{
    const auto sinceBoot = until.time_since_epoch();
    const auto whole = std::chrono::duration_cast<std::chrono::seconds>(sinceBoot);
    timespec deadline{};
    deadline.tv_sec = time_t(whole.count());
    deadline.tv_nsec =
        long(std::chrono::duration_cast<std::chrono::nanoseconds>(sinceBoot - whole).count());
    const int slack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
    if (slack > 0)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(slack), 0, 0, 0);
}

#elif defined(Q_OS_WIN)

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// A high-resolution waitable timer (Windows 10 1803 and later) wakes within a fraction of a
// millisecond; one per thread, made on first use.
class TPauseTimer
{
public:
    TPauseTimer()
        : handle(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS))
    {
    }
    ~TPauseTimer()
    {
        if (handle)
            CloseHandle(handle);
    }
    TPauseTimer(const TPauseTimer &) = delete;
    TPauseTimer &operator=(const TPauseTimer &) = delete;

    // False where the system has no such timer.
    bool Wait(std::chrono::nanoseconds duration)
    {
        if (!handle || duration.count() <= 0)
            return false;
        LARGE_INTEGER due;
        due.QuadPart = -LONGLONG(duration.count() / 100); // relative, in 100 ns steps
        if (!SetWaitableTimer(handle, &due, 0, nullptr, nullptr, FALSE))
            return false;
        return WaitForSingleObject(handle, INFINITE) == WAIT_OBJECT_0;
    }

private:
    HANDLE handle;
};

void SleepUntil(Clock::time_point until)
{
    thread_local TPauseTimer timer;
    timer.Wait(until - Clock::now());
}

#else

void SleepUntil(Clock::time_point until)
{
    std::this_thread::sleep_until(until);
}

#endif

} // namespace

void PrecisePause(std::chrono::microseconds duration)
{
    if (duration.count() <= 0)
        return;
    const Clock::time_point deadline = Clock::now() + duration;
    SleepUntil(deadline);
    // The pause never ends early: what a timer left (one that fired a little before its time,
    // or none at all on a Windows without high-resolution timers) is waited out here.
    while (Clock::now() < deadline) {
    }
}
