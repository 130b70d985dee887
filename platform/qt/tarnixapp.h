// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/qt/form1window.h"
#include "platform/keystate.h"

class QApplication;

// The window program as it starts on Qt, for the program and for the figures that
// measure it: the application's name, icon and Alt-key style, the key state the loop
// polls, and the main window, not yet shown, with the barcode scanners read from their
// own devices typing into it.
struct TarnixApp {
    std::unique_ptr<platform::KeyState> keys;
    std::unique_ptr<Form1Window> form1;
};

// Needs the application: the key state is picked by the window system in use. The
// program calls platform::useScannerInputContext() before it makes the application.
TarnixApp makeTarnixApp(QApplication& app);
