// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

#include <windows.h>

// The main window's menu bar and its keyboard shortcuts, built from form1geometry::kMenus.
namespace platform::win32 {

// An item's command identifier: fixed by its menu's and its own position in the tree.
UINT menuCommandOf(int menuIndex, int itemIndex);

// The command identifier of the item with that name; 0 if there is none.
UINT menuCommandNamed(std::u16string_view itemName);

// The item name ("mnu_exit") behind a command identifier; empty for any other identifier.
std::u16string_view menuItemNameOf(UINT command);

// The menu bar: captions with their access keys, each shortcut after a TAB, disabled
// items greyed, check items unchecked. The caller owns it (a window destroys its own).
HMENU createForm1MenuBar();

// The shortcuts of the enabled items as an accelerator table: a disabled item's shortcut
// must reach the focused control instead (Ctrl+C copies). The caller destroys it.
HACCEL createForm1Accelerators();

// "Ctrl+X" or "F1" as an accelerator entry for the command; nothing for a shortcut this
// reader does not know.
std::optional<ACCEL> acceleratorOf(std::u16string_view shortcut, WORD command);

} // namespace platform::win32
