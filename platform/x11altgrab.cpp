// SPDX-License-Identifier: MIT
#include "platform/x11altgrab.h"

#include <cstdlib>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/x11ownwindows.h"

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace platform {

namespace {

// The window that has the keyboard now, or zero. One round trip.
std::uint32_t inputFocus(xcb_connection_t* connection)
{
    xcb_get_input_focus_reply_t* reply
        = xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const std::uint32_t focus = reply ? reply->focus : 0;
    std::free(reply);
    return focus;
}

// X server times wrap after 49 days.
bool later(std::uint32_t time, std::uint32_t than)
{
    return static_cast<std::int32_t>(time - than) > 0;
}

// A connection of the watching thread's own, told of raw Alt presses.
Display* openWatchConnection(Display* qtDisplay)
{
    Display* own = XOpenDisplay(DisplayString(qtDisplay));
    if (!own)
        return nullptr;
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(own, "XInputExtension", &opcode, &event, &error)
        || XIQueryVersion(own, &major, &minor) != Success) {
        XCloseDisplay(own);
        return nullptr;
    }
    unsigned char maskBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(maskBits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof(maskBits), maskBits};
    XISelectEvents(own, DefaultRootWindow(own), &mask, 1);
    XFlush(own);
    return own;
}

} // namespace

X11AltGrab::X11AltGrab(_XDisplay* qtDisplay, xcb_connection_t* connection, const std::vector<std::uint8_t>& altKeycodes)
    : connection_(connection)
    , root_(static_cast<std::uint32_t>(DefaultRootWindow(qtDisplay)))
    , altKeycodes_(altKeycodes)
    , wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    Display* own = openWatchConnection(qtDisplay);
    // Without the watching thread nothing could end a freeze the main thread misses.
    if (!own || wakeFd_ < 0) {
        if (own)
            XCloseDisplay(own);
        return;
    }
    for (const std::uint8_t keycode : altKeycodes_) {
        // Fails when another client grabs Alt already: then only the active grab taken
        // once the press is read is left, a little later.
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            connection_, true, root_, XCB_MOD_MASK_ANY, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie))
            std::free(error);
        else
            passiveGrabs_.push_back(keycode);
    }
    watcher_ = std::jthread([this, own](std::stop_token stop) { watch(stop, own); });
}

X11AltGrab::~X11AltGrab()
{
    if (watcher_.joinable()) {
        watcher_.request_stop();
        wake();
        watcher_.join();
    }
    for (const std::uint8_t keycode : passiveGrabs_)
        xcb_ungrab_key(connection_, keycode, root_, XCB_MOD_MASK_ANY);
    release();
    if (wakeFd_ >= 0)
        close(wakeFd_);
}

void X11AltGrab::altPressed(std::uint32_t time)
{
    std::lock_guard lock(mutex_);
    if (later(time, lastHandledPress_) || lastHandledPress_ == 0)
        lastHandledPress_ = time;
    const std::uint32_t focus = inputFocus(connection_);
    if (focus != 0 && isOwnX11Window(focus)) {
        // Keys go to Tarnix anyway: free the keyboard at once (Alt+Tab from Tarnix).
        xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        grabbed_ = false;
        return;
    }
    // Taken over with the press's time, as an active grab that thaws the keyboard.
    // Owner events: keys for Tarnix's windows arrive as usual, the rest on the root
    // window (see()). Not granted when another client holds the keyboard (a menu, the
    // window manager switching windows): then it is theirs.
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(connection_,
        xcb_grab_keyboard(connection_, true, root_, time, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
    grabbed_ = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    if (!grabbed_) {
        // Whatever happened, the keyboard must not stay frozen by the passive grab.
        xcb_allow_events(connection_, XCB_ALLOW_ASYNC_KEYBOARD, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        return;
    }
    armed_ = true;
    deadline_ = std::chrono::steady_clock::now() + kLongestGrab;
    wake();
}

void X11AltGrab::see(xcb_generic_event_t* event)
{
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        // Only the grab reports keys on the root window; Qt drops keys for windows it
        // does not know, so they are given to the window that takes Tarnix's keys.
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (key->event == root_) {
            if (const std::uint32_t own = ownKeyWindow()) {
                key->event = own;
                key->child = XCB_WINDOW_NONE;
            }
        }
    } else if (type == XCB_FOCUS_IN) {
        const auto* focus = reinterpret_cast<const xcb_focus_in_event_t*>(event);
        // The window manager gave Tarnix the keyboard: from now on keys come anyway.
        // Focus events that only report the grab itself do not count.
        const bool moved = focus->mode == XCB_NOTIFY_MODE_NORMAL || focus->mode == XCB_NOTIFY_MODE_WHILE_GRABBED;
        if (moved && focus->detail != XCB_NOTIFY_DETAIL_POINTER && grabbed() && isOwnX11Window(focus->event))
            release();
    }
}

bool X11AltGrab::grabbed() const
{
    std::lock_guard lock(mutex_);
    return grabbed_;
}

void X11AltGrab::release()
{
    std::lock_guard lock(mutex_);
    xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
    xcb_flush(connection_);
    grabbed_ = false;
}

void X11AltGrab::wake()
{
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0)
        (void)!write(wakeFd_, &one, sizeof(one));
}

void X11AltGrab::watch(std::stop_token stop, _XDisplay* own)
{
    int xinputOpcode = 0;
    int unusedEvent = 0;
    int unusedError = 0;
    XQueryExtension(own, "XInputExtension", &xinputOpcode, &unusedEvent, &unusedError);
    std::uint32_t lastSeenPress = 0;
    while (!stop.stop_requested()) {
        int timeout = -1;
        {
            std::lock_guard lock(mutex_);
            if (armed_) {
                const auto left
                    = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
                timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
            }
        }
        pollfd watched[2] = {{ConnectionNumber(own), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        poll(watched, 2, timeout);
        std::uint64_t count = 0;
        (void)!read(wakeFd_, &count, sizeof(count));

        while (XPending(own) > 0) {
            XEvent event;
            XNextEvent(own, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != xinputOpcode || !XGetEventData(own, cookie))
                continue;
            if (cookie->evtype == XI_RawKeyPress) {
                const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
                for (const std::uint8_t keycode : altKeycodes_) {
                    if (raw->detail == keycode) {
                        lastSeenPress = static_cast<std::uint32_t>(raw->time);
                        std::lock_guard lock(mutex_);
                        if (!armed_) {
                            armed_ = true;
                            deadline_ = std::chrono::steady_clock::now() + kLongestGrab;
                        }
                    }
                }
            }
            XFreeEventData(own, cookie);
        }

        std::lock_guard lock(mutex_);
        if (!armed_ || std::chrono::steady_clock::now() < deadline_)
            continue;
        armed_ = false;
        const bool pressUnread = lastSeenPress != 0 && later(lastSeenPress, lastHandledPress_);
        if (grabbed_ || pressUnread) {
            // xcb may be used from any thread; the main thread may be busy for long.
            xcb_allow_events(connection_, XCB_ALLOW_ASYNC_KEYBOARD, XCB_CURRENT_TIME);
            xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
            xcb_flush(connection_);
            grabbed_ = false;
        }
    }
    XCloseDisplay(own);
}

} // namespace platform
