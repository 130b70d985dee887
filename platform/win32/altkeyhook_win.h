// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include <windows.h>

#include "platform/alttaprule.h"
#include "platform/keystate.h"
#include "platform/win32/heldkeys_win.h"
#include "platform/win32/hookkeeper_win.h"

namespace platform::win32 {

// The Alt key as the start-up loop asks for it, read by a low-level keyboard hook that
// sees each key before the system routes it. Inside the main window every Alt press
// counts, and a held Alt, as before. From another program (or the help window) only a
// scanner's lone Alt tap counts: at its release the main window is asked to take the
// foreground and the focus into its input box, and the release and the line's keys after
// it wait until it has, then go on anew, to the main window. A person's chords go where
// they would go without Tarnix. While the main window is disabled under a modal box, one
// of its menus is open or it is hung, no Alt counts and no key is touched.
//
// The system waits for the hook on every key and drops a hook that keeps it waiting past
// LowLevelHooksTimeout, so the hook runs on a thread of its own and never waits for
// anything: the keys it holds are sent on from the thread's message loop, not from within
// the hook. Keys wait after a tap only, kLongestHoldMs at most, whatever the main window's
// thread is doing. Should the hook not be installed, or be dropped all the same (see
// HookKeeper), the system's key state answers until a hook reports keys again.
class AltKeyHook final : public KeyState {
public:
    // takeKeyboard: the message that brings mainWindow forward with the focus in its
    // input box.
    AltKeyHook(HWND mainWindow, UINT takeKeyboard);
    ~AltKeyHook() override;
    AltKeyHook(const AltKeyHook&) = delete;
    AltKeyHook& operator=(const AltKeyHook&) = delete;

    std::int16_t query(int virtualKey) override;
    bool wakesEventLoop() const override { return answers_.load(); }

    // An Alt the loop has not been told of yet: keys that came after it must wait until
    // the loop has acted on it, or the emptying of the input box would take them.
    bool altPending() const { return pending_.load(); }

private:
    enum class Redirect { Off, Waiting, On };

    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK tookKeyboard(HWND window, UINT message, ULONG_PTR tap, LRESULT result);
    static void CALLBACK waitedLongEnough(HWND window, UINT message, UINT_PTR timer, DWORD time);
    static void CALLBACK sendAgain(HWND window, UINT message, UINT_PTR timer, DWORD time);
    static void CALLBACK checkHook(HWND window, UINT message, UINT_PTR timer, DWORD time);
    void run(std::promise<bool>& started);
    bool onKey(const KBDLLHOOKSTRUCT& key); // true: the hook keeps the key
    bool mainWindowBusy() const;
    void callMainWindowForward();
    void sendWaitingKeys();
    void onHookLost();
    void endStaleAlt();

    // The hook as the keeper installs it, on the hook thread.
    class System final : public HookKeeper::System {
    public:
        bool installHook() override;
        void removeHook() override;
        DWORD lastInputMs() override;
        SHORT asyncKeyState(int virtualKey) override { return GetAsyncKeyState(virtualKey); }

    private:
        HHOOK hook_ = nullptr;
    };

    HWND main_;
    UINT takeKeyboard_;
    DWORD uiThread_;
    std::unique_ptr<KeyState> systemKeys_;
    // The hook thread's: the hook, the tap decision, and the keys of a line sent on to the
    // main window.
    System system_;
    HookKeeper keeper_{system_};
    AltTapRule tap_;
    int altUpChecks_ = 0; // checks in a row that found the Alt the tap holds up
    Redirect redirect_ = Redirect::Off;
    ULONG_PTR taps_ = 0;
    UINT_PTR timer_ = 0;
    UINT_PTR retryTimer_ = 0;
    HeldKeys held_;
    bool sending_ = false;
    bool sendPosted_ = false;
    DWORD lastRedirectedMs_ = 0;
    std::atomic<bool> answers_{false}; // the hook answers for the keys: the system's state is not asked
    std::atomic<bool> pending_{false};
    std::atomic<bool> altHeld_{false};
    DWORD hookThreadId_ = 0;
    std::thread thread_;
};

} // namespace platform::win32
