// Tests of the launcher's success test and of the texts of a failed launch.
#include "controls/LaunchErrors.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(LaunchErrorMessage, EveryCodeHasItsExactText)
{
    const struct {
        LaunchCode code;
        const char* text;
    } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not\nbe completed because other DDE transactions\n"
         "were being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {4, "Unknown Error (4) occurred."},
        {25, "Unknown Error (25) occurred."},
        {33, "Unknown Error (33) occurred."},
        {-1, "Unknown Error (-1) occurred."},
        {std::numeric_limits<LaunchCode>::min(), "Unknown Error (-2147483648) occurred."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LaunchErrorMessage(c.code), std::string("Can't open link:\n\n") + c.text) << c.code;
    // Every code without a text of its own from 0 to 32 gets the unknown text.
    for (LaunchCode code : {6, 7, 9, 10, 12, 13, 20, 24})
        EXPECT_EQ(LaunchErrorText(code), "Unknown Error (" + std::to_string(code) + ") occurred.");
}

TEST(IsLaunchSuccess, AboveThirtyTwoUnsigned)
{
    const struct {
        LaunchCode code;
        bool success;
    } cases[] = {{0, false},
                 {31, false},
                 {32, false},
                 {33, true},
                 {42, true},
                 {-1, true},
                 {std::numeric_limits<LaunchCode>::max(), true}};
    for (const auto& c : cases)
        EXPECT_EQ(IsLaunchSuccess(c.code), c.success) << c.code;
}

TEST(LaunchCodeFrom, NarrowingNeverTurnsSuccessIntoFailure)
{
    const struct {
        std::uint64_t raw;
        LaunchCode code;
    } cases[] = {{0, 0}, {31, 31}, {32, 32}, {42, 42}, {0xFFFFFFFFu, -1}, {0x100000000u, 33}, {0x100000002u, 33}};
    for (const auto& c : cases) {
        EXPECT_EQ(LaunchCodeFrom(c.raw), c.code) << c.raw;
        EXPECT_EQ(IsLaunchSuccess(LaunchCodeFrom(c.raw)), c.raw > 32) << c.raw;
    }
}

} // namespace
