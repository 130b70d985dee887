// SPDX-License-Identifier: MIT
#include "mainwindow/keyboardpollingloop.h"

#include "platform/keystate.h"

KeyboardPollingLoop::KeyboardPollingLoop(platform::KeyState& keys, std::function<void()> onAltPressed, Pump pump)
    : keys_(keys)
    , onAltPressed_(std::move(onAltPressed))
    , pump_(std::move(pump))
    , longestWait_(keys_.wakesEventLoop() ? kLongestWaitWhenWoken : kLongestWait)
{
}

void KeyboardPollingLoop::runPass()
{
    const bool altDown = keys_.query(platform::kAltKey) != 0;
    if (altDown)
        onAltPressed_();
    // A held Alt sends no further key events to wake the loop, yet must keep emptying
    // the box: poll at the short bound until it is released.
    longestWait_ = altDown || !keys_.wakesEventLoop() ? kLongestWait : kLongestWaitWhenWoken;
    pump_(longestWait_);
}

void KeyboardPollingLoop::runForever()
{
    for (;;)
        runPass();
}
