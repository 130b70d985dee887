// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <memory>

#include <windows.h>

#include "mainwindow/form1_geometry.h"
#include "mainwindow/form1view.h"
#include "platform/win32/messagepump_win.h"

namespace platform::win32 {
class BrowserPane;
}
class Win32Form1Window;
class Win32Form2Window;

// Form1, the main window, in plain Win32: the frame, menu bar, text boxes, labels and
// browser pane of form1geometry, laid out in twips at the system resolution. Made hidden;
// Form1's load shows it. Its events go to the handlers given by setHandlers.
class Win32Form1Window final : public Form1View {
public:
    Win32Form1Window();
    ~Win32Form1Window() override;
    Win32Form1Window(const Win32Form1Window&) = delete;
    Win32Form1Window& operator=(const Win32Form1Window&) = delete;

    void setHandlers(Form1Handlers& handlers) override;

    void show() override;
    std::u16string caption() const override;
    void setCaption(std::u16string_view caption) override;
    void setOuterHeightTwips(int twips) override;
    void hide() override;

    std::u16string text(Control control) const override;
    void setText(Control control, std::u16string_view text) override;
    void focusText1() override;

    bool lookupChecked() const override;
    void setLookupChecked(bool checked) override;

    void prepareBrowser() override;
    void navigate(std::u16string_view address) override;

    void showHelp() override;
    void hideHelp() override;

    void showMessageBox(std::u16string_view title, std::u16string_view text) override;

    void pumpEvents(std::chrono::milliseconds longestWait) override;

    [[noreturn]] void endProgram() override;

    // Keys wait in the queue while hold() is true (see MessagePump).
    void holdKeysWhile(platform::win32::KeysMustWait hold) { keysMustWait_ = std::move(hold); }

    // A message that, sent to the main window from another thread, brings the window
    // forward with the keyboard focus in Text1.
    UINT takeKeyboardMessage() const { return takeKeyboard_; }

    // The main window, and a control by its name.
    HWND window() const { return window_; }
    HWND controlNamed(std::u16string_view name) const;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onMenuCommand(UINT command);
    bool filterMessage(MSG& message);
    void forgetStaleAlt(const MSG& message);
    bool typeAsUsKeyboard(const MSG& message);
    void moveFocus(bool backwards);
    HWND controlOf(Control control) const;

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HACCEL accelerators_ = nullptr;
    UINT lookupCommand_ = 0;
    std::array<HWND, form1geometry::kControls.size()> controls_{};
    std::unique_ptr<platform::win32::BrowserPane> pane_;
    std::unique_ptr<Win32Form2Window> help_;
    Form1Handlers* handlers_ = nullptr;
    HWND text1_ = nullptr;
    bool settingText1_ = false;
    HWND lastFocus_ = nullptr; // the control that gets the keyboard back on activation
    unsigned shiftKeys_ = 0;   // the Shift keys down (1 left, 2 right), as key messages say
    UINT takeKeyboard_ = 0;
    platform::win32::KeysMustWait keysMustWait_;
    platform::win32::MessagePump pump_;
};
