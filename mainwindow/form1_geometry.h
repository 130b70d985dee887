#pragma once

// The main window's fixed sizes, in twips (1/1440 inch).
namespace form1geometry {

inline constexpr int kClientWidth = 9255;

// The window's outer heights with web lookup off (the lower band with the status line
// and the browser pane cut off) and on (everything in view).
inline constexpr int kCollapsedOuterHeight = 2715;
inline constexpr int kExpandedOuterHeight = 8135;

// The title bar, menu bar and border the outer heights count in. Frames differ between
// window systems, so the window keeps the client height below the menu bar at the
// outer height minus this, and the layout stays exact whatever the frame measures.
inline constexpr int kFrameHeight = 660;

} // namespace form1geometry
