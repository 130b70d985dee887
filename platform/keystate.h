// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

// Virtual-key code of the Alt key.
inline constexpr int kAltKey = 0x12;

// The asynchronous state of a key for the whole desktop, as the start-up loop polls it:
// not zero when the key is down at the moment of the query or has been pressed since
// the previous query. Only zero / not zero carries meaning.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual std::int16_t query(int virtualKey) = 0;

    // True when a key event makes the event loop wake up by itself (the source delivers
    // it as an event), so a loop waiting for events need not poll often. False for a
    // state that can only be polled.
    virtual bool wakesEventLoop() const { return false; }
};

// The key state of the platform the program runs on: chosen at build time by the
// operating system and at run time by the window system. Needs a QGuiApplication.
std::unique_ptr<KeyState> createKeyState();

} // namespace platform
