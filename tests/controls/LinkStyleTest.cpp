// Tests of the hyperlink's colours, flags, colour choice and flag changes.
#include "controls/LinkStyle.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkPalette, DefaultColoursPackRedLowest)
{
    EXPECT_EQ(DefaultLinkPalette.link, 0x00FF0000u);
    EXPECT_EQ(DefaultLinkPalette.active, 0x00808000u);
    EXPECT_EQ(DefaultLinkPalette.followed, 0x00800080u);
    EXPECT_EQ(DefaultLinkPalette.hover, 0x000000FFu);
}

TEST(LinkFlags, ValuesAndDefault)
{
    const std::uint32_t values[] = {LinkUnderlined, LinkHoverColour,     LinkFitsText,     LinkOpensOnPress,
                                    LinkTakesFocus, LinkSkipsHandCursor, LinkIgnoresActive};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(values[i], 1u << i);
    EXPECT_EQ(DefaultLinkFlags, 21u);
    EXPECT_EQ(UnderlineFor(DefaultLinkFlags), 1);
    EXPECT_EQ(UnderlineFor(DefaultLinkFlags & ~LinkUnderlined), 0);
}

TEST(PaletteFromColours, MinusOneHoverTakesTheHighlight)
{
    const ColourRef highlight = RgbColour(10, 36, 106);
    LinkPalette p = PaletteFromColours(1, 2, 3, SystemHighlight, highlight);
    EXPECT_EQ(p.hover, highlight);
    EXPECT_EQ(p.link, 1u);
    EXPECT_EQ(p.active, 2u);
    EXPECT_EQ(p.followed, 3u);
    // Only hover has the special value; elsewhere -1 stays as given.
    p = PaletteFromColours(SystemHighlight, SystemHighlight, SystemHighlight, 4, highlight);
    EXPECT_EQ(p.link, SystemHighlight);
    EXPECT_EQ(p.active, SystemHighlight);
    EXPECT_EQ(p.followed, SystemHighlight);
    EXPECT_EQ(p.hover, 4u);
}

TEST(ChooseLinkColour, FirstMatchingRowWins)
{
    const LinkPalette p = {11, 22, 33, 44};
    const std::uint32_t hover = LinkHoverColour, ignore = LinkIgnoresActive;
    const struct {
        bool hovering, active, followed;
        std::uint32_t flags;
        ColourRef expected;
    } cases[] = {
        {false, false, false, DefaultLinkFlags, 11},
        {true, false, false, DefaultLinkFlags, 11}, // hovering without the flag
        {true, false, false, hover, 44},
        {true, true, true, hover, 44},    // hover beats active and followed
        {false, true, true, 0, 22},       // active beats followed
        {true, true, false, 0, 22},       // hovering without the flag: active
        {false, true, true, ignore, 33},  // active ignored: followed
        {false, true, false, ignore, 11}, // active ignored: link
        {true, true, true, hover | ignore, 44},
        {false, false, true, 0, 33},
    };
    for (const auto& c : cases) {
        LinkState state;
        state.hovering = c.hovering;
        state.active = c.active;
        state.followed = c.followed;
        EXPECT_EQ(ChooseLinkColour(state, c.flags, p), c.expected)
            << c.hovering << c.active << c.followed << " flags " << c.flags;
    }
}

TEST(ChangeFlags, RefusesOverlapAndNamesTheFollowUps)
{
    const struct {
        std::uint32_t flags, remove, add;
        bool accepted;
        std::uint32_t result;
        bool underline, fit, repaint;
    } cases[] = {
        {21, LinkFitsText, LinkFitsText, false, 21, false, false, false},
        {21, LinkUnderlined | LinkHoverColour, LinkHoverColour, false, 21, false, false, false},
        {21, 0, 0, true, 21, false, false, false},
        {21, LinkUnderlined, 0, true, 20, true, false, false},
        {20, 0, LinkUnderlined, true, 21, true, false, false},
        {21, 0, LinkUnderlined, true, 21, true, false, false}, // already set: still refreshed
        {17, 0, LinkFitsText, true, 21, false, true, false},
        {21, LinkFitsText, 0, true, 17, false, false, false}, // removing does not fit
        {23, LinkHoverColour, 0, true, 21, false, false, true},
        {21, 0, LinkHoverColour, true, 23, false, false, false},
        {21, LinkUnderlined | LinkHoverColour, LinkFitsText | LinkOpensOnPress, true, 28, true, true, true},
        {0xFFFFFFFF, 0xFFFFFFFF, 0, true, 0, true, false, true},
    };
    for (const auto& c : cases) {
        FlagChange change = ChangeFlags(c.flags, c.remove, c.add);
        EXPECT_EQ(change.accepted, c.accepted) << c.flags << " -" << c.remove << " +" << c.add;
        EXPECT_EQ(change.flags, c.result) << c.flags << " -" << c.remove << " +" << c.add;
        EXPECT_EQ(change.refreshUnderline, c.underline) << c.remove << " +" << c.add;
        EXPECT_EQ(change.fitToText, c.fit) << c.remove << " +" << c.add;
        EXPECT_EQ(change.repaint, c.repaint) << c.remove << " +" << c.add;
    }
}

} // namespace
