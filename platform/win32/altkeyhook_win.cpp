// SPDX-License-Identifier: MIT
#include "platform/win32/altkeyhook_win.h"

#include <cstdio>

#include "mainwindow/altpolicy.h"
#include "platform/altbounds.h"
#include "platform/keystatebits.h"
#include "platform/win32/keystate_win.h"

namespace platform::win32 {

namespace {

// How long the keys after a tap may wait for the main window's thread to take the
// keyboard, and the pause that ends a line's keys (altbounds.h).
constexpr UINT kLongestHoldMs = UINT(altbounds::kHookHold.count());
constexpr DWORD kLongestGapInLineMs = DWORD(altbounds::kLongestGapInLine.count());

// Marks the keys the hook sends on itself, so that it lets them pass when it sees them.
constexpr ULONG_PTR kSentOnMark = 0x54524E58; // "TRNX"

// How often the hook thread checks that its hook still answers, and a refused key is sent again.
constexpr UINT kCheckHookMs = 100;
constexpr UINT kSendAgainMs = 20;

// Posted to the hook thread: send the held keys on, from its loop rather than the hook.
constexpr UINT kSendHeldKeys = WM_APP + 1;

// The hook procedure's way back to its owner: the hook runs on the owner's thread.
thread_local AltKeyHook* tOwner = nullptr;

bool isAltKey(DWORD key)
{
    return key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

bool altsUp()
{
    return (GetAsyncKeyState(VK_LMENU) & 0x8000) == 0 && (GetAsyncKeyState(VK_RMENU) & 0x8000) == 0;
}

// Whether a key besides Alt is down (mouse buttons aside). Asked in the hook, this is
// the state before the event being decided.
bool anotherKeyDown()
{
    for (DWORD key = VK_BACK; key <= 0xFE; ++key) {
        if (!isAltKey(key) && (GetAsyncKeyState(static_cast<int>(key)) & 0x8000) != 0)
            return true;
    }
    return false;
}

} // namespace

AltKeyHook::AltKeyHook(HWND mainWindow, UINT takeKeyboard)
    : main_(mainWindow)
    , takeKeyboard_(takeKeyboard)
    , uiThread_(GetWindowThreadProcessId(mainWindow, nullptr))
    , systemKeys_(createWinKeyState())
    , held_([](std::span<INPUT> keys) { return SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)); })
{
    std::promise<bool> started;
    std::future<bool> hooked = started.get_future();
    thread_ = std::thread([this, &started] { run(started); });
    answers_ = hooked.get();
}

AltKeyHook::~AltKeyHook()
{
    PostThreadMessageW(hookThreadId_, WM_QUIT, 0, 0);
    thread_.join();
}

void AltKeyHook::run(std::promise<bool>& started)
{
    tOwner = this;
    hookThreadId_ = GetCurrentThreadId();
    // Every key waits for this thread: let it answer first on a busy machine.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the queue WM_QUIT arrives in
    const bool hooked = keeper_.start();
    started.set_value(hooked);
    if (!hooked)
        return;
    const UINT_PTR check = SetTimer(nullptr, 0, kCheckHookMs, checkHook);
    // The system calls the hook from within this thread's message retrieval.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == kSendHeldKeys) {
            sendPosted_ = false;
            sendWaitingKeys();
        } else {
            DispatchMessageW(&message);
        }
    }
    KillTimer(nullptr, check);
    system_.removeHook();
}

bool AltKeyHook::System::installHook()
{
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, hookProc, GetModuleHandleW(nullptr), 0);
    return hook_ != nullptr;
}

void AltKeyHook::System::removeHook()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
}

DWORD AltKeyHook::System::lastInputMs()
{
    LASTINPUTINFO info{sizeof info, 0};
    return GetLastInputInfo(&info) ? info.dwTime : 0;
}

void CALLBACK AltKeyHook::checkHook(HWND, UINT, UINT_PTR, DWORD)
{
    if (!tOwner)
        return;
    if (tOwner->keeper_.check())
        tOwner->onHookLost();
    tOwner->endStaleAlt();
}

void AltKeyHook::onHookLost()
{
    std::fprintf(stderr, "tarnix: the keyboard hook missed keys (dropped by the system?); installed it again\n");
    // Until the new hook reports a key, the loop reads the system's Alt, polling as it
    // does without a hook; an Alt the old hook missed counts at once.
    answers_ = false;
    tap_.reset();
    altHeld_ = false;
    if (keeper_.altMissed())
        pending_ = true;
    PostMessageW(main_, WM_NULL, 0, 0);
    if (redirect_ != Redirect::Off)
        sendWaitingKeys();
    redirect_ = Redirect::Off;
}

void AltKeyHook::endStaleAlt()
{
    // An Alt the tap holds while the system has every Alt up lost its release on the way
    // (see onKey): with no key after it, this ends it. Up at two checks in a row, for the
    // system notes a press only once the hook has answered. Asked only then: asking
    // clears the "pressed since" bit the keeper reads.
    if (!tap_.altHeld()) {
        altUpChecks_ = 0;
        return;
    }
    altUpChecks_ = altsUp() ? altUpChecks_ + 1 : 0;
    if (altUpChecks_ >= 2) {
        tap_.reset();
        altHeld_ = false;
        altUpChecks_ = 0;
    }
}

LRESULT CALLBACK AltKeyHook::hookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && tOwner && tOwner->onKey(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)))
        return 1; // it goes on later, anew
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool AltKeyHook::onKey(const KBDLLHOOKSTRUCT& key)
{
    const bool down = (key.flags & LLKHF_UP) == 0;
    keeper_.onHookKey(key.vkCode, down);
    answers_ = true;
    if (key.dwExtraInfo == kSentOnMark)
        return false;
    const bool alt = isAltKey(key.vkCode);
    if (alt)
        altUpChecks_ = 0;
    // Asked in the hook, the system's state is the one before this event. If it has every
    // Alt up while the tap holds one, the release went round the hook (Wine sets the state
    // of keys let go as the window they were typed in closes, and calls no hook for them):
    // left so, the loop would empty the input box on every pass, and a scanner's tap right
    // after a person's Alt+F4 would be taken for that Alt's repeat.
    if (tap_.altHeld() && (down || !alt) && altsUp())
        tap_.reset();
    const AltTapRule::Event event = tap_.key({.code = key.vkCode,
        .down = down,
        .alt = alt,
        .othersHeld = alt && down && anotherKeyDown(),
        .timeMs = key.time});
    altHeld_ = tap_.altHeld();
    if (redirect_ == Redirect::On && key.time - lastRedirectedMs_ > kLongestGapInLineMs)
        redirect_ = Redirect::Off;

    if (event != AltTapRule::Event::None) {
        const AltTarget target = mainWindowBusy() ? AltTarget::Modal
            : GetForegroundWindow() == main_      ? AltTarget::MainWindow
                                                  : AltTarget::Elsewhere;
        if (altCounts(event, target)) {
            pending_ = true;
            PostMessageW(main_, WM_NULL, 0, 0); // wakes the loop
            if (target == AltTarget::Elsewhere)
                callMainWindowForward();
        }
    }
    if (redirect_ == Redirect::Off)
        return false;
    // The tap's release and the line's keys after it go on anew once the main window has
    // the keyboard: sent before, or let through, a key would still reach the other
    // program's window (Wine binds each key to the window its X server handed it to) or be
    // dropped while the foreground has no focus yet.
    lastRedirectedMs_ = key.time;
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(key.vkCode);
    input.ki.wScan = static_cast<WORD>(key.scanCode);
    input.ki.dwFlags = ((key.flags & LLKHF_EXTENDED) != 0 ? KEYEVENTF_EXTENDEDKEY : 0)
        | ((key.flags & LLKHF_UP) != 0 ? KEYEVENTF_KEYUP : 0);
    input.ki.dwExtraInfo = kSentOnMark;
    held_.hold(input);
    // Sent from this thread's loop, so that the hook answers at once.
    if (redirect_ == Redirect::On && !sendPosted_)
        sendPosted_ = PostThreadMessageW(hookThreadId_, kSendHeldKeys, 0, 0) != FALSE;
    return true;
}

bool AltKeyHook::mainWindowBusy() const
{
    // A modal box disables its owner; menus and moving the window run loops of their own.
    constexpr DWORD kModalLoops = GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return !IsWindowEnabled(main_) || IsHungAppWindow(main_)
        || (GetGUIThreadInfo(uiThread_, &gui) && (gui.flags & kModalLoops) != 0);
}

void AltKeyHook::callMainWindowForward()
{
    // Answered on the main window's thread before any key queued for it, the answer comes
    // back through this thread's message loop; the hook does not wait for it.
    redirect_ = Redirect::Waiting;
    ++taps_;
    SendMessageCallbackW(main_, takeKeyboard_, 0, 0, tookKeyboard, taps_);
    KillTimer(nullptr, timer_);
    timer_ = SetTimer(nullptr, 0, kLongestHoldMs, waitedLongEnough);
}

void CALLBACK AltKeyHook::tookKeyboard(HWND, UINT, ULONG_PTR tap, LRESULT)
{
    if (tOwner && tap == tOwner->taps_ && tOwner->redirect_ == Redirect::Waiting)
        tOwner->sendWaitingKeys();
}

void CALLBACK AltKeyHook::waitedLongEnough(HWND, UINT, UINT_PTR, DWORD)
{
    if (!tOwner || tOwner->redirect_ != Redirect::Waiting)
        return;
    // The main window's thread is busy: the system switches the foreground at once, and
    // the keys wait in the main window's queue until the thread gets to them.
    SetForegroundWindow(tOwner->main_);
    tOwner->sendWaitingKeys();
}

void AltKeyHook::sendWaitingKeys()
{
    KillTimer(nullptr, timer_);
    redirect_ = Redirect::On;
    if (sending_)
        return; // the send under way sends them, in their turn
    // While it sends, this thread answers the hook's calls for the keys that follow, which
    // join the held keys: they go on after those before them.
    sending_ = true;
    const bool refused = held_.sendOn();
    sending_ = false;
    KillTimer(nullptr, retryTimer_);
    retryTimer_ = refused ? SetTimer(nullptr, 0, kSendAgainMs, sendAgain) : 0;
}

void CALLBACK AltKeyHook::sendAgain(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (tOwner && timer == tOwner->retryTimer_) {
        tOwner->retryTimer_ = 0;
        tOwner->sendWaitingKeys();
    }
}

std::int16_t AltKeyHook::query(int virtualKey)
{
    if (!answers_ || virtualKey != kAltKey) {
        // A press the lost hook missed was noted by the keeper, which cleared the system's bit.
        const std::int16_t state = systemKeys_->query(virtualKey);
        return virtualKey == kAltKey && pending_.exchange(false) ? keyStateBits(state < 0, true) : state;
    }
    return keyStateBits(altHeld_ && GetForegroundWindow() == main_, pending_.exchange(false));
}

} // namespace platform::win32
