// SPDX-License-Identifier: MIT
#include "platform/x11/keyhold.h"

#include <cstring>

#include <xcb/xcb.h>

#include "platform/x11/ownwindows.h"

namespace platform {

namespace {

constexpr std::uint8_t kSentEventBit = 0x80; // set by the server on copies sent by a client

std::uint8_t eventType(const xcb_generic_event_t* event)
{
    return event->response_type & ~kSentEventBit;
}

} // namespace

X11KeyHold::X11KeyHold(xcb_connection_t* connection, std::uint32_t marker, std::function<void()> pressReached)
    : connection_(connection)
    , marker_(marker)
    , pressReached_(std::move(pressReached))
{
    longestHold_.setSingleShot(true);
    longestHold_.setInterval(kLongestHold);
    QObject::connect(&longestHold_, &QTimer::timeout, &longestHold_, [this] { release(); });
}

bool X11KeyHold::altPressed()
{
    if (phase_ == Phase::Idle) {
        phase_ = Phase::Holding;
        longestHold_.start();
        return true;
    }
    held_.push_back(Held{{}, true});
    return false;
}

void X11KeyHold::release()
{
    if (phase_ == Phase::Holding)
        sendBackUpToNextPress();
}

bool X11KeyHold::take(xcb_generic_event_t* event)
{
    const std::uint8_t type = eventType(event);
    if (type == XCB_CLIENT_MESSAGE) {
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (message->type != marker_)
            return false;
        copiesArrived();
        return true;
    }
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Copies handed back pass; so do keys for windows that are not Qt's (Qt drops them).
    if (phase_ == Phase::Idle || (event->response_type & kSentEventBit))
        return false;
    if (!isOwnX11Window(reinterpret_cast<const xcb_key_press_event_t*>(event)->event))
        return false;
    Held key;
    std::memcpy(key.event.data(), event, key.event.size());
    held_.push_back(key);
    return true;
}

void X11KeyHold::sendBackUpToNextPress()
{
    longestHold_.stop();
    phase_ = Phase::HandingBack;
    const std::uint32_t markerWindow = ownKeyWindow();
    if (markerWindow == 0) { // no window left to send anything to: nothing can come back
        held_.clear();
        phase_ = Phase::Idle;
        return;
    }
    while (!held_.empty() && !held_.front().altPress) {
        const RawEvent& event = held_.front().event;
        const auto window = reinterpret_cast<const xcb_key_press_event_t*>(event.data())->event;
        // No event mask: the server gives the copy to the window's maker, this connection.
        xcb_send_event(
            connection_, false, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(event.data()));
        held_.pop_front();
    }
    // The server keeps a client's requests in order, so the marker comes back after the
    // copies; keys that arrive before it are newer than the copies and wait here.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = markerWindow;
    message.type = marker_;
    xcb_send_event(connection_, false, markerWindow, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}

void X11KeyHold::copiesArrived()
{
    if (phase_ != Phase::HandingBack)
        return;
    if (held_.empty()) {
        phase_ = Phase::Idle;
    } else if (held_.front().altPress) {
        held_.pop_front();
        phase_ = Phase::Holding;
        longestHold_.start();
        pressReached_();
    } else {
        sendBackUpToNextPress();
    }
}

} // namespace platform
