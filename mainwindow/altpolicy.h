// SPDX-License-Identifier: MIT
#pragma once

#include "platform/alttaprule.h"

// Where an Alt counts as the Alt action (the main window shown, its input box emptied and
// focused), by where the Alt's keys were going when it went down. Every key source asks
// here; the tap rule (platform/alttaprule.h) says what the Alt was.
enum class AltTarget {
    Modal,       // the About box or one of Tarnix's menus is up
    MainWindow,  // Tarnix's main window has the keyboard
    Elsewhere,   // another program, or the help window
    ScannerOnly, // a scanner read from its own device: its keys reach nobody else
};

constexpr bool altCounts(platform::AltTapRule::Event event, AltTarget target)
{
    using Event = platform::AltTapRule::Event;
    switch (target) {
    // While a modal box is up, keys go where they would go without Tarnix.
    case AltTarget::Modal: return false;
    // In the main window every press counts, held or not: Alt+F opens a menu and
    // empties the input box too.
    case AltTarget::MainWindow: return event == Event::LonePress || event == Event::ChordPress;
    // Elsewhere only a scanner's lone tap counts, at its release: a person's chord stays
    // with the program it was typed in.
    case AltTarget::Elsewhere: return event == Event::Tap;
    // A scanner's own device counts its tap whatever is up: its line reaches nobody else,
    // so decoding it behind the About box or a menu loses nothing.
    case AltTarget::ScannerOnly: return event == Event::Tap;
    }
    return false;
}
