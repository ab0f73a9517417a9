#include "settings/Placement.h"

#include <algorithm>

namespace lv {

// The bottom test uses the desktop's own top as well: on a desktop whose top
// is not 0 (a screen above the primary one) a window at "height - 20" would
// otherwise land outside every screen. With the usual top of 0 this is the
// plain "height - 20" rule.
void CheckMainFormPlacement(std::int32_t& height, std::int32_t& left, std::int32_t& width,
                            std::int32_t& top, const TDesktopRect& d) {
    if (height < kKeepPlacementBelow || left < kKeepPlacementBelow || width < kKeepPlacementBelow ||
        top < kKeepPlacementBelow)
        return;
    height = std::min(height, d.Height);
    width = std::min(width, d.Width);
    if (left < d.Left) left = d.Left;
    if (left > d.Left + d.Width - 20) left = d.Left + d.Width - width;
    if (top < d.Top) top = d.Top;
    if (top > d.Top + d.Height - 20) top = d.Top + d.Height - height;
}

void CheckTransportFormPlacement(std::int32_t& left, std::int32_t& top, const TDesktopRect& d) {
    if (left < kKeepPlacementBelow || top < kKeepPlacementBelow) return;
    if (left < d.Left)
        left = d.Left;
    else if (left > d.Left + d.Width - 20)
        left = d.Left;
    if (top < d.Top || top > d.Top + d.Height - 20) top = d.Top;
}

} // namespace lv
