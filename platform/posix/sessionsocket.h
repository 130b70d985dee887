// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// A file descriptor, closed with its owner.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : fd_(fd)
    {
    }
    UniqueFd(UniqueFd&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        reset(std::exchange(other.fd_, -1));
        return *this;
    }
    ~UniqueFd() { reset(); }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

// Where the Tarnix of one display keeps its lock and its socket: in the user's runtime
// folder, which only the user may enter.
struct SessionPlace {
    std::string lockPath;
    std::string socketPath;
};

// The place for the display named by displayKey ("x11-:0", "wayland-wayland-0") in
// runtimeDir, or nothing, with the reason in whyNot, when runtimeDir is not a folder of
// this user's alone or the socket's path would not fit a socket address.
std::optional<SessionPlace> sessionPlace(
    const std::string& runtimeDir, std::string_view displayKey, std::string& whyNot);

// Claiming a place: whoever holds its lock (flock, which the kernel drops with the
// process, however it ends) is the Tarnix of that display and listens on its socket; a
// socket left by a killed one is replaced. A later start finds the lock taken, sends its
// request over the socket and waits a moment for the answer.
struct SessionClaim {
    enum class Outcome {
        Claimed,     // this start holds the lock and listens
        HandedOver,  // the holder took the request
        Unanswered,  // the lock stayed taken, but nobody took the request
        Unavailable, // the lock or the socket could not be made: see problem
    };
    Outcome outcome = Outcome::Unavailable;
    UniqueFd lock;
    UniqueFd listener; // non-blocking, for accept4
    std::string problem;
};

// request is what a later start sends: one line, CR LF not allowed inside.
SessionClaim claimSessionPlace(const SessionPlace& place, std::string_view request);

} // namespace platform
