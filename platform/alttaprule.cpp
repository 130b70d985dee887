// SPDX-License-Identifier: MIT
#include "platform/alttaprule.h"

#include "platform/altbounds.h"

namespace platform {

namespace {

bool sameDevice(unsigned a, unsigned b)
{
    return a == 0 || b == 0 || a == b;
}

} // namespace

AltTapRule::Event AltTapRule::key(const Key& key)
{
    const bool fromAltsDevice = alt_ && sameDevice(key.device, alt_->device);
    if (key.alt && key.down) {
        if (fromAltsDevice && key.code == alt_->code
            && key.timeMs - alt_->lastDownMs <= std::uint32_t(altbounds::kLongestRepeatGap.count())) {
            alt_->lastDownMs = key.timeMs; // its repeat
            return Event::None;
        }
        if (fromAltsDevice && key.code != alt_->code) { // both Alt keys
            const bool wasLone = alt_->lone;
            alt_->lone = false;
            return wasLone ? Event::Chord : Event::None;
        }
        // A new press; a press of the same key after a longer pause is one too, its
        // release lost (the secure desktop of Ctrl+Alt+Del takes it, for one).
        alt_ = HeldAlt{key.code, key.device, !key.othersHeld, key.timeMs};
        return key.othersHeld ? Event::ChordPress : Event::LonePress;
    }
    if (key.alt) {
        if (!fromAltsDevice || key.code != alt_->code)
            return Event::None;
        const bool lone = alt_->lone;
        alt_.reset();
        return lone ? Event::Tap : Event::None;
    }
    // The releases of keys let go after the press decide nothing.
    if (key.down && fromAltsDevice && alt_->lone) {
        alt_->lone = false;
        return Event::Chord;
    }
    return Event::None;
}

} // namespace platform
