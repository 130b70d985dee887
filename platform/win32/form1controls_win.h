// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

#include <windows.h>

#include "mainwindow/form1_geometry.h"

// The main window's text boxes and labels, made from form1geometry::kControls.
namespace platform::win32 {

// A control's identifier: its position in kControls, offset past the menu commands.
int controlIdOf(std::size_t index);

// The font the system uses for message boxes and dialogs, at the system resolution.
// The caller deletes it.
HFONT createMessageFont();

// Registers a window class of this program once: its procedure, background colour
// (COLOR_WINDOW, COLOR_BTNFACE, ...) and, for top-level windows, the program icon
// (icon resource 1, that of the version resource).
void registerWindowClass(const wchar_t* name, WNDPROC procedure, int backgroundColour, bool withIcon);

// A label: SS_NOPREFIX so an "&" in a scan line shows as itself, word wrap, clipped at
// its box, never focused. Shared by the main window and the help window.
HWND createLabel(HWND parent, int id, RECT box, std::u16string_view text, bool centred, HFONT font);

// An input box, a result box or a label at its box (pixels of the parent's client area).
// The browser pane is not one of these (see BrowserPane).
HWND createForm1Control(HWND parent, const form1geometry::ControlLayout& layout, int id, RECT box, HFONT font);

} // namespace platform::win32
