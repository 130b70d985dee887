#include "keystate_x11.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>
#include <qpa/qplatformnativeinterface.h>

#include "keystatebits.h"

// Xlib last: its macros (None, Bool, KeyPress, ...) clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace platform {

namespace {

// The display Qt itself uses (it may come from -display), else $DISPLAY.
const char* applicationDisplayName()
{
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* qtDisplay = x11->display())
            return DisplayString(qtDisplay);
    }
    return nullptr;
}

// Qt asks the X server for the keyboard focus with the time of the last event it saw
// itself. The server ignores the request when the focus moved after that time, as it
// does when the user went to another program and pressed Alt there: Tarnix would not
// come forward. The Alt press is the user's own request to bring Tarnix forward, so
// its time is the one to ask with; Qt only ever moves its time forward.
void shareUserEventTime(Time time)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!native || !screen || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // The xcb plugin hands this function out under a generic type; its real one is:
    using SetAppTime = void (*)(QScreen*, std::uint32_t);
    using AnyFunction = void (*)();
    const auto found = native->nativeResourceFunctionForScreen("setapptime");
    if (found)
        reinterpret_cast<SetAppTime>(reinterpret_cast<AnyFunction>(found))(screen, static_cast<std::uint32_t>(time));
}

// Raw events reach the root window whatever the grabs only from XInput 2.1 on.
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

void selectRawKeyEvents(Display* display)
{
    unsigned char maskBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(maskBits, XI_RawKeyPress);
    XISetMask(maskBits, XI_RawKeyRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(maskBits);
    mask.mask = maskBits;
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
}

} // namespace

std::unique_ptr<X11KeyState> X11KeyState::open()
{
    Display* display = XOpenDisplay(applicationDisplayName());
    if (!display)
        return nullptr;
    int opcode = 0;
    if (!hasXInput21(display, &opcode)) {
        XCloseDisplay(display);
        return nullptr;
    }
    selectRawKeyEvents(display);
    return std::unique_ptr<X11KeyState>(new X11KeyState(display, opcode));
}

X11KeyState::X11KeyState(_XDisplay* display, int xinputOpcode)
    : display_(display)
    , xinputOpcode_(xinputOpcode)
    , notifier_(ConnectionNumber(display), QSocketNotifier::Read)
{
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { drainEvents(); });
    altDown_ = altDownNow(); // held while the program starts
    drainEvents();           // what the round trip queued would not wake the notifier
}

X11KeyState::~X11KeyState()
{
    notifier_.setEnabled(false);
    XCloseDisplay(display_);
}

std::int16_t X11KeyState::query(int virtualKey)
{
    if (virtualKey != kAltKey)
        return 0;
    drainEvents();
    if (altDown_) {
        // Confirmed with the server's key map, so that a release this connection never
        // saw cannot leave the key down for ever. Only asked while Alt seems down: an
        // idle program makes no round trips. The round trip may pull events into
        // Xlib's queue, where they no longer make the socket readable: read them too.
        altDown_ = altDownNow();
        drainEvents();
    }
    const std::int16_t state = keyStateBits(altDown_, altPressedSinceQuery_);
    altPressedSinceQuery_ = false;
    return state;
}

void X11KeyState::drainEvents()
{
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xinputOpcode_)
            continue;
        if (!XGetEventData(display_, cookie))
            continue;
        if (cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            if (isAltKeycode(static_cast<unsigned>(raw->detail))) {
                // Some servers report one release twice: keep a state, count nothing.
                const bool press = cookie->evtype == XI_RawKeyPress;
                altDown_ = press;
                if (press) {
                    altPressedSinceQuery_ = true;
                    shareUserEventTime(raw->time);
                }
            }
        }
        XFreeEventData(display_, cookie);
    }
}

bool X11KeyState::isAltKeycode(unsigned keycode) const
{
    if (keycode > 255)
        return false;
    const KeySym sym = XkbKeycodeToKeysym(display_, static_cast<KeyCode>(keycode), 0, 0);
    return sym == XK_Alt_L || sym == XK_Alt_R;
}

bool X11KeyState::altDownNow()
{
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    for (unsigned byte = 0; byte < sizeof(keys); ++byte) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((keys[byte] >> bit) & 1) {
                if (isAltKeycode(byte * 8 + bit))
                    return true;
            }
        }
    }
    return false;
}

} // namespace platform
