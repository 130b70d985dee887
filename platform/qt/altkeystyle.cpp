// SPDX-License-Identifier: MIT
#include "platform/qt/altkeystyle.h"

#include <QApplication>

namespace platform {

int AltKeyStyle::styleHint(
    StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const
{
    if (hint == SH_MenuBar_AltKeyNavigation)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void applyAltKeyStyle(QApplication& app)
{
    // QProxyStyle() wraps the style the application would use by default.
    auto* style = new AltKeyStyle(QApplication::style()->name());
    style->setParent(&app);
    QApplication::setStyle(style);
}

} // namespace platform
