// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

// The main window's fixed layout, in twips (1/1440 inch) from the top left corner of
// the client area below the menu bar; every toolkit builds its window from this.
namespace form1geometry {

inline constexpr int kClientWidth = 9255;
inline constexpr int kClientHeight = 2055;

// The window's outer heights with web lookup off (the lower band with the status line
// and the browser pane cut off) and on (everything in view).
inline constexpr int kCollapsedOuterHeight = 2715;
inline constexpr int kExpandedOuterHeight = 8135;

// The title bar, menu bar and border the outer heights count in. Frames differ between
// window systems, so the window keeps the client height below the menu bar at the
// outer height minus this, and the layout stays exact whatever the frame measures.
inline constexpr int kFrameHeight = 660;

enum class Kind { InputBox, Label, ResultBox, BrowserPane };
enum class Align { Left, Centre };

struct ControlLayout {
    std::u16string_view name; // also the control's object name
    Kind kind;
    int left, top, width, height;
    std::u16string_view text; // at design time
    Align align;
    // For screen readers: a box's name; a label's name is its text, which they announce
    // as it changes, and the description says what the text is.
    std::u16string_view accessibleName;
    std::u16string_view accessibleDescription = {};
};

// In tab order; labels take no focus and are skipped by Tab.
inline constexpr std::array<ControlLayout, 10> kControls{{
    {u"Text1", Kind::InputBox, 120, 120, 8895, 285, u"", Align::Left, u"Scan input"},
    {u"Label2", Kind::Label, 2400, 840, 1095, 255, u"Serial:", Align::Left, u""},
    {u"Label3", Kind::Label, 2400, 1200, 1095, 375, u"UPC Type:", Align::Left, u""},
    {u"Label4", Kind::Label, 2400, 1560, 1095, 255, u"UPC:", Align::Left, u""},
    {u"Label5", Kind::Label, 120, 480, 8895, 255, u"Current scan code:", Align::Centre, u"", u"Current scan code"},
    {u"Text5", Kind::ResultBox, 3600, 840, 2895, 285, u"Serial Number::", Align::Left, u"Serial"},
    {u"Text6", Kind::ResultBox, 3600, 1200, 2895, 285, u"UPC Type::", Align::Left, u"UPC Type"},
    {u"Text7", Kind::ResultBox, 3600, 1560, 2895, 285, u"UPC::", Align::Left, u"UPC"},
    {u"WebBrowser1", Kind::BrowserPane, 120, 2400, 9015, 4935, u"", Align::Left, u"Lookup page"},
    {u"Label6", Kind::Label, 600, 2040, 7695, 255, u"", Align::Centre, u"", u"Lookup status"},
}};

// The menu tree: three menus, each with its items. An item's shortcut is written as
// the toolkits read it ("Ctrl+X", "F1").
struct MenuItemLayout {
    std::u16string_view name;
    std::u16string_view caption; // "&" marks the access key
    std::u16string_view shortcut;
    bool enabled;
    bool checkable;
};

struct MenuLayout {
    std::u16string_view name;
    std::u16string_view caption;
    std::array<MenuItemLayout, 3> items;
    int itemCount;
};

inline constexpr std::array<MenuLayout, 3> kMenus{{
    {u"mnu_file", u"&File",
        {{{u"mnu_open", u"&Open", u"Ctrl+O", false, false}, {u"mnu_close", u"&Close", u"Ctrl+C", false, false},
            {u"mnu_exit", u"&Exit", u"Ctrl+X", true, false}}},
        3},
    {u"mnu_options", u"&Options", {{{u"mnu_lookup", u"&Web Lookup", u"Ctrl+L", true, true}}}, 1},
    {u"mnu_helpm", u"&Help",
        {{{u"mnu_help", u"&Help", u"F1", true, false}, {u"mnu_About", u"&About", u"F2", true, false}}}, 2},
}};

} // namespace form1geometry
