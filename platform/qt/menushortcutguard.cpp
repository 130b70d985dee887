// SPDX-License-Identifier: MIT
#include "platform/qt/menushortcutguard.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

MenuShortcutGuard::MenuShortcutGuard(QWidget& window, QList<QAction*> items)
    : QObject(&window)
    , window_(window)
    , items_(std::move(items))
{
    // The application, not each control: the web page's own items take keys too, and
    // they are no widgets of ours.
    QCoreApplication::instance()->installEventFilter(this);
}

bool MenuShortcutGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !belongsToWindow(watched))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Swallowed here, the override request stays unaccepted, and the shortcut runs.
    return isEnabledItemKey(QKeySequence(key->keyCombination()));
}

bool MenuShortcutGuard::belongsToWindow(QObject* object) const
{
    if (object->isWidgetType())
        return static_cast<QWidget*>(object)->window() == &window_;
    const QWindow* focusWindow = QGuiApplication::focusWindow();
    return focusWindow && focusWindow == window_.windowHandle();
}

bool MenuShortcutGuard::isEnabledItemKey(const QKeySequence& key) const
{
    for (const QAction* item : items_) {
        if (item->isEnabled() && item->shortcut() == key)
            return true;
    }
    return false;
}
