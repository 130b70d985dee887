// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <QGuiApplication>
#include <QWindow>

namespace platform {

// The X windows of this program: Qt made them, so events on them reach Qt.

inline bool isOwnX11Window(std::uint32_t window)
{
    for (const QWindow* own : QGuiApplication::allWindows()) {
        if (own->handle() && own->winId() == window)
            return true;
    }
    return false;
}

// The main window: the program makes it first, so it is the first top-level window Qt
// made. Zero when Qt has made none yet.
inline std::uint32_t mainX11Window()
{
    for (const QWindow* own : QGuiApplication::topLevelWindows()) {
        if (own->handle() && own->type() == Qt::Window)
            return static_cast<std::uint32_t>(own->winId());
    }
    return 0;
}

// Whether the window is the main window or one inside it (an embedded page's).
inline bool isInMainX11Window(std::uint32_t window)
{
    for (const QWindow* own : QGuiApplication::allWindows()) {
        if (!own->handle() || own->winId() != window)
            continue;
        while (own->parent())
            own = own->parent();
        return own->winId() == mainX11Window();
    }
    return false;
}

// A window Qt takes key events for: the one it counts as active, else a top-level one
// (the main window, even while hidden). Zero when Qt has made no window yet.
inline std::uint32_t ownKeyWindow()
{
    if (const QWindow* active = QGuiApplication::focusWindow(); active && active->handle())
        return static_cast<std::uint32_t>(active->winId());
    for (const QWindow* own : QGuiApplication::topLevelWindows()) {
        if (own->handle() && (own->type() == Qt::Window || own->type() == Qt::Dialog))
            return static_cast<std::uint32_t>(own->winId());
    }
    return 0;
}

} // namespace platform
