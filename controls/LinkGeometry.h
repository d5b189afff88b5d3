// Where a hyperlink sits: its window fitted to the caption, and the pointer's hover tracking.
#pragma once

#include <cstdint>

// A rectangle in the platform's sense: right and bottom lie just outside.
struct LinkRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct LinkPoint {
    std::int32_t x = 0, y = 0;
};

// The caption's measured size in the link font.
struct TextExtent {
    std::int32_t cx = 0, cy = 0;
};

// Where a fitted window goes, in the parent's client coordinates.
struct LinkPlacement {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

// Static-control style values that the fitting reads.
inline constexpr std::uint32_t StaticTypeMask = 0x1F;   // SS_TYPEMASK
inline constexpr std::uint32_t StaticCentre = 1;        // SS_CENTER, a type value
inline constexpr std::uint32_t StaticRight = 2;         // SS_RIGHT, a type value
inline constexpr std::uint32_t StaticCentreImage = 512; // SS_CENTERIMAGE, a bit

// Fits window (the window rectangle in the parent's client coordinates) to a
// caption of size text. client is the client rectangle; the border (window
// less client) is kept. Vertically the window keeps its top edge, or with
// StaticCentreImage its centre; horizontally its left edge, or its centre
// for StaticCentre, or its right edge for StaticRight. A centred side moves
// by half the difference, truncated toward zero, so a caption larger than
// the window widens it on both sides. The alignment is the style's type
// field (style & StaticTypeMask): SS_SIMPLE, SS_OWNERDRAW and the other
// types that hold bit 1 or 2 keep their left edge. Results outside the
// 32-bit range are clamped to it.
LinkPlacement FitPlacement(const LinkRect& window, const LinkRect& client, TextExtent text, std::uint32_t style);

// One step of hover tracking on a mouse move (pointer in client coordinates).
struct HoverStep {
    bool hovering = false; // the new hover state
    bool capture = false;  // take the mouse capture
    bool release = false;  // release the mouse capture
    bool repaint = false;  // repaint the link
};

// Entering (not hovering before, wherever the pointer is) starts hovering,
// repaints and captures; leaving (hovering, pointer outside client, right
// and bottom edges outside) stops, releases and repaints; moving inside
// while hovering changes nothing.
HoverStep TrackHover(bool hovering, LinkPoint pointer, const LinkRect& client);
