// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "mainwindow/keyboardpollingloop.h"

namespace platform {

class KeyState;

// Delivers Qt's pending events; when there are none, sleeps until the next one, at the
// latest after the wait given. Needs a QCoreApplication.
KeyboardPollingLoop::Pump qtEventPump();

// The polling loop over Qt's events.
KeyboardPollingLoop qtPollingLoop(KeyState& keys, std::function<void()> onAltPressed);

} // namespace platform
