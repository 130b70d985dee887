// SPDX-License-Identifier: MIT
#include "platform/x11/altguard.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <poll.h>
#include <sys/socket.h>

namespace platform::x11 {

namespace {

// How often a window being shown is looked at while the keys wait for it.
constexpr std::chrono::milliseconds kViewableRetry{5};

std::uint32_t rootOf(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

} // namespace

AltGuard::AltGuard(xcb_connection_t* connection, int answers, std::vector<std::uint8_t> altKeycodes)
    : connection_(connection)
    , answers_(answers)
    , altKeycodes_(std::move(altKeycodes))
    , root_(rootOf(connection))
{
    grabAlt(true);
}

void AltGuard::grabAlt(bool grab)
{
    if (grab == altGrabbed_)
        return;
    for (const std::uint8_t keycode : altKeycodes_) {
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
    // Errors (a grab refused, a window gone) and anything else change nothing here.
    if ((event.response_type & 0x7f) != XCB_KEY_PRESS)
        return;
    // Only the grab brings key presses: an Alt, with the keyboard frozen from here on.
    const auto& press = reinterpret_cast<const xcb_key_press_event_t&>(event);
    frozen_ = Freeze{press.time, Clock::now() + kLongestFreeze, {}};
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
    grabAlt(true);
    if (frozen_ && frozen_->time == answer.time)
        frozen_->focusWindow = answer.focusWindow;
    else
        early_ = answer;
}

void AltGuard::tryToLetGo()
{
    const bool answered = frozen_->focusWindow.has_value();
    if (answered) {
        const std::uint32_t window = *frozen_->focusWindow;
        if (window == 0) {
            letGo();
            return;
        }
        // A window being shown again (it was minimized) takes the focus once it is on
        // screen; the keys wait for it until the deadline.
        if (viewable(window)) {
            xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, window, frozen_->time);
            letGo();
            return;
        }
    }
    if (Clock::now() < frozen_->deadline)
        return;
    letGo();
    if (!answered)
        grabAlt(false); // until Tarnix answers again: it may be stopped
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
