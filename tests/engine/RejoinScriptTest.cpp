// The rejoin script, byte for byte, and how it writes names that cmd would misread.
#include "split/RejoinScript.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Joins lines with CR LF after each.
std::string crlf(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

const std::string Check = "if \"%OS%\"==\"Windows_NT\" if errorlevel 1 goto failed";

std::string presence(const std::string& piece)
{
    return crlf({"if not exist " + piece + " echo The piece " + piece + " is missing.",
                 "if not exist " + piece + " goto missing"});
}

// What follows the last line of the joining part for a file shown as name.
std::string ending(const std::string& name)
{
    return crlf({"goto end", ":missing", "echo The file " + name + " was not created.", "echo.", "pause",
                 "goto end", ":failed", "if exist parcelor.tmp del parcelor.tmp",
                 "echo A copy failed: the file " + name + " was not created completely.", "echo.", "pause",
                 ":end"});
}

std::string tail(const std::string& name)
{
    return crlf({"copy parcelor.tmp " + name + " > nul", Check, "del parcelor.tmp > nul",
                 "echo The file " + name + " was successfully created.", "echo.", "pause", ""}) +
           ending(name);
}

const std::string Head = crlf({"@echo off", "echo The file REPORT.V2.DOC is now being created . . .", "echo.",
                               "if exist parcelor.tmp del parcelor.tmp"});

} // namespace

TEST(RejoinScript, FourPiecesByteForByte)
{
    std::string expected = Head + presence("REPORT.V2.001") + presence("REPORT.V2.002") +
                           presence("REPORT.V2.003") + presence("REPORT.V2.004") +
                           crlf({"copy /b REPORT.V2.001 + REPORT.V2.002 parcelor.tmp > nul", Check,
                                 "copy /b parcelor.tmp + REPORT.V2.003 parcelor.tmp > nul", Check,
                                 "copy /b parcelor.tmp + REPORT.V2.004 parcelor.tmp > nul", Check}) +
                           tail("REPORT.V2.DOC");
    EXPECT_EQ(rejoinScriptText("REPORT.V2", "REPORT.V2.DOC", 4), expected);
}

TEST(RejoinScript, OneAndTwoPieces)
{
    EXPECT_EQ(rejoinScriptText("REPORT.V2", "REPORT.V2.DOC", 1),
              Head + presence("REPORT.V2.001") + crlf({"copy /b REPORT.V2.001 parcelor.tmp > nul", Check}) +
                  tail("REPORT.V2.DOC"));
    EXPECT_EQ(rejoinScriptText("REPORT.V2", "REPORT.V2.DOC", 2),
              Head + presence("REPORT.V2.001") + presence("REPORT.V2.002") +
                  crlf({"copy /b REPORT.V2.001 + REPORT.V2.002 parcelor.tmp > nul", Check}) +
                  tail("REPORT.V2.DOC"));
}

TEST(RejoinScript, NineHundredNinetyNinePieces)
{
    std::string script = rejoinScriptText("big", "big.zip", 999);
    std::istringstream in(script);
    std::vector<std::string> joins;
    int presenceLines = 0;
    for (std::string line; std::getline(in, line);) {
        ASSERT_FALSE(line.empty()) << "every line ends in CR LF";
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        if (line.rfind("copy /b parcelor.tmp + ", 0) == 0)
            joins.push_back(line);
        if (line.rfind("if not exist big.", 0) == 0)
            ++presenceLines;
    }
    ASSERT_EQ(joins.size(), 997u);
    EXPECT_EQ(joins.front(), "copy /b parcelor.tmp + big.003 parcelor.tmp > nul");
    EXPECT_EQ(joins[6], "copy /b parcelor.tmp + big.009 parcelor.tmp > nul");
    EXPECT_EQ(joins[7], "copy /b parcelor.tmp + big.010 parcelor.tmp > nul");
    EXPECT_EQ(joins[96], "copy /b parcelor.tmp + big.099 parcelor.tmp > nul");
    EXPECT_EQ(joins[97], "copy /b parcelor.tmp + big.100 parcelor.tmp > nul");
    EXPECT_EQ(joins.back(), "copy /b parcelor.tmp + big.999 parcelor.tmp > nul");
    EXPECT_EQ(presenceLines, 2 * 999);
    EXPECT_NE(script.find("copy /b big.001 + big.002 parcelor.tmp > nul\r\n"), std::string::npos);
}

TEST(RejoinScript, NamesThatCmdWouldMisread)
{
    struct Case {
        std::string baseName, fileName, firstCopy, lastCopy, announced;
    };
    const Case cases[] = {
        {"README", "README", "copy /b README.001 parcelor.tmp > nul", "copy parcelor.tmp README > nul",
         "echo The file README is now being created . . ."},
        {"my file", "my file.zip", "copy /b \"my file.001\" parcelor.tmp > nul",
         "copy parcelor.tmp \"my file.zip\" > nul", "echo The file my file.zip is now being created . . ."},
        {"A&B", "A&B.doc", "copy /b \"A&B.001\" parcelor.tmp > nul", "copy parcelor.tmp \"A&B.doc\" > nul",
         "echo The file A^&B.doc is now being created . . ."},
        {"100%", "100%.txt", "copy /b \"100%%.001\" parcelor.tmp > nul", "copy parcelor.tmp \"100%%.txt\" > nul",
         "echo The file 100%%.txt is now being created . . ."},
        {"x^y", "x^y", "copy /b \"x^y.001\" parcelor.tmp > nul", "copy parcelor.tmp \"x^y\" > nul",
         "echo The file x^^y is now being created . . ."},
        {"song (live)", "song (live).mp3", "copy /b \"song (live).001\" parcelor.tmp > nul",
         "copy parcelor.tmp \"song (live).mp3\" > nul",
         "echo The file song ^(live^).mp3 is now being created . . ."},
        // + would join, , ; = would split the argument.
        {"a+b", "a+b.c", "copy /b \"a+b.001\" parcelor.tmp > nul", "copy parcelor.tmp \"a+b.c\" > nul",
         "echo The file a+b.c is now being created . . ."},
        {"a,b;c=d", "a,b;c=d", "copy /b \"a,b;c=d.001\" parcelor.tmp > nul", "copy parcelor.tmp \"a,b;c=d\" > nul",
         "echo The file a,b;c=d is now being created . . ."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        std::string script = rejoinScriptText(c.baseName, c.fileName, 1);
        EXPECT_NE(script.find("\r\n" + c.firstCopy + "\r\n"), std::string::npos);
        EXPECT_NE(script.find("\r\n" + c.lastCopy + "\r\n"), std::string::npos);
        EXPECT_NE(script.find("\r\n" + c.announced + "\r\n"), std::string::npos);
    }
}

TEST(RejoinScript, NamesTheScriptCannotHold)
{
    for (const char* name : {"plain", "my file (1) & 100%", "caf\xe9", "a+b,c;d=e^f"})
        EXPECT_TRUE(canNameInScript(name)) << name;
    for (const char* name : {"a\"b", "a*", "a?", "a<b", "a>b", "a|b", "line\nbreak", "tab\there"})
        EXPECT_FALSE(canNameInScript(name)) << name;
}
