#include "exchangehook.h"

#include <atomic>

namespace
{
std::atomic<const TExchangeHook *> globalHook{nullptr};
thread_local const TExchangeHook *threadHook = nullptr;
} // namespace

void SetGlobalExchangeHook(const TExchangeHook *hook)
{
    globalHook.store(hook, std::memory_order_release);
}

void SetThreadExchangeHook(const TExchangeHook *hook)
{
    threadHook = hook;
}

const TExchangeHook *CurrentExchangeHook()
{
    if (threadHook)
        return threadHook;
    return globalHook.load(std::memory_order_acquire);
}
