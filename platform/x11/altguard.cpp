// SPDX-License-Identifier: MIT
#include "platform/x11/altguard.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <poll.h>
#include <sys/socket.h>

#include "platform/x11/xcbcalls.h"

namespace platform::x11 {

namespace {

// How often a window being shown is looked at while the keys wait for it.
constexpr std::chrono::milliseconds kViewableRetry{5};

// The window a toolkit keeps a top-level window's last user time on: its own, or the
// one it names in _NET_WM_USER_TIME_WINDOW.
std::uint32_t userTimeWindowOf(xcb_connection_t* connection, std::uint32_t window, std::uint32_t userTimeWindowAtom)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, false, window, userTimeWindowAtom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    std::uint32_t found = window;
    if (reply && xcb_get_property_value_length(reply) == 4)
        found = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return found;
}

} // namespace

AltGuard::AltGuard(xcb_connection_t* connection, int answers)
    : connection_(connection)
    , answers_(answers)
    , root_(rootOf(connection))
    , userTimeAtom_(internAtom(connection, "_NET_WM_USER_TIME"))
    , userTimeWindowAtom_(internAtom(connection, "_NET_WM_USER_TIME_WINDOW"))
    , altKeys_(AltKeys::read(connection))
    , rawKeys_(DeviceRawKeys::select(connection))
{
    // Without the keymap or the devices' keys the guard could tell no tap from a chord:
    // it holds nothing, and Tarnix keeps the keys after Alt in order by itself.
    if (!altKeys_ || !rawKeys_)
        return;
    altKeys_->watchKeymapChanges();
    grabAlt(true);
}

void AltGuard::grabAlt(bool grab)
{
    if (grab == altGrabbed_)
        return;
    if (grab)
        grabbed_ = altKeys_->anyLayout();
    for (const std::uint8_t keycode : grabbed_) {
        // Refused when another client grabs Alt already; Tarnix then keeps the keys after
        // Alt in order by itself, only without the freeze.
        if (grab)
            xcb_grab_key(connection_, false, root_, XCB_MOD_MASK_ANY, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC);
        else
            xcb_ungrab_key(connection_, keycode, root_, XCB_MOD_MASK_ANY);
    }
    xcb_flush(connection_);
    altGrabbed_ = grab;
}

void AltGuard::run()
{
    for (;;) {
        pollfd watched[2] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {answers_, POLLIN, 0}};
        if (poll(watched, 2, pollTimeout()) < 0 && errno != EINTR)
            return;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            handleEvent(*event);
            std::free(event);
        }
        if (xcb_connection_has_error(connection_))
            return;
        if ((watched[1].revents & (POLLIN | POLLHUP | POLLERR)) && !readAnswers())
            return;
        if (frozen_)
            tryToLetGo();
    }
}

void AltGuard::handleEvent(const xcb_generic_event_t& event)
{
    if (altKeys_ && altKeys_->keymapChanged(event)) {
        // Other keys may be Alt now: grab those.
        if (altGrabbed_) {
            grabAlt(false);
            grabAlt(true);
        }
        return;
    }
    if (const auto raw = rawKeys_ ? rawKeys_->of(event) : std::nullopt) {
        rawKey(*raw);
        return;
    }
    // Errors (a grab refused, a window gone) and anything else change nothing here. Only
    // the grab brings key presses: an Alt key, with the keyboard frozen from here on.
    if ((event.response_type & 0x7f) == XCB_KEY_PRESS)
        altPressed(reinterpret_cast<const xcb_key_press_event_t&>(event));
}

void AltGuard::rawKey(const RawKey& key)
{
    // A device's Alt press comes raw and then through the grab: the grab's press stands
    // for it, with this device. A second Alt pressed during a freeze stands for itself.
    const bool alt = altKeys_->inAnyLayout(key.keycode);
    if (key.press && alt && !(frozen_ && key.keycode != frozen_->keycode)) {
        lastAltPress_ = key;
        return;
    }
    const auto event
        = tap_.key({.code = key.keycode, .down = key.press, .alt = alt, .device = key.device, .timeMs = key.time});
    if (!frozen_)
        return;
    if (event == AltTapRule::Event::Chord)
        letGo();
    else if (event == AltTapRule::Event::Tap)
        frozen_->tapped = true;
}

void AltGuard::altPressed(const xcb_key_press_event_t& press)
{
    const KeyboardState state{AltKeys::groupOf(press.state), press.state};
    const bool alt = altKeys_->isAlt(press.detail, state.group); // not AltGr in the layout in use
    const bool sameKey = lastAltPress_ && lastAltPress_->keycode == press.detail && lastAltPress_->time == press.time;
    const auto event = tap_.key({.code = press.detail,
        .down = true,
        .alt = alt,
        .othersHeld = alt && !altKeys_->loneAlt(press.detail, state),
        .device = sameKey ? lastAltPress_->device : 0u,
        .timeMs = press.time});
    lastAltPress_.reset();
    if (event != AltTapRule::Event::LonePress) {
        // AltGr in this layout, Alt with another modifier, a repeat: the person's.
        xcb_allow_events(connection_, XCB_ALLOW_REPLAY_KEYBOARD, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        return;
    }
    frozen_ = Freeze{press.time, press.detail, Clock::now() + kLongestFreeze, false, {}};
    // Tarnix reads the press on a connection of its own and may answer before the press
    // reaches the guard.
    if (early_ && early_->time == press.time)
        frozen_->focusWindow = early_->focusWindow;
    early_.reset();
}

bool AltGuard::readAnswers()
{
    for (;;) {
        AltPressRead answer;
        const ssize_t got = recv(answers_, &answer, sizeof answer, MSG_DONTWAIT);
        if (got == static_cast<ssize_t>(sizeof answer))
            answered(answer);
        else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return true;
        else
            return false; // closed: Tarnix has ended
    }
}

void AltGuard::answered(const AltPressRead& answer)
{
    // Tarnix reads its events: an Alt press is worth holding the keys for again.
    if (altKeys_ && rawKeys_)
        grabAlt(true);
    if (frozen_ && frozen_->time == answer.time)
        frozen_->focusWindow = answer.focusWindow;
    else
        early_ = answer;
}

void AltGuard::tryToLetGo()
{
    if (frozen_->focusWindow) {
        const std::uint32_t window = *frozen_->focusWindow;
        if (window == 0) {
            letGo();
            return;
        }
        // A window being shown again (it was minimized) takes the focus once it is on
        // screen; the keys wait for it until the deadline.
        if (viewable(window)) {
            giveFocus(window, frozen_->time);
            letGo();
            return;
        }
    }
    if (Clock::now() < frozen_->deadline)
        return;
    // Alt still held alone is the person's, whatever Tarnix says; a tap without an answer
    // means Tarnix reads nothing now: it may be stopped.
    const bool missed = frozen_->tapped && !frozen_->focusWindow;
    letGo();
    if (missed)
        grabAlt(false); // until Tarnix answers again
}

void AltGuard::giveFocus(std::uint32_t window, std::uint32_t time)
{
    // A window manager that keeps programs from taking the focus (KWin) would hand it
    // back to the program the person used last, judged by each window's last user time;
    // the tap is the user's request for this window, so it counts as its use. Sent on
    // this connection before the focus, the manager learns of it first.
    if (userTimeAtom_ != XCB_ATOM_NONE) {
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE,
            userTimeWindowOf(connection_, window, userTimeWindowAtom_), userTimeAtom_, XCB_ATOM_CARDINAL, 32, 1, &time);
    }
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, window, time);
}

void AltGuard::letGo()
{
    // The Alt press is delivered again as if there were no grab, and the keys after it
    // follow to wherever the focus is now.
    xcb_allow_events(connection_, XCB_ALLOW_REPLAY_KEYBOARD, XCB_CURRENT_TIME);
    xcb_flush(connection_);
    frozen_.reset();
}

int AltGuard::pollTimeout() const
{
    if (!frozen_)
        return -1;
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(frozen_->deadline - Clock::now());
    if (frozen_->focusWindow)
        wait = std::min(wait, kViewableRetry);
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
}

bool AltGuard::viewable(std::uint32_t window)
{
    xcb_get_window_attributes_reply_t* reply
        = xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
    const bool onScreen = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    return onScreen;
}

} // namespace platform::x11
