// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "platform/win32/webbrowserhost_win.h"

// The main window's browser pane: a child window of its own at the pane's box that holds
// the system's web-browser control once a page is asked for, or says in words why the
// control could not be made. It takes the focus by Tab like the text boxes.
namespace platform::win32 {

class BrowserPane {
public:
    BrowserPane(HWND parent, int id, RECT box, HFONT font);
    ~BrowserPane();
    BrowserPane(const BrowserPane&) = delete;
    BrowserPane& operator=(const BrowserPane&) = delete;

    // The host, with no control made yet.
    void prepare();

    // Starts loading the address; on failure the reason shows in the pane.
    void navigate(const std::wstring& address);

    HWND window() const { return window_; }

    // The reason shown, or empty while the pane shows no failure.
    std::wstring failureShown() const;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void showFailure(const std::wstring& reason);

    HWND window_ = nullptr;
    HWND failureLabel_ = nullptr;
    HFONT font_;
    std::unique_ptr<platform::WebBrowserHost> host_;
};

} // namespace platform::win32
