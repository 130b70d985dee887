// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// Twips (1/1440 inch) to the pixels Win32 windows are laid out in. The program declares
// itself system-DPI aware in its manifest, so one resolution holds for every window and
// monitor, and Windows scales nothing behind the program's back.
namespace platform::win32 {

inline constexpr int kTwipsPerInch = 1440;

// The system's logical resolution in dots per inch (96 at 100 %).
int systemDpi();

// Rounded to the nearest pixel, as MulDiv rounds.
int twipsToPixels(int twips, int dpi);

// A control's box from its left, top, width and height in twips. Each edge is rounded on
// its own, so boxes that touch in twips touch in pixels.
RECT twipsBox(int left, int top, int width, int height, int dpi);

// The outer height of a window whose client area (below the menu bar, if it has one) is
// clientHeight pixels high, for the given styles. Assumes a menu bar of one line.
int outerHeightForClient(int clientHeight, DWORD style, DWORD exStyle, bool hasMenu);

// The outer width for a client clientWidth pixels wide.
int outerWidthForClient(int clientWidth, DWORD style, DWORD exStyle, bool hasMenu);

// Sets a top-level window's client height, keeping its width and position. Corrects for
// a menu bar that has wrapped onto more lines than outerHeightForClient assumes. While
// the window is minimized the height it gets back on restore is set instead; a hidden
// window stays hidden.
void setClientHeight(HWND window, int clientHeight);

} // namespace platform::win32
