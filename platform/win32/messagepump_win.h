// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>

#include <windows.h>

namespace platform::win32 {

// Looks at a message before it is translated and dispatched (accelerators, focus moves);
// true when it has handled the message, which then goes no further.
using MessageFilter = std::function<bool(MSG& message)>;

// Handles every message waiting in this thread's queue; when none is, sleeps until one
// arrives or longestWait has passed. Never spins: the wait is the system's.
void pumpMessages(std::chrono::milliseconds longestWait, const MessageFilter& filter);

} // namespace platform::win32
