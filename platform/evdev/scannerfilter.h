// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace platform::evdev {

// Whether an input device is a keyboard-emulating barcode scanner, from what sysfs says
// of it, so that no other device (the person's own keyboard above all) is ever opened:
// its name contains "barcode", "bar code" or "scanner" in any case, and it has every
// letter key. The letters leave out the other devices many scanners bring along, such as
// their "Consumer Control" and "System Control" keys.
bool isBarcodeScanner(std::string_view name, std::string_view keyBitmap);

// keyBitmap: capabilities/key as sysfs writes it, hexadecimal words of an unsigned long
// each, the most significant first, separated by blanks.
bool hasKey(std::string_view keyBitmap, unsigned code);

} // namespace platform::evdev
