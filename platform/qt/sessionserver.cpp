// SPDX-License-Identifier: MIT
#include "platform/qt/sessionserver.h"

#include <algorithm>
#include <cerrno>

#include <QSocketNotifier>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/sessionprotocol.h"

namespace platform {

namespace {

constexpr int kRequestWithinMs = 1000;
constexpr int kMostCallers = 8;
// After a failed accept (out of descriptors, say) the socket stays readable: rest a
// moment instead of spinning on it.
constexpr int kRestAfterFailureMs = 1000;

bool callerIsThisUser(int connection)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
}

// One connection from a later start: its request line, gathered as it arrives.
class SessionCaller final : public QObject {
public:
    SessionCaller(UniqueFd connection, std::function<void(const std::string&)> request, QObject* parent)
        : QObject(parent)
        , connection_(std::move(connection))
        , request_(std::move(request))
        , notifier_(new QSocketNotifier(connection_.get(), QSocketNotifier::Read, this))
    {
        connect(notifier_, &QSocketNotifier::activated, this, [this] { read(); });
        QTimer::singleShot(kRequestWithinMs, this, [this] { finish(); });
    }

private:
    void read()
    {
        char chunk[256];
        while (connection_) {
            const std::size_t room = std::min(sizeof chunk, kLongestSessionRequest - received_.size());
            const ssize_t got = recv(connection_.get(), chunk, room, MSG_DONTWAIT);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (got <= 0) // closed before its line end, or failed
                return finish();
            received_.append(chunk, static_cast<std::size_t>(got));
            if (const auto end = received_.find('\n'); end != std::string::npos)
                return answer(std::string_view(received_).substr(0, end));
            if (received_.size() >= kLongestSessionRequest)
                return finish();
        }
    }

    void answer(std::string_view line)
    {
        const auto token = parseComeForwardRequest(line);
        if (token) {
            request_(*token);
            send(connection_.get(), kSessionAnswer.data(), kSessionAnswer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        finish();
    }

    void finish()
    {
        notifier_->setEnabled(false);
        connection_.reset();
        deleteLater();
    }

    UniqueFd connection_;
    std::function<void(const std::string&)> request_;
    QSocketNotifier* notifier_;
    std::string received_;
};

} // namespace

SessionServer::SessionServer(SessionClaim claim, bool passActivationToken)
    : lock_(std::move(claim.lock))
    , listener_(std::move(claim.listener))
    , notifier_(new QSocketNotifier(listener_.get(), QSocketNotifier::Read, this))
    , passActivationToken_(passActivationToken)
{
    connect(notifier_, &QSocketNotifier::activated, this, [this] { acceptCallers(); });
}

void SessionServer::acceptCallers()
{
    for (;;) {
        UniqueFd connection(accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!connection) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                notifier_->setEnabled(false);
                QTimer::singleShot(kRestAfterFailureMs, this, [this] { notifier_->setEnabled(true); });
            }
            return;
        }
        if (callers_ >= kMostCallers || !callerIsThisUser(connection.get()))
            continue; // closed at once
        ++callers_;
        auto* caller = new SessionCaller(
            std::move(connection), [this](const std::string& token) { comeForward(token); }, this);
        connect(caller, &QObject::destroyed, this, [this] { --callers_; });
    }
}

void SessionServer::comeForward(const std::string& activationToken)
{
    if (!comeForward_)
        return;
    // Qt 6.4's Wayland plugin takes no token through any call: it reads this variable at
    // the window's next activation request (xdg-activation) and hands it to the
    // compositor. Set only around the request, so no helper process inherits it.
    const bool passToken = passActivationToken_ && !activationToken.empty();
    if (passToken)
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(activationToken));
    comeForward_();
    if (passToken)
        qunsetenv("XDG_ACTIVATION_TOKEN");
}

} // namespace platform
