// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/alttaprule.h"
#include "platform/evdev/scannerfilter.h"

namespace platform::evdev {

// One scanner's key events turned into what it typed, as the input box takes the same
// keys from the desktop: each key gives the character of its place on a US keyboard
// (Linux's key codes are the PC scan codes of uskeyboard.h) with the device's own Shift,
// so neither the desktop's layout nor its Caps Lock plays a part; a key with Ctrl, Alt or
// Meta down gives none; Enter gives CR LF unless Alt or Meta is down.
//
// A line is handed on only whole, at its line end: keys of a line cut short (the scanner
// unplugged, the device failing) never reach the input box to spoil the next scan. Nor
// does a line the kernel dropped events of: decoded, it would show wrong fields. Nor
// does a line longer than any scan: a device that types for ever without a line end
// cannot make the line grow without bound.
class ScannerKeys {
public:
    static constexpr unsigned kKeyCount = KeyBits().size();
    using KeysDown = KeyBits;
    // Characters a line may have, far beyond the longest scan.
    static constexpr std::size_t kLongestLine = 1024;

    enum class Typed {
        Nothing,
        AltTap,  // Alt pressed and released with no other key in between
        Line,    // a line end: line() holds the line
        TooLong, // the line outgrew kLongestLine: it is dropped up to its line end
    };

    // An EV_KEY event: value 1 press, 0 release, 2 the kernel's repeat of a held key,
    // which types again as it does on the desktop; timeMs: the event's time.
    Typed key(unsigned code, int value, std::uint32_t timeMs = 0);

    // After Typed::Line, the whole line with its CR LF.
    const std::u16string& line() const { return line_; }

    // The kernel dropped events (SYN_DROPPED). down: the keys held now (EVIOCGKEY). The
    // line being typed is thrown away up to its line end or the next Alt tap.
    void eventsLost(const KeysDown& down);

private:
    bool anyDown(std::initializer_list<unsigned> codes) const;

    KeysDown down_;
    std::u16string typing_;
    std::u16string line_;
    AltTapRule tap_;
    bool spoiled_ = false;
};

} // namespace platform::evdev
