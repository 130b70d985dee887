// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>

namespace platform {

// The browser pane of the main window. The window only ever tells it where to go; it
// loads the page on its own, and the window handles none of its events.
class BrowserPane : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Starts loading the address in place of what the pane shows, and returns without
    // waiting for the page.
    virtual void navigate(const QString& address) = 0;

    // Makes the pane ready to show pages, so that the first lookup costs no more than
    // any later one. Requests no page. Nothing to do for a pane that is always ready.
    virtual void prepare() { }
};

// The pane the program uses: a web page view, from a module loaded when the pane is
// first prepared or sent to a page.
BrowserPane* createWebBrowserPane(QWidget* parent);

} // namespace platform
