// SPDX-License-Identifier: MIT
// A scanner's key events to what it typed, and which devices count as scanners.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <string>
#include <vector>

#include "platform/evdev/scannerfilter.h"
#include "platform/evdev/scannerkeys.h"

namespace {

using platform::evdev::ScannerKeys;

// Feeds key events and keeps what they typed, an Alt tap as "<Alt>".
struct Keys {
    ScannerKeys keys;
    std::vector<std::u16string> typed;

    void event(unsigned code, int value)
    {
        const ScannerKeys::Typed what = keys.key(code, value);
        if (what != ScannerKeys::Typed::Nothing)
            typed.push_back(what == ScannerKeys::Typed::Line ? keys.line() : u"<Alt>");
    }
    void tap(unsigned code) { event(code, 1), event(code, 0); }
    void shifted(unsigned code) { event(KEY_LEFTSHIFT, 1), tap(code), event(KEY_LEFTSHIFT, 0); }
};

TEST(ScannerKeys, KeysTypeByTheirUsPlaceAndTheDevicesShiftAndLinesComeWholeAtEnter)
{
    Keys k;
    k.tap(KEY_CAPSLOCK); // the desktop's Caps Lock would turn the case round; the device's does nothing
    k.tap(KEY_Z), k.shifted(KEY_Y), k.shifted(KEY_EQUAL), k.tap(KEY_SLASH);
    k.event(KEY_2, 1), k.event(KEY_2, 2), k.event(KEY_2, 0); // a held key repeats
    EXPECT_TRUE(k.typed.empty());
    k.tap(KEY_ENTER), k.tap(KEY_A), k.tap(KEY_KPENTER);
    EXPECT_EQ(k.typed, (std::vector<std::u16string>{u"zY+/22\r\n", u"a\r\n"}));
}

TEST(ScannerKeys, OnlyALoneAltTapIsTheAltActionAndChordsTypeNothing)
{
    Keys k;
    k.tap(KEY_B);
    k.event(KEY_LEFTALT, 1), k.event(KEY_LEFTALT, 2), k.event(KEY_LEFTALT, 0);
    k.event(KEY_LEFTALT, 1), k.tap(KEY_F), k.tap(KEY_ENTER), k.event(KEY_LEFTALT, 0);
    k.event(KEY_LEFTCTRL, 1), k.tap(KEY_V), k.event(KEY_LEFTCTRL, 0);
    k.tap(KEY_C), k.tap(KEY_ENTER);
    // The b before the tap is no part of the line it opened.
    EXPECT_EQ(k.typed, (std::vector<std::u16string>{u"<Alt>", u"c\r\n"}));
}

TEST(ScannerKeys, ALineTheKernelDroppedEventsOfIsThrownAwayAndTheNextOneComesWhole)
{
    Keys k;
    k.tap(KEY_A);
    k.keys.eventsLost(ScannerKeys::KeysDown().set(KEY_LEFTSHIFT)); // Shift's press among the lost
    k.tap(KEY_B), k.tap(KEY_ENTER), k.tap(KEY_C), k.event(KEY_LEFTSHIFT, 0), k.tap(KEY_D), k.tap(KEY_ENTER);
    EXPECT_EQ(k.typed, std::vector<std::u16string>{u"Cd\r\n"});
}

TEST(ScannerFilter, ScannersByNameWithEveryLetterKeyAndNoOtherDevice)
{
    using platform::evdev::isBarcodeScanner;
    // A full keyboard's keys as sysfs writes them, a scanner's consumer-control keys.
    const char* keyboard = "1000000000007 ff9f207ac14057ff febeffdfffefffff fffffffffffffffe\n";
    const char* consumer = "3ff 0 0 0 0 0 0 0 0\n";
    EXPECT_TRUE(isBarcodeScanner("USB Barcode Scanner", keyboard));
    EXPECT_TRUE(isBarcodeScanner("Bar Code Reader", keyboard));
    EXPECT_TRUE(isBarcodeScanner("Honeywell SCANNER", keyboard));
    EXPECT_FALSE(isBarcodeScanner("AT Translated Set 2 keyboard", keyboard));
    EXPECT_FALSE(isBarcodeScanner("USB Barcode Scanner Consumer Control", consumer));
    EXPECT_FALSE(isBarcodeScanner("USB Barcode Scanner", "3ff0000")); // the top letter row only
    EXPECT_TRUE(platform::evdev::hasKey(consumer, 0x200));
}

} // namespace
