// The rejoin script, byte for byte, and how it writes names that cmd would misread.
#include "EngineTestSupport.h"

#include "split/RejoinScript.h"
#include "split/SplitChecks.h"

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

const std::string UnderCmd = "if \"%OS%\"==\"Windows_NT\" ";
const std::string Check = UnderCmd + "if errorlevel 1 goto failed";

std::string presence(const std::string& piece)
{
    return crlf({"if not exist " + piece + " echo The piece " + piece +
                     " is missing: copy it into this folder and run this script again.",
                 "if not exist " + piece + " goto notcreated"});
}

// The size check of a piece named piece in commands and shown in messages.
std::string sizeCheck(const std::string& piece, const std::string& shown, const std::string& size)
{
    const std::string unless = UnderCmd + "if not \"%ParcelorSize%\"==\"" + size + "\" ";
    const std::string folder = "\"%ParcelorKind:~0,1%\"==\"d\" ";
    return crlf({UnderCmd + "for %%f in (" + piece + ") do set ParcelorSize=%%~zf",
                 unless + "for %%f in (" + piece + ") do set ParcelorKind=%%~af",
                 unless + "if " + folder + "echo The piece " + shown +
                     " is a folder, not a file: copy the piece itself into this folder and run this script again.",
                 unless + "if not " + folder + "echo The piece " + shown + " has %ParcelorSize% bytes instead of " +
                     size + ": copy it again and run this script again.",
                 unless + "goto notcreated"});
}

std::string sizeCheck(const std::string& piece, const std::string& size) { return sizeCheck(piece, piece, size); }

// Digests that show which piece a line names.
std::string pieceDigest(int number) { return std::string(61, 'a') + std::to_string(100 + number % 900); }
const std::string FileDigest(64, 'f');

SplitDigests digests(int pieceCount)
{
    SplitDigests digests{{}, FileDigest};
    for (int k = 1; k <= pieceCount; ++k)
        digests.pieces.push_back(pieceDigest(k));
    return digests;
}

std::string script(const std::string& baseName, const std::string& fileName, int pieceCount,
                   std::int64_t pieceSize, std::int64_t fileLength)
{
    return rejoinScriptText({baseName, fileName, baseName, fileName}, pieceCount, pieceSize, fileLength,
                            digests(pieceCount));
}

std::string hashOf(const std::string& name)
{
    return crlf({UnderCmd + "set \"ParcelorFile=%ParcelorFolder%" + name + "\"", UnderCmd + "call :hash"});
}

std::string unlessDigest(const std::string& digest)
{
    return UnderCmd + "if defined ParcelorHash if not \"%ParcelorHash%\"==\"" + digest + "\" ";
}

// The start of the joining part: nothing is joined over a file already there.
std::string joining(const std::string& count)
{
    return crlf({"if exist REPORT.V2.DOC goto present", ":joinpieces", UnderCmd + "copy nul parcelor.tmp > nul 2> nul",
                 UnderCmd + "if not exist parcelor.tmp goto readonly", "echo Joining " + count + " . . ."});
}

// The script up to the routine that asks certutil, which it ends with.
std::string beforeRoutine(const std::string& script) { return script.substr(0, script.find("\r\n:hash\r\n") + 2); }

// The script up to its first way out, :notcreated.
std::string beforeFailures(const std::string& script)
{
    return script.substr(0, script.find("\r\n:notcreated\r\n") + 2);
}

// What follows the copies for a file shown as name, of length bytes: the
// scratch file's size and its one SHA-256, the rename, then success.
std::string tail(const std::string& name, const std::string& length)
{
    return crlf({UnderCmd + "for %%f in (parcelor.tmp) do set ParcelorSize=%%~zf",
                 UnderCmd + "if not \"%ParcelorSize%\"==\"" + length + "\" goto wrongsize",
                 UnderCmd + "echo Checking the SHA-256 of the file . . ."}) +
           hashOf("parcelor.tmp") +
           crlf({unlessDigest(FileDigest) + "goto damaged",
                 UnderCmd + "if \"%ParcelorHash%\"==\"" + FileDigest + "\" set /a ParcelorMatched+=1 > nul",
                 UnderCmd + "if defined ParcelorReplace goto replace", "ren parcelor.tmp " + name, Check,
                 "if not exist " + name + " goto notcreated", "echo The file " + name + " was successfully created.",
                 UnderCmd + "if \"%ParcelorMatched%\"==\"1\" echo Its size and SHA-256, and those of every piece, "
                            "match the original's.",
                 UnderCmd + "if not \"%ParcelorMatched%\"==\"1\" echo Its size and those of every piece match the "
                            "original's; the contents were not checked.",
                 "if not \"%OS%\"==\"Windows_NT\" echo Only the pieces' presence was checked, not their sizes or "
                 "contents.",
                 "echo.", "pause", "", "goto end"});
}

std::string head(const std::string& length)
{
    return crlf({":; eval \"$(awk 'p{sub(/\\r$/,\"\");print}/^:sh\\r?$/{p=1}' \"$0\")\";exit 1 #",
                 "@rem To rebuild REPORT.V2.DOC from its pieces in this folder: on Windows, run REPORT.V2.bat;",
                 "@rem on Linux or macOS, run: sh REPORT.V2.bat", "@rem File: REPORT.V2.DOC",
                 "@rem Size: " + length + " bytes", "@rem SHA-256: " + FileDigest, "@echo off",
                 UnderCmd + "setlocal EnableExtensions DisableDelayedExpansion",
                 UnderCmd + "set \"ParcelorFolder=%~dp0\"", UnderCmd + "pushd \"%~dp0\"",
                 UnderCmd + "if errorlevel 1 goto nofolder", UnderCmd + "set COPYCMD=/Y",
                 UnderCmd + "set ParcelorDamaged=", UnderCmd + "set ParcelorUnchecked=",
                 UnderCmd + "set ParcelorReplace=", UnderCmd + "set ParcelorMatched=0",
                 "echo The file REPORT.V2.DOC is now being created . . .", "echo.", "echo Checking the pieces . . .",
                 "if exist parcelor.tmp del parcelor.tmp"});
}

// The lines of script without their CR LF ends; fails the test on a bare LF.
std::vector<std::string> linesOf(const std::string& script)
{
    std::istringstream in(script);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(!line.empty() && line.back() == '\r') << "every line ends in CR LF";
        if (!line.empty())
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(RejoinScript, FourPiecesByteForByte)
{
    std::string expected = head("3500") + presence("REPORT.V2.001") + presence("REPORT.V2.002") +
                           presence("REPORT.V2.003") + presence("REPORT.V2.004") +
                           sizeCheck("REPORT.V2.001", "1000") + sizeCheck("REPORT.V2.002", "1000") +
                           sizeCheck("REPORT.V2.003", "1000") + sizeCheck("REPORT.V2.004", "500") +
                           joining("4 pieces") + crlf({"copy /b REPORT.V2.001 + REPORT.V2.002 parcelor.tmp > nul", Check,
                                 "copy /b parcelor.tmp + REPORT.V2.003 parcelor.tmp > nul", Check,
                                 "copy /b parcelor.tmp + REPORT.V2.004 parcelor.tmp > nul", Check}) +
                           tail("REPORT.V2.DOC", "3500");
    EXPECT_EQ(beforeFailures(script("REPORT.V2", "REPORT.V2.DOC", 4, 1000, 3500)), expected);
}

TEST(RejoinScript, OneAndTwoPieces)
{
    EXPECT_EQ(beforeFailures(script("REPORT.V2", "REPORT.V2.DOC", 1, 1457664, 700)),
              head("700") + presence("REPORT.V2.001") + sizeCheck("REPORT.V2.001", "700") + joining("1 piece") +
                  crlf({"copy /b REPORT.V2.001 parcelor.tmp > nul", Check}) + tail("REPORT.V2.DOC", "700"));
    // A last piece of full size.
    EXPECT_EQ(beforeFailures(script("REPORT.V2", "REPORT.V2.DOC", 2, 1457664, 2915328)),
              head("2915328") + presence("REPORT.V2.001") + presence("REPORT.V2.002") +
                  sizeCheck("REPORT.V2.001", "1457664") + sizeCheck("REPORT.V2.002", "1457664") +
                  joining("2 pieces") + crlf({"copy /b REPORT.V2.001 + REPORT.V2.002 parcelor.tmp > nul", Check}) +
                  tail("REPORT.V2.DOC", "2915328"));
    // The one piece of an empty file is empty too: their sizes prove them,
    // and certutil, which fails on an empty file, is never asked.
    const std::string empty = script("empty", "empty.txt", 1, 10, 0);
    EXPECT_EQ(empty.substr(0, empty.find("\r\n:hash\r\n")).find("call :hash"), std::string::npos);
    EXPECT_NE(empty.find(UnderCmd + "if \"%ParcelorMatched%\"==\"0\" echo Its size and SHA-256"), std::string::npos);
}

TEST(RejoinScript, NineHundredNinetyNinePieces)
{
    const std::vector<std::string> lines = linesOf(script("big", "big.zip", 999, 1457664, 1456206000));
    std::vector<std::string> joins, measured, expectedSizes, hashed;
    int presenceLines = 0, localAt = -1, firstMeasureAt = -1, lastPresenceAt = -1, firstCopyAt = -1,
        firstHashedAt = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        if (line.rfind("copy /b parcelor.tmp + ", 0) == 0)
            joins.push_back(line);
        if (line.rfind("if not exist big.", 0) == 0 && line.find("big.zip") == std::string::npos) {
            ++presenceLines;
            lastPresenceAt = i;
        }
        if (line == UnderCmd + "setlocal EnableExtensions DisableDelayedExpansion")
            localAt = i;
        if (line.rfind(UnderCmd + "for %%f in (big.", 0) == 0 && line.find("(big.zip)") == std::string::npos &&
            line.find("ParcelorSize") != std::string::npos) {
            measured.push_back(line.substr(UnderCmd.size() + 12, 7));
            if (firstMeasureAt < 0)
                firstMeasureAt = i;
        }
        const std::string unless = UnderCmd + "if not \"%ParcelorSize%\"==\"";
        if (line.rfind(unless, 0) == 0 && line.find("goto notcreated") != std::string::npos)
            expectedSizes.push_back(line.substr(unless.size(), line.find('"', unless.size()) - unless.size()));
        if (firstCopyAt < 0 && line.rfind("copy ", 0) == 0)
            firstCopyAt = i;
        const std::string digestAt = unlessDigest("").substr(0, unlessDigest("").size() - 2);
        if (line.rfind(digestAt, 0) == 0 && line.find("set ParcelorDamaged=1") != std::string::npos) {
            hashed.push_back(line.substr(digestAt.size(), 64));
            if (firstHashedAt < 0)
                firstHashedAt = i - 3;
        }
    }
    ASSERT_EQ(joins.size(), 997u);
    EXPECT_EQ(joins.front(), "copy /b parcelor.tmp + big.003 parcelor.tmp > nul");
    EXPECT_EQ(joins[6], "copy /b parcelor.tmp + big.009 parcelor.tmp > nul");
    EXPECT_EQ(joins[7], "copy /b parcelor.tmp + big.010 parcelor.tmp > nul");
    EXPECT_EQ(joins[96], "copy /b parcelor.tmp + big.099 parcelor.tmp > nul");
    EXPECT_EQ(joins[97], "copy /b parcelor.tmp + big.100 parcelor.tmp > nul");
    EXPECT_EQ(joins.back(), "copy /b parcelor.tmp + big.999 parcelor.tmp > nul");
    EXPECT_EQ(presenceLines, 2 * 999);
    // Every piece is present before any is measured and measured before the
    // first copy; pieces are hashed only once the file's digest failed.
    EXPECT_LT(localAt, lastPresenceAt);
    EXPECT_EQ(lastPresenceAt + 1, firstMeasureAt);
    ASSERT_EQ(measured.size(), 999u);
    ASSERT_EQ(expectedSizes.size(), 999u);
    EXPECT_EQ(measured.front(), "big.001");
    EXPECT_EQ(measured.back(), "big.999");
    EXPECT_EQ(std::count(expectedSizes.begin(), expectedSizes.end(), "1457664"), 998);
    EXPECT_EQ(expectedSizes.back(), "1457328");  // 1,456,206,000 - 998 x 1,457,664
    ASSERT_EQ(hashed.size(), 999u);
    EXPECT_EQ(hashed.front(), pieceDigest(1));
    EXPECT_EQ(hashed.back(), pieceDigest(999));
    EXPECT_EQ(firstCopyAt, firstMeasureAt + 5 * 999 + 5);
    EXPECT_GT(firstHashedAt, firstCopyAt);
    EXPECT_EQ(lines[static_cast<std::size_t>(firstHashedAt) - 3], ":damaged");
    EXPECT_EQ(lines[static_cast<std::size_t>(firstCopyAt)], "copy /b big.001 + big.002 parcelor.tmp > nul");
}

TEST(RejoinScript, SizesPastTwoAndFourGigabytesAsDigits)
{
    // 999 MB pieces: 3,000,000,000 bytes need no more than 32 unsigned bits;
    // 5,000,000,001 bytes are also accepted as their low 32 bits, 705,032,705;
    // exactly 4 GiB never as 0.
    struct Case {
        int pieceCount;
        std::int64_t fileLength;
        std::string lastPiece, fileCheck;
    };
    const std::string unless = UnderCmd + "if not \"%ParcelorSize%\"==";
    const Case cases[] = {
        {3, 3000000000, "904945152", unless + "\"3000000000\" goto wrongsize"},
        {5, 5000000001, "809890305",
         unless + "\"5000000001\" if not \"%ParcelorSize%\"==\"705032705\" goto wrongsize"},
        {5, 4294967296, "104857600", unless + "\"4294967296\" goto wrongsize"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileLength);
        const std::string script = ::script("huge", "huge.img", c.pieceCount, 1047527424, c.fileLength);
        const std::string last = "huge.00" + std::to_string(c.pieceCount);
        EXPECT_NE(script.find(sizeCheck(last, c.lastPiece)), std::string::npos);
        EXPECT_NE(script.find(sizeCheck("huge.001", "1047527424")), std::string::npos);
        EXPECT_NE(script.find("\r\n" + c.fileCheck + "\r\n" + UnderCmd + "echo Checking the SHA-256 of the file . . .\r\n" +
                              hashOf("parcelor.tmp")),
                  std::string::npos);
        EXPECT_NE(script.find("bytes instead of " + std::to_string(c.fileLength) + ": it was not created correctly."),
                  std::string::npos);
    }
}

TEST(RejoinScript, NamesThatCmdWouldMisread)
{
    struct Case {
        std::string baseName, fileName, firstCopy, rename, announced, shownPiece;
    };
    const Case cases[] = {
        {"README", "README", "copy /b README.001 parcelor.tmp > nul", "ren parcelor.tmp README",
         "echo The file README is now being created . . .", "README.001"},
        {"my file", "my file.zip", "copy /b \"my file.001\" parcelor.tmp > nul",
         "ren parcelor.tmp \"my file.zip\"", "echo The file my file.zip is now being created . . .",
         "my file.001"},
        {"A&B", "A&B.doc", "copy /b \"A&B.001\" parcelor.tmp > nul", "ren parcelor.tmp \"A&B.doc\"",
         "echo The file A^&B.doc is now being created . . .", "A^&B.001"},
        {"100%", "100%.txt", "copy /b \"100%%.001\" parcelor.tmp > nul", "ren parcelor.tmp \"100%%.txt\"",
         "echo The file 100%%.txt is now being created . . .", "100%%.001"},
        // Looks like the loop variable %f: it must stay out of the loop's body.
        {"50%f", "50%f.txt", "copy /b \"50%%f.001\" parcelor.tmp > nul", "ren parcelor.tmp \"50%%f.txt\"",
         "echo The file 50%%f.txt is now being created . . .", "50%%f.001"},
        {"x^y", "x^y", "copy /b \"x^y.001\" parcelor.tmp > nul", "ren parcelor.tmp \"x^y\"",
         "echo The file x^^y is now being created . . .", "x^^y.001"},
        {"song (live)", "song (live).mp3", "copy /b \"song (live).001\" parcelor.tmp > nul",
         "ren parcelor.tmp \"song (live).mp3\"",
         "echo The file song ^(live^).mp3 is now being created . . .", "song ^(live^).001"},
        // + would join, , ; = would split the argument.
        {"a+b", "a+b.c", "copy /b \"a+b.001\" parcelor.tmp > nul", "ren parcelor.tmp \"a+b.c\"",
         "echo The file a+b.c is now being created . . .", "a+b.001"},
        {"a,b;c=d", "a,b;c=d", "copy /b \"a,b;c=d.001\" parcelor.tmp > nul", "ren parcelor.tmp \"a,b;c=d\"",
         "echo The file a,b;c=d is now being created . . .", "a,b;c=d.001"},
        // A no-break space of code page 1252 is 0xFF in OEM 437 and 850: cmd takes it for a blank.
        {"a\xFF" "b", "a\xFF" "b", "copy /b \"a\xFF" "b.001\" parcelor.tmp > nul", "ren parcelor.tmp \"a\xFF" "b\"",
         "echo The file a\xFF" "b is now being created . . .", "a\xFF" "b.001"},
    };
    auto between = [](const std::string& text, const std::string& before, const std::string& after) {
        std::size_t start = text.find(before) + before.size();
        return text.substr(start, text.rfind(after) - start);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        std::string script = ::script(c.baseName, c.fileName, 1, 100, 42);
        EXPECT_NE(script.find("\r\n" + c.firstCopy + "\r\n"), std::string::npos);
        EXPECT_NE(script.find("\r\n" + c.rename + "\r\n"), std::string::npos);
        EXPECT_NE(script.find("\r\n" + c.announced + "\r\n"), std::string::npos);
        // The size checks name the piece and the file as the copies do, and show them as the echo lines do.
        const std::string piece = between(c.firstCopy, "copy /b ", " parcelor.tmp");
        const std::string file = c.rename.substr(std::string("ren parcelor.tmp ").size());
        EXPECT_NE(script.find("\r\n" + sizeCheck(piece, c.shownPiece, "42")), std::string::npos);
        EXPECT_NE(script.find("\r\n" + UnderCmd + "for %%f in (" + file + ") do set ParcelorSize=%%~zf\r\n"),
                  std::string::npos);
    }
}

TEST(RejoinScript, NamesTheScriptCannotHold)
{
    for (const char* name : {"plain", "my file (1) & 100%", "caf\xe9", "a+b,c;d=e^f"})
        EXPECT_TRUE(canNameInScript(name)) << name;
    for (const char* name : {"a\"b", "a*", "a?", "a<b", "a>b", "a|b", "line\nbreak", "tab\there"})
        EXPECT_FALSE(canNameInScript(name)) << name;
}

TEST(RejoinScript, LinesTooLongForCommandComJoinOnlyUnderCmd)
{
    // COMMAND.COM cuts its lines after 127 characters; with two pieces the
    // longest is "copy /b NAME.001 + NAME.002 parcelor.tmp > nul", 2 x 44 + 38.
    const std::string guard = "@echo off\r\nif not \"%OS%\"==\"Windows_NT\" goto needsnt\r\n";
    const std::string told = crlf({":needsnt",
                                   "echo This script needs Windows NT or later: its lines are too long for this "
                                   "command interpreter.",
                                   "echo.", "pause", "goto done"});
    for (std::size_t length : {44, 45}) {
        SCOPED_TRACE(length);
        const std::string name(length, 'n');
        const std::string text = beforeRoutine(script(name, name + ".bin", 2, 100, 150));
        EXPECT_EQ(text.find(guard) != std::string::npos, length == 45);
        EXPECT_EQ(text.size() > told.size() && text.compare(text.size() - told.size(), told.size(), told) == 0,
                  length == 45);
    }
}

TEST(RejoinScript, NamesOfCodePage932OnWholeCharacters)
{
    // タ 83 5E, ポ 83 7C, 表 95 5C: second bytes with the values of ^ | and \.
    const ShiftJisCodePage sjis;
    struct Case {
        std::string name, argument, shown;
    };
    const std::string report = "\x83\x8C\x83\x7C\x81\x5B\x83\x67.doc";
    const Case cases[] = {
        {"\x83\x5E&calc.txt", "\"\x83\x5E&calc.txt\"", "\x83\x5E^&calc.txt"},
        {report, report, report},
        {"\x95\x5C (1%).zip", "\"\x95\x5C (1%%).zip\"", "\x95\x5C ^(1%%^).zip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_TRUE(canNameInScript(c.name, sjis, ScriptCodePage::Side::Script));
        const std::string text = rejoinScriptText({"x", c.name, "x", c.name}, 1, 100, 42, digests(1), sjis);
        EXPECT_NE(text.find("\r\nren parcelor.tmp " + c.argument + "\r\n"), std::string::npos);
        EXPECT_NE(text.find("\r\necho The file " + c.shown + " is now being created . . .\r\n"), std::string::npos);
    }
    // Byte by byte, ポ would hold a | and 83 61 would be 83 41 in another case.
    EXPECT_FALSE(canNameInScript(report, SameCodePage(), ScriptCodePage::Side::Script));
    EXPECT_EQ(scriptClash("\x83\x41", "\x83\x61.bat", sjis), ScriptClash::None);
    EXPECT_EQ(scriptClash("\x83\x41", "\x83\x61.bat", SameCodePage()), ScriptClash::Script);
}
