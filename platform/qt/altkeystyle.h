// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

class QApplication;

namespace platform {

// The application's style, except that a lone Alt press and release never puts the
// menu bar into keyboard navigation. Some styles (Windows among them) do that, and
// the menu bar would then swallow a scan line that the scanner opens with Alt. The
// access keys Alt+F, Alt+O, Alt+H still open their menus: they are shortcuts, which
// this hint does not govern.
class AltKeyStyle final : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
        QStyleHintReturn* returnData = nullptr) const override;
};

// Wraps the application's current style in AltKeyStyle; the application owns it.
void applyAltKeyStyle(QApplication& app);

} // namespace platform
