// SPDX-License-Identifier: MIT
#include "platform/posix/sessionsocket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/posix/sessionprotocol.h"

namespace platform {

namespace {

using namespace std::chrono_literals;

// How long a later start goes on trying while the lock is taken but nobody answers (the
// holder between taking the lock and listening, or ending just then), and how long it
// waits for the answer to a request it has sent.
constexpr auto kTryingFor = 2s;
constexpr auto kRetryAfter = 20ms;
constexpr int kAnswerWithinMs = 2000;

std::string systemError(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

std::optional<sockaddr_un> socketAddress(const std::string& path)
{
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

// A file name part made of the display's name: characters that could leave the folder
// or confuse a shell become "_".
std::string fileNamePart(std::string_view name)
{
    std::string part;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
            || c == '.' || c == ':';
        part += plain ? c : '_';
    }
    return part;
}

UniqueFd listenAt(const SessionPlace& place, std::string& problem)
{
    const auto address = socketAddress(place.socketPath);
    UniqueFd listener(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!address || !listener) {
        problem = systemError("cannot make the socket", place.socketPath);
        return {};
    }
    // What a killed Tarnix left: the lock says it is gone.
    if (unlink(place.socketPath.c_str()) != 0 && errno != ENOENT) {
        problem = systemError("cannot replace", place.socketPath);
        return {};
    }
    // The socket file takes this mode at bind: only the user may connect.
    fchmod(listener.get(), S_IRUSR | S_IWUSR);
    if (bind(listener.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0
        || listen(listener.get(), 8) != 0) {
        problem = systemError("cannot listen on", place.socketPath);
        return {};
    }
    return listener;
}

enum class Asked { Answered, Unreachable };

// Sends the request to whoever listens at the place. A holder that has the request but
// is too busy to answer in time (stopped, or in a long handler) reads it later, so that
// counts as answered; a refused connection or one closed without an answer does not.
Asked askHolder(const SessionPlace& place, std::string_view request)
{
    const auto address = socketAddress(place.socketPath);
    UniqueFd connection(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!address || !connection
        || connect(connection.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0)
        return Asked::Unreachable;
    if (send(connection.get(), request.data(), request.size(), MSG_NOSIGNAL | MSG_DONTWAIT)
        != static_cast<ssize_t>(request.size()))
        return Asked::Unreachable;
    pollfd answer{connection.get(), POLLIN, 0};
    int ready = 0;
    do
        ready = poll(&answer, 1, kAnswerWithinMs);
    while (ready < 0 && errno == EINTR);
    if (ready == 0)
        return Asked::Answered;
    char reply[8] = {};
    const ssize_t got = recv(connection.get(), reply, sizeof reply, 0);
    return got > 0 && std::string_view(reply, static_cast<std::size_t>(got)) == kSessionAnswer ? Asked::Answered
                                                                                               : Asked::Unreachable;
}

} // namespace

void UniqueFd::reset(int fd)
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = fd;
}

std::optional<SessionPlace> sessionPlace(
    const std::string& runtimeDir, std::string_view displayKey, std::string& whyNot)
{
    struct stat folder { };
    if (stat(runtimeDir.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) || folder.st_uid != geteuid()
        || (folder.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        whyNot = "the runtime folder " + runtimeDir + " is not a folder of this user's alone";
        return std::nullopt;
    }
    const std::string stem = runtimeDir + "/tarnix-" + fileNamePart(displayKey);
    SessionPlace place{stem + ".lock", stem + ".socket"};
    if (!socketAddress(place.socketPath)) {
        whyNot = "the socket's path is too long: " + place.socketPath;
        return std::nullopt;
    }
    return place;
}

SessionClaim claimSessionPlace(const SessionPlace& place, std::string_view request)
{
    SessionClaim claim;
    claim.lock = UniqueFd(open(place.lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!claim.lock) {
        claim.problem = systemError("cannot open", place.lockPath);
        return claim;
    }
    const auto giveUp = std::chrono::steady_clock::now() + kTryingFor;
    for (;;) {
        if (flock(claim.lock.get(), LOCK_EX | LOCK_NB) == 0) {
            claim.listener = listenAt(place, claim.problem);
            claim.outcome = claim.listener ? SessionClaim::Outcome::Claimed : SessionClaim::Outcome::Unavailable;
            return claim;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            claim.problem = systemError("cannot lock", place.lockPath);
            return claim;
        }
        if (askHolder(place, request) == Asked::Answered) {
            claim.outcome = SessionClaim::Outcome::HandedOver;
            return claim;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            claim.outcome = SessionClaim::Outcome::Unanswered;
            return claim;
        }
        std::this_thread::sleep_for(kRetryAfter);
    }
}

} // namespace platform
