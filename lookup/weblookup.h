// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "lookup/lookuphosts.h"

// Choosing the lookup page for a decoded barcode and building its address.
namespace lookup {

// The barcode type of parcel-tracking codes; compared exactly, case and blanks included.
inline constexpr std::u16string_view kParcelTrackingType = u"E28";

inline constexpr std::u16string_view kParcelTrackingStatus = u"Connecting to UPS site...";
inline constexpr std::u16string_view kProductDatabaseStatus = u"Connecting to the UPC Database...";

struct LookupRequest {
    std::u16string status;  // the text for the status line
    std::u16string address; // the page to open
};

// The status text and page address for a decoded type and data: the tracking page for
// the parcel-tracking type, the product-code database page for every other type.
LookupRequest chooseLookup(std::u16string_view type, std::u16string_view data, const LookupHosts& hosts);

std::u16string trackingAddress(std::u16string_view host, std::u16string_view data);
std::u16string productAddress(std::u16string_view host, std::u16string_view data);

// The data as a query value: its UTF-8 bytes, every byte outside A-Z a-z 0-9 - . _ ~
// written as %HH, so that no scanned character can add a query key or cut the address.
std::u16string percentEncode(std::u16string_view text);

} // namespace lookup
