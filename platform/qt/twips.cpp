// SPDX-License-Identifier: MIT
#include "platform/qt/twips.h"

#include <QWidget>

#include <cmath>

namespace platform {

namespace {

int toPixels(int twips, int dpi)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / TwipsScale::kTwipsPerInch));
}

} // namespace

TwipsScale::TwipsScale(int dpiX, int dpiY)
    : dpiX_(dpiX)
    , dpiY_(dpiY)
{
}

TwipsScale TwipsScale::of(const QWidget& widget)
{
    return TwipsScale(widget.logicalDpiX(), widget.logicalDpiY());
}

int TwipsScale::x(int twips) const
{
    return toPixels(twips, dpiX_);
}
int TwipsScale::y(int twips) const
{
    return toPixels(twips, dpiY_);
}

QRect TwipsScale::rect(int left, int top, int width, int height) const
{
    return QRect(x(left), y(top), x(width), y(height));
}

} // namespace platform
