// Where a hyperlink sits: its window fitted to the caption, and the pointer's hover tracking.
#include "controls/LinkGeometry.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t Clamped(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

LinkPlacement FitPlacement(const LinkRect& window, const LinkRect& client, TextExtent text, std::uint32_t style)
{
    // 64-bit throughout: no input can overflow, only the result is clamped.
    std::int64_t left = window.left, top = window.top, right = window.right, bottom = window.bottom;
    std::int64_t borderW = (right - left) - (std::int64_t{client.right} - client.left);
    std::int64_t borderH = (bottom - top) - (std::int64_t{client.bottom} - client.top);

    if (style & StaticCentreImage) {
        std::int64_t d = (bottom - top - text.cy) / 2;
        top += d;
        bottom -= d;
    } else {
        bottom = top + text.cy;
    }

    std::uint32_t type = style & StaticTypeMask;
    if (type == StaticCentre) {
        std::int64_t d = (right - left - text.cx) / 2;
        left += d;
        right -= d;
    } else if (type == StaticRight) {
        left = right - text.cx;
    } else {
        right = left + text.cx;
    }

    return {Clamped(left), Clamped(top), Clamped(right - left + borderW), Clamped(bottom - top + borderH)};
}

HoverStep TrackHover(bool hovering, LinkPoint pointer, const LinkRect& client)
{
    HoverStep step;
    if (!hovering) {
        step.hovering = step.repaint = step.capture = true;
        return step;
    }
    bool inside =
        pointer.x >= client.left && pointer.x < client.right && pointer.y >= client.top && pointer.y < client.bottom;
    step.hovering = inside;
    step.release = step.repaint = !inside;
    return step;
}
