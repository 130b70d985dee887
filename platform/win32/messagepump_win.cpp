// SPDX-License-Identifier: MIT
#include "platform/win32/messagepump_win.h"

#include <algorithm>

namespace platform::win32 {

namespace {

// The caller polls the keyboard between pumps, so a queue that never runs dry (a page
// that keeps posting to itself) must not hold it here for long.
constexpr ULONGLONG kLongestDrainMs = 100;

} // namespace

void pumpMessages(std::chrono::milliseconds longestWait, const MessageFilter& filter)
{
    const auto wait = static_cast<DWORD>(std::clamp<long long>(longestWait.count(), 0, INFINITE - 1));
    // MWMO_INPUTAVAILABLE: input already in the queue, though seen before, ends the wait.
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);

    const ULONGLONG start = GetTickCount64();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // Nothing here posts WM_QUIT; the program ends through endProgram.
        if (message.message == WM_QUIT)
            continue;
        if (!(filter && filter(message))) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (GetTickCount64() - start > kLongestDrainMs)
            break;
    }
}

} // namespace platform::win32
