// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include <windows.h>

namespace platform::win32 {

// The keys the Alt hook holds back after a tap, sent on in order once the main window has
// the keyboard. The system may refuse some (SendInput inserts fewer than asked: another
// desktop, a program of higher integrity in front): those are tried again a few times and
// then given up with a note, never dropped without a trace.
class HeldKeys {
public:
    // Returns how many of the keys, from the first, the system took (as SendInput does).
    using Send = std::function<UINT(std::span<INPUT> keys)>;
    using Note = std::function<void(const std::string& text)>;

    // How often a refused key is sent before it is given up.
    static constexpr int kAttempts = 3;

    // note: where a key given up is told of; standard error when empty.
    explicit HeldKeys(Send send, Note note = {});

    void hold(const INPUT& key) { keys_.push_back(key); }
    bool empty() const { return keys_.empty(); }

    // Sends every key held, in order. True when the system refused some that are still to
    // be tried again; false when none is left, sent or given up.
    bool sendOn();

private:
    Send send_;
    Note note_;
    std::vector<INPUT> keys_;
    int refusals_ = 0; // in a row, for the first key held
};

} // namespace platform::win32
