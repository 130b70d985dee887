// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The seven events of the main window that have handlers, as the toolkit reports them;
// Form1 handles them. The load is Form1::Form_Load, which the program calls itself.
class Form1Handlers {
public:
    virtual ~Form1Handlers() = default;
    virtual void Text1_Change() = 0;     // every change of Text1's text, typed or set
    virtual void mnu_exit_Click() = 0;   // the item, or Ctrl+X anywhere in the window
    virtual void mnu_lookup_Click() = 0; // Ctrl+L; the check mark is not moved by the toolkit
    virtual void mnu_help_Click() = 0;   // F1
    virtual void mnu_About_Click() = 0;  // F2
    virtual void Form_Unload() = 0;      // the user or the system closes the main window
};

// The main window as its behaviour (Form1) sees it: the operations the handlers perform
// on the window, its controls and the program's surroundings. Each window toolkit
// implements it once (Qt on Linux, Win32 on Windows); the behaviour never sees the
// toolkit.
class Form1View {
public:
    // The controls whose text the behaviour reads or writes.
    enum class Control { Text1, Label5, Text5, Text6, Text7, Label6 };

    virtual ~Form1View() = default;

    // Where the window's events go from now on.
    virtual void setHandlers(Form1Handlers& handlers) = 0;

    // The main window: shown (not modal, no owner) and brought forward, from minimized
    // too; its caption; its outer height in twips, the frame counted as 660 twips
    // whatever it really is (works while minimized or hidden); hidden.
    virtual void show() = 0;
    virtual std::u16string caption() const = 0;
    virtual void setCaption(std::u16string_view caption) = 0;
    virtual void setOuterHeightTwips(int twips) = 0;
    virtual void hide() = 0;

    // The controls. Setting Text1 to a text other than the one it holds notifies
    // Text1_Change at once, as typing does; setting the same text notifies nothing.
    virtual std::u16string text(Control control) const = 0;
    virtual void setText(Control control, std::u16string_view text) = 0;
    virtual void focusText1() = 0;

    // The check mark of mnu_lookup: the web-lookup switch.
    virtual bool lookupChecked() const = 0;
    virtual void setLookupChecked(bool checked) = 0;

    // The browser pane: made ready (nothing requested), and sent to an address without
    // waiting for the page.
    virtual void prepareBrowser() = 0;
    virtual void navigate(std::u16string_view address) = 0;

    // The help window: made on first use, one copy only, not modal, no owner.
    virtual void showHelp() = 0;
    virtual void hideHelp() = 0;

    // A modal message box with a single OK button and no icon; returns when closed.
    virtual void showMessageBox(std::u16string_view title, std::u16string_view text) = 0;

    // Handles every window event waiting; when none is, waits for the next one, at
    // most longestWait. Handlers of Form1 run from in here.
    virtual void pumpEvents(std::chrono::milliseconds longestWait) = 0;

    // Ends the process at once with status 0; never returns in the program.
    virtual void endProgram() = 0;
};
