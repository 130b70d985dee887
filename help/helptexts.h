// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

// The help window: its caption, client size and three paragraphs, in twips from the
// top left corner of its client area. Every toolkit builds its window from this.
namespace helptexts {

inline constexpr std::u16string_view kCaption = u"Help";
inline constexpr int kClientWidth = 4425;
inline constexpr int kClientHeight = 3060;

struct Paragraph {
    std::u16string_view name;
    int left, top, width, height;
    std::u16string_view text; // one line; the label wraps it
};

// Label2's text ends in a blank.
inline constexpr std::array<Paragraph, 3> kParagraphs{{
    {u"Label1", 120, 120, 4215, 495,
        u"Forgive this limited help system, but this should cover any questions that you might have."},
    {u"Label2", 360, 720, 3855, 975,
        u"The main window must be up before you scan. It will automatically parse the data "
        u"received, and if you have web lookup enabled, it will open another window and give "
        u"relevant information related to the barcode you have just scanned. "},
    {u"Label3", 360, 1920, 3975, 975,
        u"There are two methods of web lookup, automatically detected upon scan. If it is a UPS "
        u"tracking barcode, it will return the proper UPS page based on your tracking number, or "
        u"if it is another barcode, it will automatically go to the UPC database."},
}};

} // namespace helptexts
