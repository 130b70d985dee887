// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "platform/alttaprule.h"
#include "platform/keystate.h"

namespace platform {

// The key state where the window system offers no desktop-wide one (Wayland, offscreen):
// an application event filter that sees the Alt key only while one of Tarnix's own
// windows has the keyboard focus, and counts it as the other sources do (the tap rule,
// and where the window counts an Alt): every press in the main window, a lone tap in the
// help window, nothing while a modal box or a menu is up. Presses are latched until the
// next query, as the desktop-wide sources do.
class QtKeyState final : public QObject, public KeyState {
    Q_OBJECT
public:
    // Watches every event of the running QCoreApplication.
    explicit QtKeyState(QObject* parent = nullptr);
    ~QtKeyState() override;

    std::int16_t query(int virtualKey) override;
    // Alt reaches it as an event, which ends the loop's wait anyway.
    bool wakesEventLoop() const override { return true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AltTapRule tap_;
    bool altDown_ = false;
    bool altPressedSinceQuery_ = false;
};

} // namespace platform
