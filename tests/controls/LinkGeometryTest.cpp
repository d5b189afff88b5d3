// Tests of the hyperlink's fitting to its caption and of its hover tracking.
#include "controls/LinkGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(FitPlacement, KeepsTheAlignedEdgeAndTheBorder)
{
    // A window of 200 x 20 at (10, 30) with a one-pixel border all round.
    const LinkRect window{10, 30, 210, 50};
    const LinkRect client{0, 0, 198, 18};
    const TextExtent text{81, 13};
    const std::uint32_t centreImage = StaticCentreImage;
    const struct {
        std::uint32_t style;
        LinkPlacement expected;
    } cases[] = {
        {0, {10, 30, 83, 15}},            // SS_LEFT: top-left stays
        {StaticRight, {129, 30, 83, 15}}, // right edge stays at 210
        {StaticCentre, {69, 30, 84, 15}}, // d = 119 / 2 = 59 both sides
        {centreImage, {10, 33, 83, 16}},  // d = 7 / 2 = 3 top and bottom
        {StaticCentre | centreImage, {69, 33, 84, 16}},
        {0x0C, {10, 30, 83, 15}},                 // SS_LEFTNOWORDWRAP
        {0x0B, {10, 30, 83, 15}},                 // SS_SIMPLE draws left: stays left
        {0x03, {10, 30, 83, 15}},                 // other types: not centred
        {StaticRight | 0x100, {129, 30, 83, 15}}, // other bits do not matter
    };
    for (const auto& c : cases) {
        LinkPlacement p = FitPlacement(window, client, text, c.style);
        EXPECT_EQ(p.x, c.expected.x) << "style " << c.style;
        EXPECT_EQ(p.y, c.expected.y) << "style " << c.style;
        EXPECT_EQ(p.width, c.expected.width) << "style " << c.style;
        EXPECT_EQ(p.height, c.expected.height) << "style " << c.style;
    }
}

TEST(FitPlacement, ALargerCaptionWidensBothSidesTruncatingTowardZero)
{
    // Window 10 x 6 at (-5, -3), no border; caption 15 x 11.
    const LinkRect window{-5, -3, 5, 3};
    const LinkRect client{0, 0, 10, 6};
    LinkPlacement p = FitPlacement(window, client, {15, 11}, StaticCentre | StaticCentreImage);
    // d = -5 / 2 = -2 (not -3) both ways: each side moves out by 2, so the
    // window ends one pixel short of the caption.
    EXPECT_EQ(p.x, -7);
    EXPECT_EQ(p.y, -5);
    EXPECT_EQ(p.width, 14);
    EXPECT_EQ(p.height, 10);
}

TEST(FitPlacement, ExtremeInputsClampInsteadOfOverflowing)
{
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    LinkPlacement p = FitPlacement({0, 0, big, 10}, {0, 0, 10, 10}, {big, 10}, StaticRight);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.width, big); // big + (big - 10) does not fit
}

TEST(TrackHover, EntersAnywhereLeavesOutsideTheClientRectangle)
{
    const LinkRect client{0, 0, 80, 14};
    const struct {
        bool hovering;
        LinkPoint pointer;
        HoverStep expected;
    } cases[] = {
        {false, {5, 5}, {true, true, false, true}},
        {false, {500, -5}, {true, true, false, true}},
        {true, {5, 5}, {true, false, false, false}},
        {true, {0, 0}, {true, false, false, false}},
        {true, {79, 13}, {true, false, false, false}},
        {true, {80, 5}, {false, false, true, true}}, // right edge is outside
        {true, {5, 14}, {false, false, true, true}}, // bottom edge is outside
        {true, {-1, 5}, {false, false, true, true}},
        {true, {5, -1}, {false, false, true, true}},
    };
    for (const auto& c : cases) {
        HoverStep step = TrackHover(c.hovering, c.pointer, client);
        EXPECT_EQ(step.hovering, c.expected.hovering) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(step.capture, c.expected.capture) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(step.release, c.expected.release) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(step.repaint, c.expected.repaint) << c.pointer.x << "," << c.pointer.y;
    }
}

} // namespace
