#pragma once

namespace vyn {

// Throws away pending keyboard and mouse input (at most 1000 events), so that clicks made
// while a long reader operation blocked the window do not fire afterwards. The window layer
// installs the real work; without it the call does nothing.
void FlushInputMessages();
using FlushInputHook = void (*)();
void SetFlushInputHook(FlushInputHook hook);

}  // namespace vyn
