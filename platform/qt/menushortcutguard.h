// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QWidget;

// Text boxes claim some keys for editing before the window's shortcuts see them: a line
// edit takes Ctrl+X to cut. In the main window the menu wins wherever the focus is, so
// this filter turns that claim down for the keys of the menu's enabled items. Keys of
// greyed items are left to the focused control: Ctrl+C still copies.
class MenuShortcutGuard final : public QObject {
    Q_OBJECT
public:
    // Watches the application's events while window lives; window owns the guard.
    MenuShortcutGuard(QWidget& window, QList<QAction*> items);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWindow(QObject* object) const;
    bool isEnabledItemKey(const QKeySequence& key) const;

    QWidget& window_;
    QList<QAction*> items_;
};
