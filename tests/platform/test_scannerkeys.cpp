// SPDX-License-Identifier: MIT
// A scanner's key events to what it typed, and which devices count as scanners.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include <string>
#include <vector>

#include "platform/evdev/inputnode.h"
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

TEST(ScannerFilter, ScannersByTheirOwnNameAmongKeyboardsAndNoOtherDevice)
{
    using platform::evdev::isBarcodeScanner;
    const auto bits = [](const char* sysfs) { return platform::evdev::keyBitsFromSysfs(sysfs).value(); };
    // A full keyboard's keys as sysfs writes them, a scanner's consumer-control keys.
    const auto keyboard = bits("1000000000007 ff9f207ac14057ff febeffdfffefffff fffffffffffffffe\n");
    const auto consumer = bits("3ff 0 0 0 0 0 0 0 0\n");
    EXPECT_TRUE(isBarcodeScanner("USB Barcode Scanner", keyboard));
    EXPECT_TRUE(isBarcodeScanner("Bar Code Reader", keyboard));
    EXPECT_TRUE(isBarcodeScanner("Honeywell SCANNER", keyboard));
    EXPECT_TRUE(isBarcodeScanner("USB Barcode Scanner", bits("fffffffe"))); // Escape to S, as udev counts keyboards
    EXPECT_FALSE(isBarcodeScanner("AT Translated Set 2 keyboard", keyboard));
    EXPECT_FALSE(isBarcodeScanner("USB Barcode Scanner Consumer Control", consumer));
    EXPECT_FALSE(isBarcodeScanner("USB Barcode Scanner", bits("3ff0000"))); // the top letter row only
    EXPECT_TRUE(consumer.test(0x200));
    EXPECT_FALSE(platform::evdev::keyBitsFromSysfs("ff zz"));
}

// The node's own device says what it is, as sysfs lays it out; a node that is no scanner
// or whose description cannot be read is none.
TEST(ScannerFilter, ANodeIsTheScannerItsSysfsEntrySays)
{
    const std::filesystem::path sys = std::filesystem::path(testing::TempDir()) / "tarnix-sysfs";
    const auto entry = [&](const char* node, const char* name, const char* keys) {
        std::filesystem::create_directories(sys / node / "device" / "capabilities");
        std::ofstream(sys / node / "dev") << "13:67\n";
        std::ofstream(sys / node / "device" / "name") << name << "\n";
        std::ofstream(sys / node / "device" / "capabilities" / "key") << keys << "\n";
    };
    entry("event3", "USB Barcode Scanner", "7 fffffffffffffffe");
    entry("event4", "USB Barcode Scanner Consumer Control", "3ff 0 0 0 0");
    entry("event5", "Bar Code Reader", "not hex");
    const auto scanner = platform::evdev::findScanner("event3", "/dev/input", sys.string());
    ASSERT_TRUE(scanner);
    EXPECT_EQ(scanner->path, "/dev/input/event3");
    EXPECT_EQ(scanner->name, "USB Barcode Scanner");
    EXPECT_EQ(scanner->number, makedev(13, 67));
    EXPECT_FALSE(platform::evdev::findScanner("event4", "/dev/input", sys.string()));
    EXPECT_FALSE(platform::evdev::findScanner("event5", "/dev/input", sys.string()));
    EXPECT_FALSE(platform::evdev::findScanner("event6", "/dev/input", sys.string()));
    std::filesystem::remove_all(sys);
}

} // namespace
