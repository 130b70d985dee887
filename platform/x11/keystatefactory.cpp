// SPDX-License-Identifier: MIT
#include <QGuiApplication>

#include "platform/keystate.h"
#include "platform/qt/qtkeystate.h"
#include "platform/x11/keystate.h"
#include "platform/privatedirs.h"

namespace platform {

std::unique_ptr<KeyState> createKeyState()
{
    // Desktop-wide Alt needs the X server the windows are on; anything else (Wayland,
    // offscreen, an X server without XInput 2) sees Alt only in Tarnix's own windows.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto desktopWide = X11KeyState::open(privateProgramDirs()))
            return desktopWide;
    }
    return std::make_unique<QtKeyState>();
}

} // namespace platform
