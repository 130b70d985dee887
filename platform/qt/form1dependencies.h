// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <QString>

#include "platform/qt/browserpane.h"
#include "platform/qt/endprogram.h"
#include "lookup/lookuphosts.h"
#include "platform/qt/messagebox.h"

class QWidget;

namespace platform {
class KeyState;
}

// What the main window takes from outside. The defaults are the real program's; tests
// replace the parts that would start a web engine, wait in a modal box or end the process.
struct Form1Dependencies {
    // Where the two lookup services live.
    lookup::LookupHosts hosts;

    // Makes the browser pane as a child of the given widget. The default creates its
    // web engine on the first navigation.
    std::function<platform::BrowserPane*(QWidget* parent)> createBrowserPane = &platform::createWebBrowserPane;

    // The key state the start-up loop polls for Alt; owned elsewhere, must outlive the
    // window. Only Form_Load needs it.
    platform::KeyState* keys = nullptr;

    // Shows a modal message box with a title, a text and a single OK button, and
    // returns when it is closed.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> showMessageBox
        = &platform::showMessageBox;

    // Ends the program at once. The default never returns.
    std::function<void()> endProgram = &platform::endProgramNow;
};
