// SPDX-License-Identifier: MIT
#include "lookup/weblookup.h"

#include <cstdint>

#include "unicode/utf8.h"

namespace lookup {

namespace {

bool isUnreserved(std::uint32_t byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '-'
        || byte == '.' || byte == '_' || byte == '~';
}

void appendByte(std::u16string& out, std::uint32_t byte)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    if (isUnreserved(byte)) {
        out += static_cast<char16_t>(byte);
        return;
    }
    out += u'%';
    out += kHex[(byte >> 4) & 0xF];
    out += kHex[byte & 0xF];
}

} // namespace

std::u16string percentEncode(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char bytes[4];
        const char* end = unicode::writeUtf8(unicode::nextCodePoint(text, i), bytes);
        for (const char* byte = bytes; byte != end; ++byte)
            appendByte(out, static_cast<unsigned char>(*byte));
    }
    return out;
}

std::u16string trackingAddress(std::u16string_view host, std::u16string_view data)
{
    std::u16string address = u"http://";
    address += host;
    address += u"/etracking/tracking.cgi?tracknums_displayed=5&TypeOfInquiryNumber=T"
               u"&HTMLVersion=4.0&sort_by=status&InquiryNumber1=";
    address += percentEncode(data);
    address += u"&InquiryNumber2=&InquiryNumber3=&InquiryNumber4=&InquiryNumber5="
               u"&track.x=20&track.y=14";
    return address;
}

std::u16string productAddress(std::u16string_view host, std::u16string_view data)
{
    std::u16string address = u"http://";
    address += host;
    address += u"/item.pl?upc=";
    address += percentEncode(data);
    return address;
}

LookupRequest chooseLookup(std::u16string_view type, std::u16string_view data, const LookupHosts& hosts)
{
    if (type == kParcelTrackingType)
        return {std::u16string(kParcelTrackingStatus), trackingAddress(hosts.parcelTracking, data)};
    return {std::u16string(kProductDatabaseStatus), productAddress(hosts.productDatabase, data)};
}

} // namespace lookup
