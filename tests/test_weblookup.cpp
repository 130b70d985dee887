// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "lookup/weblookup.h"

using namespace lookup;

namespace {
const LookupHosts kHosts{u"track.example", u"upc.example"};

const std::u16string kTrackingPrefix
    = u"http://track.example/etracking/tracking.cgi?tracknums_displayed=5&TypeOfInquiryNumber=T"
      u"&HTMLVersion=4.0&sort_by=status&InquiryNumber1=";
const std::u16string kTrackingSuffix
    = u"&InquiryNumber2=&InquiryNumber3=&InquiryNumber4=&InquiryNumber5=&track.x=20&track.y=14";
} // namespace

TEST(WebLookup, ParcelTrackingTypeOpensTheTrackingPage)
{
    const LookupRequest request = chooseLookup(u"E28", u"1Z999AA10123456784", kHosts);
    EXPECT_EQ(request.status, u"Connecting to UPS site...");
    EXPECT_EQ(request.address, kTrackingPrefix + u"1Z999AA10123456784" + kTrackingSuffix);
}

TEST(WebLookup, EveryOtherTypeOpensTheProductDatabase)
{
    for (const std::u16string type : {u"e28", u"E28 ", u" E28", u"", u"UPA", u"E2", u"E280"}) {
        const LookupRequest request = chooseLookup(type, u"0123456789", kHosts);
        EXPECT_EQ(request.status, u"Connecting to the UPC Database...") << "type of length " << type.size();
        EXPECT_EQ(request.address, u"http://upc.example/item.pl?upc=0123456789") << "type of length " << type.size();
    }
}

TEST(WebLookup, EmptyDataStillGivesAnAddress)
{
    EXPECT_EQ(chooseLookup(u"UPA", u"", kHosts).address, u"http://upc.example/item.pl?upc=");
    EXPECT_EQ(chooseLookup(u"E28", u"", kHosts).address, kTrackingPrefix + kTrackingSuffix);
}

TEST(WebLookup, DefaultHostsAreTheRealServices)
{
    const LookupHosts defaults;
    EXPECT_EQ(chooseLookup(u"UPA", u"1", defaults).address, u"http://www.upcdatabase.com/item.pl?upc=1");
    EXPECT_EQ(chooseLookup(u"E28", u"1", defaults).address.rfind(u"http://wwwapps.ups.com/etracking/", 0), 0u);
}

TEST(WebLookup, DataIsPercentEncodedSoItCannotBendTheAddress)
{
    EXPECT_EQ(percentEncode(u"AZaz09-._~"), u"AZaz09-._~") << "unreserved characters stay";
    EXPECT_EQ(percentEncode(u"a&b"), u"a%26b");
    EXPECT_EQ(percentEncode(u"a#b"), u"a%23b");
    EXPECT_EQ(percentEncode(u"a?b"), u"a%3Fb");
    EXPECT_EQ(percentEncode(u"a=b"), u"a%3Db");
    EXPECT_EQ(percentEncode(u"a b"), u"a%20b");
    EXPECT_EQ(percentEncode(u"100%"), u"100%25");
    EXPECT_EQ(percentEncode(u"+/"), u"%2B%2F");
    EXPECT_EQ(percentEncode(std::u16string(u"\r\n\0", 3)), u"%0D%0A%00");
    EXPECT_EQ(percentEncode(u"\u00E9"), u"%C3%A9") << "UTF-8 bytes of a non-ASCII character";
    EXPECT_EQ(percentEncode(u"\u20AC"), u"%E2%82%AC");
    EXPECT_EQ(percentEncode(u"\U0001F600"), u"%F0%9F%98%80");
    EXPECT_EQ(percentEncode(u"\xD800x"), u"%EF%BF%BDx") << "a lone surrogate";

    // In the page address the data stays one query value.
    EXPECT_EQ(chooseLookup(u"UPA", u"1&x=2#top", kHosts).address, u"http://upc.example/item.pl?upc=1%26x%3D2%23top");
    EXPECT_EQ(chooseLookup(u"E28", u"A B?", kHosts).address, kTrackingPrefix + u"A%20B%3F" + kTrackingSuffix);
}
