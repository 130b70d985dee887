// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace lookup {

// The two services' hosts, each a bare host name placed between the scheme and the
// path. These defaults are the only place the real hosts are named; the window takes
// a LookupHosts so that tests can point it at a loopback server.
struct LookupHosts {
    std::u16string parcelTracking = u"wwwapps.ups.com";
    std::u16string productDatabase = u"www.upcdatabase.com";
};

} // namespace lookup
