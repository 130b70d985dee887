// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

class QWidget;

namespace platform {

// Window geometry is designed in twips, 1/1440 of an inch. A TwipsScale turns twips
// into the device-independent pixels Qt lays widgets out in, at a screen's logical
// resolution: px = twips * dpi / 1440, so 15 twips make one pixel at 96 dpi.
class TwipsScale {
public:
    static constexpr int kTwipsPerInch = 1440;

    TwipsScale(int dpiX, int dpiY);

    // The scale of the screen a widget is shown on (or will be, when it is hidden).
    static TwipsScale of(const QWidget& widget);

    // Each value is rounded to the nearest pixel on its own, as the window system
    // does for every edge and length of a control.
    int x(int twips) const;
    int y(int twips) const;
    QRect rect(int left, int top, int width, int height) const;

    int dpiX() const { return dpiX_; }
    int dpiY() const { return dpiY_; }

private:
    int dpiX_;
    int dpiY_;
};

} // namespace platform
