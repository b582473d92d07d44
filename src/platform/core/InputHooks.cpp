#include "platform/core/InputHooks.h"

#include <atomic>

namespace vyn {

namespace {
std::atomic<FlushInputHook> gFlushInput{nullptr};
}

void FlushInputMessages()
{
    if (FlushInputHook hook = gFlushInput.load()) hook();
}

void SetFlushInputHook(FlushInputHook hook)
{
    gFlushInput.store(hook);
}

}  // namespace vyn
