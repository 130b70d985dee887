// SPDX-License-Identifier: MIT
#include "platform/x11/keystate.h"

#include <cstdlib>
#include <cstring>

#include <QGuiApplication>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>
#include <qpa/qplatformnativeinterface.h>

#include <xcb/xcb.h>

#include "platform/keystatebits.h"

// Xlib last: its macros (None, Bool, KeyPress, ...) clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

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

// Raw events reach the root window whatever the grabs only from XInput 2.1 on. The
// version is the connection's, and Qt has asked for 2.2: asking for more would change
// what Qt's own XInput events look like, asking for less is refused.
bool hasXInput21(Display* display, int* opcode)
{
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", opcode, &event, &error))
        return false;
    int major = 2;
    int minor = 2;
    return XIQueryVersion(display, &major, &minor) == Success && (major > 2 || (major == 2 && minor >= 1));
}

void selectRawKeyEvents(Display* display, bool select)
{
    unsigned char maskBits[XIMaskLen(XI_LASTEVENT)] = {};
    if (select) {
        XISetMask(maskBits, XI_RawKeyPress);
        XISetMask(maskBits, XI_RawKeyRelease);
    }
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(maskBits);
    mask.mask = maskBits;
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
}

std::bitset<256> altKeycodes(Display* display)
{
    std::bitset<256> alt;
    int lowest = 0;
    int highest = 0;
    XDisplayKeycodes(display, &lowest, &highest);
    for (int keycode = lowest; keycode <= highest && keycode < 256; ++keycode) {
        const KeySym sym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0);
        alt[static_cast<std::size_t>(keycode)] = sym == XK_Alt_L || sym == XK_Alt_R;
    }
    return alt;
}

std::vector<std::uint8_t> keycodeList(const std::bitset<256>& keycodes)
{
    std::vector<std::uint8_t> list;
    for (std::size_t keycode = 0; keycode < keycodes.size(); ++keycode) {
        if (keycodes[keycode])
            list.push_back(static_cast<std::uint8_t>(keycode));
    }
    return list;
}

std::uint32_t internAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const std::uint32_t atom = reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

xcb_connection_t* qtConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// An XInput raw key event as xcb delivers it (xcb_input_raw_key_press_event_t), up to
// the fields read here.
struct RawKeyEvent {
    std::uint8_t responseType;
    std::uint8_t extension;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t eventType;
    std::uint16_t device;
    std::uint32_t time;
    std::uint32_t detail; // the keycode
};

} // namespace

std::unique_ptr<X11KeyState> X11KeyState::open(const QStringList& guardDirs)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || !x11->connection())
        return nullptr;
    int opcode = 0;
    if (!hasXInput21(display, &opcode))
        return nullptr;
    const std::uint32_t marker = internAtom(x11->connection(), "_TARNIX_KEYS_HANDED_BACK");
    if (marker == XCB_ATOM_NONE)
        return nullptr;
    return std::unique_ptr<X11KeyState>(new X11KeyState(display, opcode, altKeycodes(display), marker, guardDirs));
}

X11KeyState::X11KeyState(_XDisplay* display, int xinputOpcode, std::bitset<256> altKeycodes, std::uint32_t marker,
    const QStringList& guardDirs)
    : display_(display)
    , xinputOpcode_(xinputOpcode)
    , altKeycodes_(altKeycodes)
    , hold_(qtConnection(), marker, [this] { altPressedSinceQuery_ = true; })
    , grab_(display, qtConnection(), keycodeList(altKeycodes), guardDirs)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
    selectRawKeyEvents(display_, true);
    altDown_ = altDownNow(); // held while the program starts
}

X11KeyState::~X11KeyState()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
    selectRawKeyEvents(display_, false);
}

std::int16_t X11KeyState::query(int virtualKey)
{
    if (virtualKey != kAltKey)
        return 0;
    if (altDown_) {
        // Confirmed with the server's key map, so that a release never seen cannot
        // leave the key down for ever. Only asked while Alt seems down: an idle
        // program makes no round trips.
        altDown_ = altDownNow();
    }
    const std::int16_t state = keyStateBits(altDown_, altPressedSinceQuery_);
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
    if ((event->response_type & 0x7f) == XCB_GE_GENERIC) {
        RawKeyEvent raw;
        std::memcpy(&raw, event, sizeof(raw));
        if (raw.extension != xinputOpcode_
            || (raw.eventType != int{XI_RawKeyPress} && raw.eventType != int{XI_RawKeyRelease}))
            return false;
        rawKeyEvent(raw.eventType == int{XI_RawKeyPress}, raw.detail, raw.time);
        return true; // selected here, of no use to Qt
    }
    return hold_.take(event);
}

void X11KeyState::rawKeyEvent(bool press, unsigned keycode, std::uint32_t time)
{
    if (keycode >= altKeycodes_.size() || !altKeycodes_[keycode])
        return;
    // Some servers report one release twice: keep a state, count nothing.
    altDown_ = press;
    if (!press)
        return;
    shareUserEventTime(time);
    grab_.altPressed(time);
    if (hold_.altPressed())
        altPressedSinceQuery_ = true;
}

bool X11KeyState::altDownNow()
{
    xcb_connection_t* connection = qtConnection();
    xcb_query_keymap_reply_t* reply = xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr);
    bool down = false;
    for (std::size_t keycode = 0; reply && keycode < altKeycodes_.size(); ++keycode) {
        if (altKeycodes_[keycode] && ((reply->keys[keycode / 8] >> (keycode % 8)) & 1))
            down = true;
    }
    std::free(reply);
    return down;
}

} // namespace platform
