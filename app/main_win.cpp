// SPDX-License-Identifier: MIT
// The Windows window program: Form1's behaviour on the native Win32 main window. The
// load handler's polling loop is the program's event loop until a menu command or
// closing the window ends the process. A second start in the same user session brings
// the running Tarnix forward and ends.
#include <windows.h>

#include "mainwindow/form1.h"
#include "platform/desktopsession.h"
#include "platform/win32/altkeyhook_win.h"
#include "platform/win32/form1window_win.h"

int main()
{
    const auto session = platform::claimDesktopSession();
    if (!session)
        return 0;
    Win32Form1Window window;
    if (!window.window()) {
        MessageBoxW(nullptr, L"The main window could not be created.", L"Tarnix", MB_OK | MB_ICONERROR);
        return 1;
    }
    // The desktop's Alt key: every press in the main window, a scanner's tap anywhere.
    platform::win32::AltKeyHook keys(window.window(), window.takeKeyboardMessage());
    // The keys after an Alt wait until the loop has emptied the input box for them.
    window.holdKeysWhile([&keys] { return keys.altPending(); });
    Form1 form1(window, &keys);
    session->onComeForward([&form1] { form1.onAltPressed(); });
    form1.Form_Load();
}
