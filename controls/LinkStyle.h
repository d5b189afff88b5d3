// The hyperlink's colours, flags, colour choice and flag changes.
#pragma once

#include <cstdint>

// The platform's packed colour (COLORREF): red in the lowest byte, then
// green, then blue, top byte zero.
using ColourRef = std::uint32_t;

constexpr ColourRef RgbColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return ColourRef(red) | ColourRef(green) << 8 | ColourRef(blue) << 16;
}

// The four colours links are drawn in, set and read as a whole.
struct LinkPalette {
    ColourRef link;     // normal state
    ColourRef active;   // focused or pressed
    ColourRef followed; // opened at least once
    ColourRef hover;    // under the pointer, with LinkHoverColour
};

inline constexpr LinkPalette DefaultLinkPalette = {RgbColour(0, 0, 255), RgbColour(0, 128, 128), RgbColour(128, 0, 128),
                                                   RgbColour(255, 0, 0)};

// A hover value that stands for the system's highlight colour (-1).
inline constexpr ColourRef SystemHighlight = 0xFFFFFFFF;

// The palette that SetPalette of four colours makes: the colours as given,
// except a hover of SystemHighlight, which becomes highlight (the system's
// highlight colour read by the caller at the time of the call).
LinkPalette PaletteFromColours(ColourRef link, ColourRef active, ColourRef followed, ColourRef hover,
                               ColourRef highlight);

// Behaviour flags of one link.
inline constexpr std::uint32_t LinkUnderlined = 1;       // the link font is underlined
inline constexpr std::uint32_t LinkHoverColour = 2;      // drawn in hover colour under the pointer
inline constexpr std::uint32_t LinkFitsText = 4;         // window fitted to the caption
inline constexpr std::uint32_t LinkOpensOnPress = 8;     // followed on button-down, not button-up
inline constexpr std::uint32_t LinkTakesFocus = 16;      // a button press takes the focus
inline constexpr std::uint32_t LinkSkipsHandCursor = 32; // attach does not load the hand cursor
inline constexpr std::uint32_t LinkIgnoresActive = 64;   // the active colour is never used
inline constexpr std::uint32_t DefaultLinkFlags = LinkUnderlined | LinkFitsText | LinkTakesFocus;

// The states of one link that decide its colour.
struct LinkState {
    bool hovering = false;
    bool active = false;
    bool followed = false;
};

// The text colour of a link in state with flags: hover when hovering with
// LinkHoverColour, else active when active without LinkIgnoresActive, else
// followed when followed, else link. The first rule that applies wins.
ColourRef ChooseLinkColour(const LinkState& state, std::uint32_t flags, const LinkPalette& palette);

// The underline byte of the link font for flags: 1 with LinkUnderlined, else 0.
std::uint8_t UnderlineFor(std::uint32_t flags);

// The outcome of a flag change and the follow-ups that the link runs after
// it when the change is applied to a live window, in this order.
struct FlagChange {
    bool accepted = false;         // false: masks overlap, nothing changes
    std::uint32_t flags = 0;       // the new flags (the old ones when refused)
    bool refreshUnderline = false; // remove or add holds LinkUnderlined
    bool fitToText = false;        // add holds LinkFitsText
    bool repaint = false;          // remove holds LinkHoverColour
};

// Removes the bits of remove from flags and adds those of add. Refuses when
// remove and add share a bit. The follow-ups depend on the masks only, not
// on whether a bit actually changed.
FlagChange ChangeFlags(std::uint32_t flags, std::uint32_t remove, std::uint32_t add);
