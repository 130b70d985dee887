// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include <windows.h>

#include <exdisp.h>

namespace platform {

// The browser pane of the Win32 main window: the system's web-browser control, placed
// in a rectangle of the parent's client area. The control is made when the first page
// is asked for, so a program that never looks anything up never loads it. The page must
// never take the keyboard from the main window: the control is activated in place only
// (never UI-activated, which would focus it), shows no dialogs and accepts no drops.
class WebBrowserHost {
public:
    // Makes the control; the real one is CoCreateInstance(CLSID_WebBrowser). Tests plug
    // in a fake.
    using ControlMaker = std::function<HRESULT(IWebBrowser2** control)>;

    WebBrowserHost(HWND parent, RECT area); // creates nothing yet
    WebBrowserHost(HWND parent, RECT area, ControlMaker makeControl);
    ~WebBrowserHost();
    WebBrowserHost(const WebBrowserHost&) = delete;
    WebBrowserHost& operator=(const WebBrowserHost&) = delete;

    // Starts loading the address as given and returns without waiting for the page.
    // Makes the control on first use; false if it cannot be made (see failure()) or
    // refuses the address. The program lives on either way.
    bool navigate(const std::wstring& address);

    // The control's window, or nullptr while there is none.
    HWND window() const;

    // Why the control could not be made or refused the last address; else empty.
    std::wstring failure() const;

private:
    class Site;

    bool ensureControl();
    bool embed();
    void fail(const wchar_t* step, HRESULT result);
    void release();

    HWND parent_;
    RECT area_;
    ControlMaker makeControl_;
    bool tried_ = false;
    bool oleStarted_ = false;
    IWebBrowser2* browser_ = nullptr;
    Site* site_ = nullptr;
    HWND window_ = nullptr;
    std::wstring failure_;
};

} // namespace platform
