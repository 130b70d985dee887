// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/keystate.h"

namespace platform {

// The key state from GetAsyncKeyState: the whole desktop's, whichever program has the
// keyboard focus. Needs no toolkit.
std::unique_ptr<KeyState> createWinKeyState();

} // namespace platform
