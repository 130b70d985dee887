// SPDX-License-Identifier: MIT
#include "platform/win32/heldkeys_win.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace platform::win32 {

HeldKeys::HeldKeys(Send send, Note note)
    : send_(std::move(send))
    , note_(std::move(note))
{
    if (!note_)
        note_ = [](const std::string& text) { std::fprintf(stderr, "tarnix: %s\n", text.c_str()); };
}

bool HeldKeys::sendOn()
{
    while (!keys_.empty()) {
        // Keys held while these are sent (the hook still answers meanwhile) join keys_,
        // after them.
        std::vector<INPUT> batch;
        batch.swap(keys_);
        const std::size_t sent = std::min<std::size_t>(send_(batch), batch.size());
        keys_.insert(keys_.begin(), batch.begin() + static_cast<std::ptrdiff_t>(sent), batch.end());
        if (sent > 0) {
            refusals_ = 0;
            continue;
        }
        if (++refusals_ < kAttempts)
            return true;
        note_("the system refused " + std::to_string(keys_.size()) + " keys typed after Alt (error "
            + std::to_string(GetLastError()) + "); they are lost");
        keys_.clear();
        refusals_ = 0;
    }
    return false;
}

} // namespace platform::win32
