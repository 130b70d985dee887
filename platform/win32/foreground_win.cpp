// SPDX-License-Identifier: MIT
#include "platform/win32/foreground_win.h"

namespace platform::win32 {

namespace {

bool isForeground(HWND window)
{
    return GetForegroundWindow() == window;
}

} // namespace

void bringToForeground(HWND window)
{
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    if (isForeground(window))
        return;

    // Windows keeps a background process from taking the foreground (it only flashes the
    // task-bar button), unless, among other cases, the foreground lock is lifted by user
    // input such as the Alt key being down, which is when the start-up loop calls this.
    if (SetForegroundWindow(window) && isForeground(window))
        return;

    // Otherwise share the input state of the thread that owns the foreground window for
    // a moment: within one input state, activation is not a foreground change the lock
    // forbids. Detached again at once so the other program's keys stay its own.
    const HWND current = GetForegroundWindow();
    const DWORD theirs = current ? GetWindowThreadProcessId(current, nullptr) : 0;
    const DWORD ours = GetCurrentThreadId();
    if (theirs != 0 && theirs != ours && AttachThreadInput(ours, theirs, TRUE)) {
        BringWindowToTop(window);
        SetForegroundWindow(window);
        AttachThreadInput(ours, theirs, FALSE);
    } else {
        BringWindowToTop(window);
        SetForegroundWindow(window);
    }
}

} // namespace platform::win32
