#include "exchangehook.h"

#include <atomic>

namespace
{
std::atomic<const TExchangeHook *> globalHook{nullptr};
} // namespace

void SetGlobalExchangeHook(const TExchangeHook *hook)
{
    globalHook.store(hook, std::memory_order_release);
}

const TExchangeHook *CurrentExchangeHook()
{
    return globalHook.load(std::memory_order_acquire);
}
