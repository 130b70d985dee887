// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <string_view>

namespace platform::evdev {

// One bit per key code (KEY_CNT): the keys a device has, or the keys held down.
using KeyBits = std::bitset<0x300>;

// Whether an input device is a keyboard-emulating barcode scanner, so that no other
// device (the person's own keyboard above all) is ever opened: its own name contains
// "barcode", "bar code" or "scanner" in any case, and it is a keyboard as udev's input_id
// counts one, with every key from Escape to S (codes 1 to 31). That leaves out the other
// devices many scanners bring along, such as their "Consumer Control" and "System
// Control" keys; the udev rule that gives the seat access asks exactly the same.
bool isBarcodeScanner(std::string_view name, const KeyBits& keys);

// capabilities/key as sysfs writes it: hexadecimal words of an unsigned long each, the
// most significant first, separated by blanks. Nothing for a text that is not that.
std::optional<KeyBits> keyBitsFromSysfs(std::string_view bitmap);

// A bitmap as the EVIOCGBIT and EVIOCGKEY ioctls fill it: bit n of byte n / 8.
KeyBits keyBitsFromBytes(const unsigned char* bytes, std::size_t size);

} // namespace platform::evdev
