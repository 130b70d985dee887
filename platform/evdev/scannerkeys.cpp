// SPDX-License-Identifier: MIT
#include "platform/evdev/scannerkeys.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <utility>

#include "mainwindow/altpolicy.h"
#include "platform/uskeyboard.h"

namespace platform::evdev {

namespace {

bool isAlt(unsigned code)
{
    return code == KEY_LEFTALT || code == KEY_RIGHTALT;
}

const KeyBits& altKeys()
{
    static const KeyBits alts = KeyBits().set(KEY_LEFTALT).set(KEY_RIGHTALT);
    return alts;
}

} // namespace

bool ScannerKeys::anyDown(std::initializer_list<unsigned> codes) const
{
    return std::ranges::any_of(codes, [this](unsigned code) { return down_.test(code); });
}

ScannerKeys::Typed ScannerKeys::key(unsigned code, int value, std::uint32_t timeMs)
{
    if (code >= kKeyCount)
        return Typed::Nothing;
    const bool alt = isAlt(code);
    const bool othersHeld = alt && value != 0 && (down_ & ~altKeys()).any();
    down_.set(code, value != 0);
    const auto event
        = tap_.key({.code = code, .down = value != 0, .alt = alt, .othersHeld = othersHeld, .timeMs = timeMs});
    if (altCounts(event, AltTarget::ScannerOnly)) {
        // Each line opens with Alt: whatever went before it is no part of the new one.
        typing_.clear();
        spoiled_ = false;
        return Typed::AltTap;
    }
    if (value == 0 || alt)
        return Typed::Nothing;

    const bool altDown = anyDown({KEY_LEFTALT, KEY_RIGHTALT});
    const bool meta = anyDown({KEY_LEFTMETA, KEY_RIGHTMETA});
    const bool ctrl = anyDown({KEY_LEFTCTRL, KEY_RIGHTCTRL});
    if (code == KEY_ENTER || code == KEY_KPENTER) {
        if (altDown || meta)
            return Typed::Nothing;
        if (std::exchange(spoiled_, false)) {
            typing_.clear();
            return Typed::Nothing;
        }
        line_ = std::exchange(typing_, {}) + u"\r\n";
        return Typed::Line;
    }
    if (ctrl || altDown || meta)
        return Typed::Nothing;
    const char16_t c = usKeyboardCharacter(code, anyDown({KEY_LEFTSHIFT, KEY_RIGHTSHIFT}));
    if (c == u'\0' || spoiled_)
        return Typed::Nothing;
    if (typing_.size() == kLongestLine) {
        typing_.clear();
        spoiled_ = true;
        return Typed::TooLong;
    }
    typing_ += c;
    return Typed::Nothing;
}

void ScannerKeys::eventsLost(const KeysDown& down)
{
    down_ = down;
    typing_.clear();
    tap_.reset();
    spoiled_ = true;
}

} // namespace platform::evdev
