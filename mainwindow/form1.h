// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/form1view.h"
#include "lookup/lookuphosts.h"

namespace platform {
class KeyState;
}

// The main window's behaviour, the same on every toolkit: the load handler with its
// keyboard-polling loop, scan capture, web lookup, the menu commands and the unload.
// It works on the window only through its view.
class Form1 final : public Form1Handlers {
public:
    // view and keys must outlive the behaviour; keys is needed only by Form_Load.
    Form1(Form1View& view, platform::KeyState* keys, lookup::LookupHosts hosts = {});

    // The load handler: startUp(), then the keyboard-polling loop, which is the
    // program's event loop for as long as it runs. Never returns; the program ends only
    // from inside a handler.
    [[noreturn]] void Form_Load();

    // The load handler's steps before the loop: show the window, add the version to its
    // caption, fill the symbol alphabet.
    void startUp();

    // What the loop does when Alt is down or was pressed: bring the window forward,
    // focus the input box and empty it, so the next scan starts afresh.
    void onAltPressed();

    void Text1_Change() override;
    void mnu_exit_Click() override;
    void mnu_lookup_Click() override;
    void mnu_help_Click() override;
    void mnu_About_Click() override;
    void Form_Unload() override;

private:
    void decodeScan();
    void webLookup();

    Form1View& view_;
    platform::KeyState* keys_;
    lookup::LookupHosts hosts_;
};
