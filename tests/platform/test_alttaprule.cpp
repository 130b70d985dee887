// SPDX-License-Identifier: MIT
// The one rule that tells a scanner's lone Alt tap from a person's chord, as every key
// source feeds it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/alttaprule.h"

namespace {

using platform::AltTapRule;
using Event = AltTapRule::Event;

constexpr unsigned kLeftAlt = 1, kRightAlt = 2, kCtrl = 3, kF4 = 4;

struct Step {
    unsigned code;
    bool down;
    unsigned device = 7;
    bool othersHeld = false;
    std::uint32_t afterMs = 5;
};

struct Case {
    const char* what;
    std::vector<Step> keys;
    std::vector<Event> events; // what each key said, None left out
};

std::vector<Event> play(const std::vector<Step>& keys)
{
    AltTapRule rule;
    std::uint32_t timeMs = 1000;
    std::vector<Event> events;
    for (const Step& key : keys) {
        const Event event = rule.key({.code = key.code,
            .down = key.down,
            .alt = key.code == kLeftAlt || key.code == kRightAlt,
            .othersHeld = key.othersHeld,
            .device = key.device,
            .timeMs = timeMs += key.afterMs});
        if (event != Event::None)
            events.push_back(event);
    }
    return events;
}

TEST(AltTapRule, EveryBackendsKeysDecideTheSame)
{
    const Case cases[] = {
        {"a lone tap", {{kLeftAlt, true}, {kLeftAlt, false}}, {Event::LonePress, Event::Tap}},
        {"a chord: a key pressed while Alt is held", {{kLeftAlt, true}, {kF4, true}, {kF4, false}, {kLeftAlt, false}},
            {Event::LonePress, Event::Chord}},
        {"a key let go after the press decides nothing", {{kLeftAlt, true}, {kF4, false}, {kLeftAlt, false}},
            {Event::LonePress, Event::Tap}},
        {"AltGr is no Alt: the backend says so, and a tap of it is none", {{kF4, true}, {kF4, false}}, {}},
        {"both Alt keys", {{kLeftAlt, true}, {kRightAlt, true}, {kLeftAlt, false}, {kRightAlt, false}},
            {Event::LonePress, Event::Chord}},
        {"a modifier held: Ctrl, then Alt tapped",
            {{kCtrl, true}, {kLeftAlt, true, 7, true}, {kLeftAlt, false}, {kCtrl, false}}, {Event::ChordPress}},
        {"the keyboard's repeat of a held Alt", {{kLeftAlt, true}, {kLeftAlt, true, 7, false, 500}, {kLeftAlt, false}},
            {Event::LonePress, Event::Tap}},
        {"a lost release: the same Alt pressed after a long pause is a new press",
            {{kLeftAlt, true}, {kF4, true}, {kLeftAlt, true, 7, false, 20000}, {kLeftAlt, false}},
            {Event::LonePress, Event::Chord, Event::LonePress, Event::Tap}},
        {"a key of another device decides nothing about the scanner's Alt",
            {{kLeftAlt, true, 7}, {kF4, true, 9}, {kF4, false, 9}, {kLeftAlt, false, 7}},
            {Event::LonePress, Event::Tap}},
        {"nor does another device's Alt release", {{kLeftAlt, true, 7}, {kLeftAlt, false, 9}, {kLeftAlt, false, 7}},
            {Event::LonePress, Event::Tap}},
        {"a backend that knows no device: every key decides",
            {{kLeftAlt, true, 0}, {kF4, true, 9}, {kLeftAlt, false, 0}}, {Event::LonePress, Event::Chord}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(play(c.keys), c.events) << c.what;
}

} // namespace
