// SPDX-License-Identifier: MIT
#include "platform/x11/keystate.h"

#include <cstdlib>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <qpa/qplatformnativeinterface.h>

#include "platform/keystatebits.h"
#include "platform/x11/ownwindows.h"
#include "platform/x11/xcbcalls.h"

// Xlib last: its macros (None, Bool, KeyPress, ...) clash with Qt's names.
#include <X11/Xlib.h>

namespace platform {

namespace {

// Qt asks the X server for the keyboard focus with the time of the last event it saw
// itself. The server ignores the request when the focus moved after that time, as it
// does when the user went to another program and pressed Alt there: Tarnix would not
// come forward. The Alt press is the user's own request to bring Tarnix forward, so
// its time is the one to ask with; Qt only ever moves its time forward.
void shareUserEventTime(std::uint32_t time)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!native || !screen)
        return;
    // The xcb plugin hands this function out under a generic type; its real one is:
    using SetAppTime = void (*)(QScreen*, std::uint32_t);
    using AnyFunction = void (*)();
    const auto found = native->nativeResourceFunctionForScreen("setapptime");
    if (found)
        reinterpret_cast<SetAppTime>(reinterpret_cast<AnyFunction>(found))(screen, time);
}

// The window that has the keyboard now, or zero. One round trip.
std::uint32_t inputFocus(xcb_connection_t* connection)
{
    xcb_get_input_focus_reply_t* reply
        = xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const std::uint32_t focus = reply ? reply->focus : 0;
    std::free(reply);
    return focus;
}

// While a modal box or a menu is up, Tarnix acts on no Alt: keys go where the server
// sends them, as if Tarnix were not there.
bool modalNow()
{
    if (QGuiApplication::modalWindow())
        return true;
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (window->isVisible() && window->type() == Qt::Popup)
            return true;
    }
    return false;
}

} // namespace

std::unique_ptr<X11KeyState> X11KeyState::open(const QStringList& guardDirs)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!display || !connection)
        return nullptr;
    auto altKeys = x11::AltKeys::read(connection);
    auto rawKeys = altKeys ? x11::DeviceRawKeys::select(connection) : std::nullopt;
    const std::uint32_t marker = x11::internAtom(connection, "_TARNIX_KEYS_HANDED_BACK");
    if (!rawKeys || marker == XCB_ATOM_NONE) {
        if (rawKeys)
            rawKeys->deselect();
        return nullptr;
    }
    return std::unique_ptr<X11KeyState>(
        new X11KeyState(connection, DisplayString(display), std::move(altKeys), *rawKeys, marker, guardDirs));
}

X11KeyState::X11KeyState(xcb_connection_t* connection, const char* displayName, std::unique_ptr<x11::AltKeys> altKeys,
    x11::DeviceRawKeys rawKeys, std::uint32_t marker, const QStringList& guardDirs)
    : connection_(connection)
    , altKeys_(std::move(altKeys))
    , rawKeys_(rawKeys)
    , hold_(connection, marker, [this] { altPressedSinceQuery_ = true; })
    , grab_(displayName, guardDirs)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
    countedAlt_ = altHeldNow(); // held while the program starts
}

X11KeyState::~X11KeyState()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
    rawKeys_.deselect();
}

std::int16_t X11KeyState::query(int virtualKey)
{
    if (virtualKey != kAltKey)
        return 0;
    if (countedAlt_ && !keysDownNow()[*countedAlt_]) {
        // Confirmed with the server's key map, so that a release never seen cannot
        // leave the key down for ever. Only asked while Alt seems down: an idle
        // program makes no round trips.
        countedAlt_.reset();
    }
    const std::int16_t state = keyStateBits(countedAlt_.has_value(), altPressedSinceQuery_);
    if (altPressedSinceQuery_) {
        altPressedSinceQuery_ = false;
        // The caller acts on the press before it handles events again; the keys typed
        // after the press come back through the server, so they arrive after that.
        hold_.release();
    }
    return state;
}

bool X11KeyState::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if (const auto raw = rawKeys_.of(*event)) {
        rawKey(*raw);
        return true; // selected here, of no use to Qt
    }
    // Qt reads the new keymap too.
    if (altKeys_->keymapChanged(*event))
        return false;
    return hold_.take(event);
}

void X11KeyState::rawKey(const x11::RawKey& key)
{
    if (!key.press && countedAlt_ == key.keycode)
        countedAlt_.reset(); // some servers report one release twice: kept as a state
    const bool maybeAlt = altKeys_->inAnyLayout(key.keycode);
    bool alt = maybeAlt;
    bool othersHeld = false;
    if (key.press && maybeAlt) {
        // The keyboard is frozen at this press, so the state now is the state it was made in.
        const auto state = altKeys_->stateNow();
        alt = state && altKeys_->isAlt(key.keycode, state->group); // not AltGr in the layout in use
        othersHeld = alt && !altKeys_->loneAlt(key.keycode, *state);
    }
    using Event = AltTapRule::Event;
    const Event event = tap_.key({.code = key.keycode,
        .down = key.press,
        .alt = alt,
        .othersHeld = othersHeld,
        .device = key.device,
        .timeMs = key.time});
    switch (event) {
    case Event::LonePress:
    case Event::ChordPress:
        pressTarget_ = modalNow()                        ? AltTarget::Modal
            : isInMainX11Window(inputFocus(connection_)) ? AltTarget::MainWindow
                                                         : AltTarget::Elsewhere;
        pressTime_ = key.time;
        if (altCounts(event, pressTarget_)) {
            countedAlt_ = key.keycode;
            count(key.time, 0);
        } else if (event == Event::ChordPress || pressTarget_ != AltTarget::Elsewhere) {
            grab_.tell(key.time, 0); // the guard lets the keys go on where they were going
        }
        break;
    case Event::Tap:
        if (altCounts(event, pressTarget_))
            count(pressTime_, mainX11Window()); // the keys after the tap go to the main window
        break;
    case Event::Chord:
        if (pressTarget_ == AltTarget::Elsewhere)
            grab_.tell(pressTime_, 0);
        break;
    default: break; // nothing decided (Xlib's macros leave no Event::None to name here)
    }
}

void X11KeyState::count(std::uint32_t time, std::uint32_t focusWindow)
{
    shareUserEventTime(time);
    if (hold_.altPressed())
        altPressedSinceQuery_ = true;
    grab_.tell(time, focusWindow);
}

std::bitset<256> X11KeyState::keysDownNow()
{
    xcb_query_keymap_reply_t* reply = xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr);
    std::bitset<256> down;
    for (std::size_t keycode = 0; reply && keycode < down.size(); ++keycode)
        down[keycode] = (reply->keys[keycode / 8] >> (keycode % 8)) & 1;
    std::free(reply);
    return down;
}

std::optional<std::uint8_t> X11KeyState::altHeldNow()
{
    const auto state = altKeys_->stateNow();
    const std::bitset<256> down = keysDownNow();
    for (const std::uint8_t keycode : altKeys_->anyLayout()) {
        if (state && altKeys_->isAlt(keycode, state->group) && down[keycode])
            return keycode;
    }
    return std::nullopt;
}

} // namespace platform
