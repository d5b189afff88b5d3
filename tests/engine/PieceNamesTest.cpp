// The names of pieces and script derived from the file path.
#include "EngineTestSupport.h"

#include "split/PieceNames.h"
#include "split/SplitChecks.h"

#include <gtest/gtest.h>

TEST(PieceNames, DerivedFromThePath)
{
    struct Case {
        std::string filePath, directory;
        PieceNames expected;
    };
    const Case cases[] = {
        {"C:\\DOCS\\REPORT.V2.DOC",
         "D:\\PIECES",
         {"C:\\DOCS\\REPORT.V2", "REPORT.V2", "REPORT.V2.DOC", "D:\\PIECES\\REPORT.V2"}},
        {"C:\\DOCS\\REPORT.V2.DOC",
         "D:\\PIECES\\",
         {"C:\\DOCS\\REPORT.V2", "REPORT.V2", "REPORT.V2.DOC", "D:\\PIECES\\REPORT.V2"}},
        {"C:\\DOCS\\README", "D:", {"C:\\DOCS\\README", "README", "README", "D:\\README"}},
        // The last dot is looked for in the whole path, folders included.
        {"C:\\OLD.DIR\\README", "D:\\P", {"C:\\OLD", "OLD", "README", "D:\\P\\OLD"}},
        {"big.zip", "D:\\P", {"big", "big", "big.zip", "D:\\P\\big"}},
        // A forward slash is an ordinary character.
        {"C:\\a/b\\c/d.txt", "D:\\P", {"C:\\a/b\\c/d", "c/d", "c/d.txt", "D:\\P\\c/d"}},
        {"C:\\my files\\holiday (1).avi",
         "E:\\",
         {"C:\\my files\\holiday (1)", "holiday (1)", "holiday (1).avi", "E:\\holiday (1)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filePath);
        PieceNames names = derivePieceNames(c.filePath, c.directory, '\\');
        EXPECT_EQ(names.stem, c.expected.stem);
        EXPECT_EQ(names.baseName, c.expected.baseName);
        EXPECT_EQ(names.fileName, c.expected.fileName);
        EXPECT_EQ(names.piecePrefix, c.expected.piecePrefix);
    }
}

TEST(PieceNames, SlashSeparatorOnThisPlatform)
{
    PieceNames names = derivePieceNames("/home/u/big.tar.gz", "/mnt/stick", '/');
    EXPECT_EQ(names.baseName, "big.tar");
    EXPECT_EQ(names.fileName, "big.tar.gz");
    EXPECT_EQ(names.piecePrefix, "/mnt/stick/big.tar");
}

TEST(PieceNames, NumbersAndPaths)
{
    const std::pair<int, const char*> numbers[] = {{1, "001"},  {9, "009"},   {10, "010"}, {42, "042"},
                                                   {99, "099"}, {100, "100"}, {999, "999"}};
    for (const auto& [number, text] : numbers)
        EXPECT_EQ(pieceNumberText(number), text);
    EXPECT_EQ(piecePath("D:\\PIECES\\REPORT.V2", 1), "D:\\PIECES\\REPORT.V2.001");
    EXPECT_EQ(scriptPath("D:\\PIECES\\REPORT.V2"), "D:\\PIECES\\REPORT.V2.bat");
}

TEST(PieceNames, DeviceNamesInAnyFolder)
{
    for (const char* name :
         {"nul", "NUL.bin", "con", "Prn.txt", "aux.tar.gz", "com1", "COM9.x", "lpt1", "Lpt9 .doc", "nul "})
        EXPECT_TRUE(isDeviceName(name)) << name;
    for (const char* name : {"null", "nul1", "com0", "com10", "lpt", "a.nul", "console.txt", "", ".con"})
        EXPECT_FALSE(isDeviceName(name)) << name;
}

TEST(PieceNames, WholeCharactersOfCodePage932)
{
    // C:\表\ソフト 表.zip into D:\表, whose 表 (95 5C) and ソ (83 5C) end in a backslash's value.
    const ShiftJisCodePage sjis;
    const std::string hyou = "\x95\x5C", base = "\x83\x5C\x83\x74\x83\x67 " + hyou;
    PieceNames names = derivePieceNames("C:\\" + hyou + "\\" + base + ".zip", "D:\\" + hyou, '\\', sjis);
    EXPECT_EQ(names.stem, "C:\\" + hyou + "\\" + base);
    EXPECT_EQ(names.baseName, base);
    EXPECT_EQ(names.fileName, base + ".zip");
    EXPECT_EQ(names.piecePrefix, "D:\\" + hyou + "\\" + base);
    EXPECT_EQ(normaliseDirectory("D:\\" + hyou, '\\', sjis), "D:\\" + hyou);
    EXPECT_EQ(normaliseDirectory("D:\\" + hyou + "\\", '\\', sjis), "D:\\" + hyou);
}
