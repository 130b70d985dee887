// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>

#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

#include "mainwindow/altpolicy.h"
#include "platform/alttaprule.h"
#include "platform/keystate.h"
#include "platform/x11/altguardclient.h"
#include "platform/x11/altkeys.h"
#include "platform/x11/keyhold.h"
#include "platform/x11/rawkeys.h"

namespace platform {

// The key state of the whole X11 desktop, seen while any application has the focus.
// The keyboard devices' raw key events arrive on Qt's own X connection, in the one
// stream with the key events for Tarnix's windows, and are read there before Qt handles
// anything. Being Qt's connection, its events wake a waiting event loop by themselves.
//
// Which Alt presses count is the tap rule's (platform/alttaprule.h) and the window's
// (mainwindow/altpolicy.h), fed each device's raw keys with the layout in use: AltGr is no
// Alt, and a key of another device decides nothing about an Alt. A counted press latches
// until the next query and is "down" until released, which the server's key map confirms.
//
// Read in that stream, a counted press is in its place among the keys: the keys after it
// wait (X11KeyHold) until the program has acted on it, and the keys typed in another
// program right after a tap go to Tarnix (X11AltGuardClient and its guard).
class X11KeyState final : public KeyState, private QAbstractNativeEventFilter {
public:
    // Nothing unless Qt shows its windows on an X server with XKB and XInput 2.1 or
    // later. The Alt guard's program is looked for in guardDirs.
    static std::unique_ptr<X11KeyState> open(const QStringList& guardDirs);
    ~X11KeyState() override;

    X11KeyState(const X11KeyState&) = delete;
    X11KeyState& operator=(const X11KeyState&) = delete;

    std::int16_t query(int virtualKey) override;
    bool wakesEventLoop() const override { return true; }

private:
    X11KeyState(xcb_connection_t* connection, const char* displayName, std::unique_ptr<x11::AltKeys> altKeys,
        x11::DeviceRawKeys rawKeys, std::uint32_t marker, const QStringList& guardDirs);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void rawKey(const x11::RawKey& key);
    // The press counts: latched, the keys after it held, the guard told where they go.
    void count(std::uint32_t time, std::uint32_t focusWindow);
    std::bitset<256> keysDownNow(); // one round trip
    std::optional<std::uint8_t> altHeldNow();

    xcb_connection_t* connection_;
    std::unique_ptr<x11::AltKeys> altKeys_;
    x11::DeviceRawKeys rawKeys_;
    AltTapRule tap_;
    AltTarget pressTarget_ = AltTarget::Elsewhere; // where the keys went at the last Alt press
    std::uint32_t pressTime_ = 0;
    std::optional<std::uint8_t> countedAlt_; // the key of a counted press, while it is down
    bool altPressedSinceQuery_ = false;
    X11KeyHold hold_;
    X11AltGuardClient grab_;
};

} // namespace platform
