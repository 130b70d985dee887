// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include <QObject>

#include "platform/desktopsession.h"
#include "platform/posix/sessionsocket.h"

class QSocketNotifier;

namespace platform {

// The Tarnix of a display, listening for later starts in the event loop. A caller must be
// this user and may send one request line within a second, at most 512 bytes, read
// without ever blocking; anything else closes its connection and changes nothing.
class SessionServer final : public QObject, public DesktopSession {
public:
    // claim: Claimed. passActivationToken: hand a request's token to the window system
    // (Wayland), so that the compositor lets the window come forward.
    SessionServer(SessionClaim claim, bool passActivationToken);

    void onComeForward(std::function<void()> comeForward) override { comeForward_ = std::move(comeForward); }

private:
    void acceptCallers();
    void comeForward(const std::string& activationToken);

    UniqueFd lock_;
    UniqueFd listener_;
    QSocketNotifier* notifier_;
    bool passActivationToken_;
    int callers_ = 0;
    std::function<void()> comeForward_;
};

} // namespace platform
