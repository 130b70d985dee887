// SPDX-License-Identifier: MIT
#include "weblookup.h"

#include <cstdint>

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

// The code point at text[i], advancing i; a lone surrogate becomes U+FFFD.
std::uint32_t nextCodePoint(std::u16string_view text, std::size_t& i)
{
    const std::uint32_t unit = text[i++];
    if (unit >= 0xD800 && unit <= 0xDBFF && i < text.size()) {
        const std::uint32_t low = text[i];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return 0xFFFD;
    return unit;
}

} // namespace

std::u16string percentEncode(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::uint32_t cp = nextCodePoint(text, i);
        if (cp < 0x80) {
            appendByte(out, cp);
        } else if (cp < 0x800) {
            appendByte(out, 0xC0 | (cp >> 6));
            appendByte(out, 0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            appendByte(out, 0xE0 | (cp >> 12));
            appendByte(out, 0x80 | ((cp >> 6) & 0x3F));
            appendByte(out, 0x80 | (cp & 0x3F));
        } else {
            appendByte(out, 0xF0 | (cp >> 18));
            appendByte(out, 0x80 | ((cp >> 12) & 0x3F));
            appendByte(out, 0x80 | ((cp >> 6) & 0x3F));
            appendByte(out, 0x80 | (cp & 0x3F));
        }
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
