// The rejoin script's bytes: a handful of scripts kept under tests/engine/golden/.
//
// After a change that alters them on purpose, rewrite them and read the difference:
//   PARCELOR_REWRITE_GOLDEN=1 build/native/tests/engine/engine_tests --gtest_filter='GoldenScripts.*'
//   git diff tests/engine/golden
#include "EngineTestSupport.h"

#include "split/RejoinScript.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Digests that show which piece a line names: the piece's number at the end.
SplitDigests digestsOf(int pieceCount)
{
    SplitDigests digests{{}, std::string(64, 'f')};
    for (int k = 1; k <= pieceCount; ++k)
        digests.pieces.push_back(std::string(61, 'a') + std::to_string(100 + k % 900));
    return digests;
}

// The line number and the two texts of the first line where got and want differ.
std::string firstDifference(const std::string& got, const std::string& want)
{
    std::size_t at = 0, line = 1;
    while (at < got.size() && at < want.size() && got[at] == want[at])
        line += got[at++] == '\n';
    auto lineAt = [at](const std::string& text) {
        const std::size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
        const std::size_t from = start == std::string::npos ? 0 : start + 1;
        return text.substr(from, text.find('\n', from) - from);
    };
    return "line " + std::to_string(line) + "\n  made: " + lineAt(got) + "\n  kept: " + lineAt(want);
}

} // namespace

TEST(GoldenScripts, TheGeneratorMakesTheBytesKept)
{
    struct Case {
        const char* file;
        RejoinNames names;
        int pieceCount;
        std::int64_t pieceSize, fileLength;
        bool shiftJis = false;
    };
    // ソフト 表.zip in code page 932: 表 is 95 5C, its second byte a backslash's.
    const std::string sjis = "\x83\x5c\x83\x74\x83\x67 \x95\x5c", utf8 = "ソフト 表";
    const std::string hostile = "it's $(x) `y` & 100% sure! (a+b),c;d=e^f";
    const Case cases[] = {
        {"ordinary.bat", {"REPORT.V2", "REPORT.V2.DOC", "REPORT.V2", "REPORT.V2.DOC"}, 4, 1000, 3500},
        {"hostile.bat", {hostile, hostile + ".txt", hostile, hostile + ".txt"}, 3, 1000, 2500},
        {"one-piece.bat", {"README", "README", "README", "README"}, 1, 1457664, 700},
        {"999-pieces.bat", {"big", "big.zip", "big", "big.zip"}, 999, 1457664, 1456206000},
        {"empty.bat", {"empty", "empty.txt", "empty", "empty.txt"}, 1, 1457664, 0},
        {"double-byte.bat", {sjis, sjis + ".zip", utf8, utf8 + ".zip"}, 2, 1457664, 2000000, true},
        // Pieces of 999 MB: sizes past 4 GiB, which cmd compares as text, also as their low 32 bits.
        {"past-4-gib.bat", {"huge", "huge.img", "huge", "huge.img"}, 5, 1047527424, 5000000001},
    };
    const fs::path golden = fs::path(PARCELOR_SOURCE_DIR) / "tests/engine/golden";
    const bool rewrite = std::getenv("PARCELOR_REWRITE_GOLDEN") != nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string made = c.shiftJis
            ? rejoinScriptText(c.names, c.pieceCount, c.pieceSize, c.fileLength, digestsOf(c.pieceCount),
                               ShiftJisCodePage())
            : rejoinScriptText(c.names, c.pieceCount, c.pieceSize, c.fileLength, digestsOf(c.pieceCount));
        if (rewrite)
            writeFile((golden / c.file).string(), made);
        const std::string kept = readFile((golden / c.file).string());
        EXPECT_TRUE(made == kept) << firstDifference(made, kept);
    }
}
