// The hyperlink's colours, flags, colour choice and flag changes.
#include "controls/LinkStyle.h"

LinkPalette PaletteFromColours(ColourRef link, ColourRef active, ColourRef followed, ColourRef hover,
                               ColourRef highlight)
{
    return {link, active, followed, hover == SystemHighlight ? highlight : hover};
}

ColourRef ChooseLinkColour(const LinkState& state, std::uint32_t flags, const LinkPalette& palette)
{
    if (state.hovering && (flags & LinkHoverColour))
        return palette.hover;
    if (state.active && !(flags & LinkIgnoresActive))
        return palette.active;
    if (state.followed)
        return palette.followed;
    return palette.link;
}

std::uint8_t UnderlineFor(std::uint32_t flags)
{
    return (flags & LinkUnderlined) ? 1 : 0;
}

FlagChange ChangeFlags(std::uint32_t flags, std::uint32_t remove, std::uint32_t add)
{
    FlagChange change;
    change.flags = flags;
    if (remove & add)
        return change;
    change.accepted = true;
    change.flags = (flags & ~remove) | add;
    change.refreshUnderline = ((remove | add) & LinkUnderlined) != 0;
    change.fitToText = (add & LinkFitsText) != 0;
    change.repaint = (remove & LinkHoverColour) != 0;
    return change;
}
