#pragma once
// Keeps stored window positions on the desktop. The desktop geometry is passed
// in (the GUI asks the screen), so the rules can be checked without a screen.
#include <cstdint>

namespace lv {

// The virtual desktop: all screens together.
struct TDesktopRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// Values below this mark a placement the user asked to keep as stored.
inline constexpr std::int32_t kKeepPlacementBelow = -9998;

// Main window: clamps height and width to the desktop and moves a window that
// lies off the desktop back onto it. Nothing changes when any value is below
// -9998.
void CheckMainFormPlacement(std::int32_t& height, std::int32_t& left, std::int32_t& width,
                            std::int32_t& top, const TDesktopRect& desktop);

// Transport window (fixed size): a position off the desktop goes back to the
// desktop's left edge and top.
void CheckTransportFormPlacement(std::int32_t& left, std::int32_t& top,
                                 const TDesktopRect& desktop);

} // namespace lv
