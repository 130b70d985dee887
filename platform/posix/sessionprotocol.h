// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What a later start says to the Tarnix of its display: one line, "come-forward", then a
// space and the launcher's activation token when it has one. The answer is "ok".
inline constexpr std::string_view kComeForward = "come-forward";
inline constexpr std::string_view kSessionAnswer = "ok\n";

// No request is longer, line end included: anything longer is not one.
inline constexpr std::size_t kLongestSessionRequest = 512;

// A token is printable ASCII without spaces, as compositors make them; one that is not
// is left out, and the request asks without it.
inline bool isActivationToken(std::string_view token)
{
    if (token.empty() || token.size() > kLongestSessionRequest - kComeForward.size() - 2)
        return false;
    for (const char c : token) {
        if (c < '!' || c > '~')
            return false;
    }
    return true;
}

inline std::string comeForwardRequest(std::string_view activationToken)
{
    std::string request(kComeForward);
    if (isActivationToken(activationToken))
        request.append(" ").append(activationToken);
    return request + '\n';
}

// The token of a request line (its line end taken off), empty when it carries none; or
// nothing when the line is not a request.
inline std::optional<std::string> parseComeForwardRequest(std::string_view line)
{
    if (line == kComeForward)
        return std::string();
    if (!line.starts_with(kComeForward) || line.size() <= kComeForward.size() || line[kComeForward.size()] != ' ')
        return std::nullopt;
    const std::string_view token = line.substr(kComeForward.size() + 1);
    if (!isActivationToken(token))
        return std::nullopt;
    return std::string(token);
}

} // namespace platform
