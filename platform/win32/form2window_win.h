// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// Form2, the help window: the three paragraphs of help/helptexts.h in a small fixed
// window with only a close button. It has no owner, so it stays up on its own beside the
// main window. Closing it only hides it; it lives until the program ends.
class Win32Form2Window final {
public:
    explicit Win32Form2Window(HFONT font); // made hidden
    ~Win32Form2Window();
    Win32Form2Window(const Win32Form2Window&) = delete;
    Win32Form2Window& operator=(const Win32Form2Window&) = delete;

    void show(); // shown and brought forward
    void hide();
    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
