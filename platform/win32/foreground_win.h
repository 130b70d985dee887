// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

namespace platform::win32 {

// Shows a top-level window (restoring it when minimized) and makes it the foreground
// window with the keyboard, also when another program's window has the foreground.
void bringToForeground(HWND window);

} // namespace platform::win32
