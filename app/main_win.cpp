// SPDX-License-Identifier: MIT
// The Windows window program: Form1's behaviour on the native Win32 main window. The
// load handler's polling loop is the program's event loop until a menu command or
// closing the window ends the process.
#include <memory>

#include <windows.h>

#include "mainwindow/form1.h"
#include "platform/win32/form1window_win.h"
#include "platform/win32/keystate_win.h"

int main()
{
    Win32Form1Window window;
    if (!window.window()) {
        MessageBoxW(nullptr, L"The main window could not be created.", L"Tarnix", MB_OK | MB_ICONERROR);
        return 1;
    }
    // The whole desktop's Alt key, whichever program has the keyboard.
    const std::unique_ptr<platform::KeyState> keys = platform::createWinKeyState();
    Form1 form1(window, keys.get());
    form1.Form_Load();
}
