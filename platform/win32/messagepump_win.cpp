// SPDX-License-Identifier: MIT
#include "platform/win32/messagepump_win.h"

#include <algorithm>
#include <utility>

namespace platform::win32 {

namespace {

// The caller polls the keyboard between pumps, so a queue that never runs dry (a page
// that keeps posting to itself) must not hold it here for long.
constexpr ULONGLONG kLongestDrainMs = 100;

bool isKey(const MSG& message)
{
    return message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
}

} // namespace

MessagePump::MessagePump(MessageFilter filter, KeysMustWait keysMustWait)
    : filter_(std::move(filter))
    , keysMustWait_(std::move(keysMustWait))
{
}

void MessagePump::pump(std::chrono::milliseconds longestWait)
{
    if (heldKey_) {
        MSG key = *heldKey_;
        heldKey_.reset();
        // Addressed where the focus was when it was taken from the queue.
        if (const HWND focus = GetFocus())
            key.hwnd = focus;
        handle(key);
    } else {
        const auto wait = static_cast<DWORD>(std::clamp<long long>(longestWait.count(), 0, INFINITE - 1));
        // MWMO_INPUTAVAILABLE: input already in the queue, though seen before, ends the wait.
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }

    const ULONGLONG start = GetTickCount64();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (isKey(message) && keysMustWait_ && keysMustWait_()) {
            heldKey_ = message;
            return;
        }
        handle(message);
        if (GetTickCount64() - start > kLongestDrainMs)
            break;
    }
}

void MessagePump::handle(MSG& message)
{
    // Nothing here posts WM_QUIT; the program ends through endProgram.
    if (message.message == WM_QUIT)
        return;
    if (!(filter_ && filter_(message))) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace platform::win32
