// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include <windows.h>

namespace platform::win32 {

// Looks at a message before it is translated and dispatched (accelerators, focus moves);
// true when it has handled the message, which then goes no further.
using MessageFilter = std::function<bool(MSG& message)>;

// True while keyboard input must wait for the caller's next pass.
using KeysMustWait = std::function<bool()>;

// Handles the messages of this thread's queue, for a loop that does other work between
// pumps. A key that arrives while keysMustWait() is true ends the pump unhandled and is the
// first message of the next one, sent to the window that has the focus by then: the
// caller moves the focus and empties the box the key is meant for in between.
class MessagePump {
public:
    MessagePump(MessageFilter filter, KeysMustWait keysMustWait);

    // Handles every message waiting; when none is, sleeps until one arrives or
    // longestWait has passed. Never spins: the wait is the system's.
    void pump(std::chrono::milliseconds longestWait);

private:
    void handle(MSG& message);

    MessageFilter filter_;
    KeysMustWait keysMustWait_;
    std::optional<MSG> heldKey_;
};

} // namespace platform::win32
