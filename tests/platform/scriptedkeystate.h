// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/keystate.h"

// A key state that answers Alt queries from a script, one value per query, and 0 once
// the script is used up. Other keys answer otherKeysState. Every query is recorded.
// It claims to wake the event loop only when told to (it never does).
class ScriptedKeyState final : public platform::KeyState {
public:
    explicit ScriptedKeyState(std::deque<std::int16_t> altStates = {}, std::int16_t otherKeysState = 0)
        : altStates_(std::move(altStates))
        , otherKeysState_(otherKeysState)
    {
    }

    std::int16_t query(int virtualKey) override
    {
        queriedKeys_.push_back(virtualKey);
        if (virtualKey != platform::kAltKey)
            return otherKeysState_;
        if (altStates_.empty())
            return 0;
        const std::int16_t state = altStates_.front();
        altStates_.pop_front();
        return state;
    }

    bool wakesEventLoop() const override { return wakes_; }
    void setWakesEventLoop(bool wakes) { wakes_ = wakes; }

    void script(std::deque<std::int16_t> altStates) { altStates_ = std::move(altStates); }
    const std::vector<int>& queriedKeys() const { return queriedKeys_; }
    std::size_t queryCount() const { return queriedKeys_.size(); }

private:
    std::deque<std::int16_t> altStates_;
    std::int16_t otherKeysState_;
    bool wakes_ = false;
    std::vector<int> queriedKeys_;
};
