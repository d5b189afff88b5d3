// The quoting rules of the rejoin script, one row per rule, and the names the script cannot hold.
#include "EngineTestSupport.h"

#include "split/ScriptQuoting.h"
#include "split/SplitChecks.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    std::string name, expected;
};

// タ 83 5E, ポ 83 7C, 表 95 5C in code page 932: second bytes with the values of ^ | and \.
const std::string Ta = "\x83\x5E", Po = "\x83\x7C", Hyou = "\x95\x5C";

} // namespace

TEST(ScriptQuoting, CommandArguments)
{
    const Row rows[] = {
        {"REPORT.V2.DOC", "REPORT.V2.DOC"}, // nothing to quote
        {"my file.zip", "\"my file.zip\""}, // a blank splits arguments
        {"A&B (1).doc", "\"A&B (1).doc\""}, // & ( ) are cmd's
        {"x^y", "\"x^y\""},                 // ^ escapes
        {"a+b,c;d=e", "\"a+b,c;d=e\""},     // + joins files; , ; = split
        {"100% sure", "\"100%% sure\""},    // % expands, even between quotes
        {"a\xFF"
         "b",
         "\"a\xFF"
         "b\""},            // 0xFF, which cmd takes for a blank
        {"it's!", "it's!"}, // ' and ! are nothing to cmd
    };
    for (const Row& row : rows)
        EXPECT_EQ(cmdArgument(row.name, SameCodePage()), row.expected) << row.name;
    // Whole characters of code page 932: none of these second bytes is a ^ or a |.
    const ShiftJisCodePage sjis;
    EXPECT_EQ(cmdArgument(Ta + Po + ".doc", sjis), Ta + Po + ".doc");
    EXPECT_EQ(cmdArgument(Ta + "&calc.txt", sjis), "\"" + Ta + "&calc.txt\"");
}

TEST(ScriptQuoting, EchoLines)
{
    const Row rows[] = {
        {"plain.txt", "plain.txt"},  {"A&B (1).doc", "A^&B ^(1^).doc"},      {"x^y|z<a>b", "x^^y^|z^<a^>b"},
        {"100% sure", "100%% sure"}, {"a+b,c;d=e! it's", "a+b,c;d=e! it's"}, // nothing to cmd in an echo line
    };
    for (const Row& row : rows)
        EXPECT_EQ(echoText(row.name, SameCodePage()), row.expected) << row.name;
    const ShiftJisCodePage sjis;
    EXPECT_EQ(echoText(Ta + "&" + Po + Hyou + " (1%)", sjis), Ta + "^&" + Po + Hyou + " ^(1%%^)");
}

TEST(ScriptQuoting, PercentsAndQuotes)
{
    EXPECT_EQ(percentsDoubled("50%f off", SameCodePage()), "50%%f off");
    EXPECT_EQ(cmdQuoted("plain", SameCodePage()), "\"plain\"");
    EXPECT_EQ(cmdQuoted("100% (x)", SameCodePage()), "\"100%% (x)\"");
}

TEST(ScriptQuoting, ShWords)
{
    const Row words[] = {
        {"my file.zip", "'my file.zip'"},
        {"it's $(x) `y` \\z", "'it'\\''s $(x) `y` \\z'"},
        {"", "''"},
    };
    for (const Row& row : words)
        EXPECT_EQ(shWord(row.name), row.expected) << row.name;
    const Row typed[] = {
        {"big.bat", "big.bat"},
        {"./-x.bat", "./-x.bat"},
        {"./-x y.bat", "'./-x y.bat'"},
        {"caf\xc3\xa9.bat", "'caf\xc3\xa9.bat'"},
    };
    for (const Row& row : typed)
        EXPECT_EQ(shTyped(row.name), row.expected) << row.name;
}

TEST(ScriptQuoting, NamesTheScriptCannotHold)
{
    for (const char* name : {"plain", "my file (1) & 100%", "caf\xe9", "a+b,c;d=e^f"})
        EXPECT_TRUE(canNameInScript(name)) << name;
    for (const char* name : {"a\"b", "a*", "a?", "a<b", "a>b", "a|b", "line\nbreak", "tab\there"})
        EXPECT_FALSE(canNameInScript(name)) << name;
    // Byte by byte, ポ would hold a |, and 83 61 would be 83 41 in another case.
    const ShiftJisCodePage sjis;
    EXPECT_TRUE(canNameInScript(Po, sjis, ScriptCodePage::Side::Script));
    EXPECT_FALSE(canNameInScript(Po, SameCodePage(), ScriptCodePage::Side::Script));
    EXPECT_EQ(scriptClash("\x83\x41", "\x83\x61.bat", sjis), ScriptClash::None);
    EXPECT_EQ(scriptClash("\x83\x41", "\x83\x61.bat", SameCodePage()), ScriptClash::Script);
}
