// Tests of the folder picker's status text.
#include "controls/PathShortening.h"

#include <gtest/gtest.h>

namespace {

// A two-byte code page in miniature: 0x81 leads a character.
bool LeadsAt81(unsigned char byte)
{
    return byte == 0x81;
}

TEST(ShortenPath, KeepsUpTo35AndCutsTheEndBeyond)
{
    const std::string x35(35, 'x');
    const struct {
        std::string path, expected;
    } cases[] = {
        {"", ""},
        {"C:\\", "C:\\"},
        {x35, x35},
        {x35 + "y", x35 + "..."},
        {"C:\\Program Files\\Common Files\\Shared Tools", "C:\\Program Files\\Common Files\\Share..."},
        {std::string(300, 'z'), std::string(35, 'z') + "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenPath(c.path), c.expected) << c.path;
}

TEST(ShortenPath, NeverShowsHalfATwoByteCharacter)
{
    const std::string a34(34, 'a'), a33(33, 'a');
    const std::string pair = "\x81\x41";
    const struct {
        std::string path, expected;
    } cases[] = {
        // The character at 34 and 35 straddles the cut: it goes whole.
        {a34 + pair + "b", a34 + "..."},
        // The character at 33 and 34 ends at the cut: it stays.
        {a33 + pair + "bc", a33 + pair + "..."},
        // Trail bytes that look like lead bytes: 17 pairs fill 34 bytes,
        // then a pair straddles the cut.
        {[] {
             std::string s;
             for (int i = 0; i < 18; ++i)
                 s += "\x81\x81";
             return s;
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 17; ++i)
                 s += "\x81\x81";
             return s + "...";
         }()},
        // At most 35 bytes is shown whole whatever the bytes are.
        {a34 + "\x81", a34 + "\x81"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenPath(c.path, LeadsAt81), c.expected) << c.path;
    // The single-byte default cuts at 35 regardless.
    EXPECT_EQ(ShortenPath(a34 + pair + "b"), a34 + "\x81...");
}

} // namespace
