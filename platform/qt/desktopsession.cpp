// SPDX-License-Identifier: MIT
// One Tarnix for each user and display: the display the Qt platform in use is on names a
// lock and a socket in the user's runtime folder.
#include "platform/desktopsession.h"

#include <cstdio>
#include <string>

#include <QGuiApplication>

#include "platform/posix/sessionprotocol.h"
#include "platform/posix/sessionsocket.h"
#include "platform/qt/sessionserver.h"

namespace platform {

namespace {

// A copy of its own: there is no telling which display it shares with whom.
class UnclaimedSession final : public DesktopSession {
public:
    void onComeForward(std::function<void()>) override { }
};

// ":0", ":0.0" and "unix:0" are one X display; its screens share the keyboard.
std::string x11DisplayKey(const std::string& display)
{
    const auto colon = display.rfind(':');
    if (colon == std::string::npos || colon + 1 == display.size())
        return {};
    std::string host = display.substr(0, colon);
    if (host == "unix")
        host.clear();
    const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
    return "x11-" + host + ":" + number;
}

std::string displayKey(bool wayland)
{
    if (wayland) {
        const QByteArray name = qgetenv("WAYLAND_DISPLAY");
        return "wayland-" + (name.isEmpty() ? std::string("wayland-0") : name.toStdString());
    }
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return x11DisplayKey(qgetenv("DISPLAY").toStdString());
    return {}; // offscreen, or a platform with no desktop to share
}

void note(const std::string& what)
{
    std::fprintf(stderr, "tarnix: %s\n", what.c_str());
}

} // namespace

std::unique_ptr<DesktopSession> claimDesktopSession()
{
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    const std::string key = displayKey(wayland);
    const std::string runtimeDir = qgetenv("XDG_RUNTIME_DIR").toStdString();
    if (key.empty() || runtimeDir.empty())
        return std::make_unique<UnclaimedSession>();
    std::string whyNot;
    const auto place = sessionPlace(runtimeDir, key, whyNot);
    if (!place) {
        note(whyNot + "; not looking for another Tarnix on this display");
        return std::make_unique<UnclaimedSession>();
    }
    SessionClaim claim = claimSessionPlace(*place, comeForwardRequest(qgetenv("XDG_ACTIVATION_TOKEN").toStdString()));
    switch (claim.outcome) {
    case SessionClaim::Outcome::Claimed: return std::make_unique<SessionServer>(std::move(claim), wayland);
    case SessionClaim::Outcome::HandedOver: return nullptr;
    case SessionClaim::Outcome::Unanswered:
        note("another Tarnix runs on this display but does not answer (" + place->socketPath + ")");
        return nullptr;
    case SessionClaim::Outcome::Unavailable: break;
    }
    note(claim.problem + "; not looking for another Tarnix on this display");
    return std::make_unique<UnclaimedSession>();
}

} // namespace platform
