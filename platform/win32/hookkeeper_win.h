// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>

#include <windows.h>

namespace platform::win32 {

// Keeps a low-level keyboard hook alive. Windows removes such a hook, without a word, once
// it answers later than LowLevelHooksTimeout; from then on the hook is never called again.
// So the keeper compares, at every check, the keys the system saw with those the hook
// reported: a key pressed (GetAsyncKeyState's "pressed since the last query") or held
// down that the hook never reported means the hook is gone. Then it installs the hook
// again at once, and until the new hook reports a key the caller reads the system's key
// state instead. Runs on the hook's thread.
class HookKeeper {
public:
    // What the keeper asks of the system; tests put a stand-in here.
    class System {
    public:
        virtual ~System() = default;
        virtual bool installHook() = 0; // true when installed
        virtual void removeHook() = 0;
        virtual DWORD lastInputMs() = 0; // GetLastInputInfo's time
        virtual SHORT asyncKeyState(int virtualKey) = 0;
    };

    explicit HookKeeper(System& system)
        : system_(system)
    {
    }

    // Installs the hook; false when the system refused it.
    bool start();

    // The hook reported a key: it lives.
    void onHookKey(DWORD virtualKey, bool down);

    // Compares what the system saw since the last check with what the hook reported; when
    // the hook is gone, installs it anew. True when it found the hook gone.
    bool check();

    // False while the hook may be gone: from a loss until the new hook reports a key, or
    // for good when it could not be installed again.
    bool hookAnswers() const { return answers_; }

    // Whether the check that found the hook gone saw an Alt press the hook missed.
    bool altMissed() const { return altMissed_; }

private:
    bool keyMissed();

    System& system_;
    bool installed_ = false;
    bool answers_ = false;
    bool altMissed_ = false;
    DWORD lastInputMs_ = 0;
    std::bitset<256> down_;          // as the hook reported them
    std::bitset<256> pressedOfLate_; // pressed since the last check, as the hook reported
    std::bitset<256> pressedBefore_; // pressed in the check's time before that
    std::bitset<256> heldUnseen_;    // down by the system, not by the hook, at the last check
    std::bitset<256> blamed_;        // held unseen, already taken as a loss: not again
};

} // namespace platform::win32
