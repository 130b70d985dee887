// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>
#include <QtPlugin>

namespace platform {

// The web engine behind the browser pane lives in a module of its own, loaded only when
// the pane is first needed: the engine brings some fifty libraries, OpenGL and helper
// processes, which a program that never looks anything up should not pay for. Only
// Qt's own types cross this interface, so the module needs nothing of the program.
class WebPaneModule {
public:
    virtual ~WebPaneModule() = default;

    // A view that shows web pages, as a child of parent. Its page is ready to load,
    // but nothing has been requested yet.
    virtual QWidget* createView(QWidget* parent) = 0;

    // Starts loading the address in a view that createView made, in place of what it
    // shows, and returns without waiting for the page.
    virtual void navigate(QWidget& view, const QString& address) = 0;
};

} // namespace platform

#define TARNIX_WEBPANE_MODULE_IID "org.tarnix.WebPaneModule/1"
Q_DECLARE_INTERFACE(platform::WebPaneModule, TARNIX_WEBPANE_MODULE_IID)
