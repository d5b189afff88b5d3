// The request checks: their order, their texts and the size limits at their edges.
#include "EngineTestSupport.h"

#include "split/SplitChecks.h"
#include "split/SplitMessages.h"

#include <gtest/gtest.h>

namespace {

const std::string Custom = "Custom size...";

SplitRequest customRequest(const std::string& size, const std::string& unit)
{
    return {"file", "dir", Custom, size, unit};
}

// Answers lookups from a small table of known paths.
class TableHost : public RecordingHost {
public:
    PathKind lookUpPath(const std::string& path) override
    {
        RecordingHost::lookUpPath(path);
        if (path == "C:\\data\\big.zip" || path == "C:\\data\\notes.txt")
            return PathKind::File;
        if (path == "C:\\data" || path == "C:\\pieces" || path == "C:\\pieces\\")
            return PathKind::Directory;
        return PathKind::Missing;
    }
};

} // namespace

TEST(PieceSize, CustomSizesAtTheirLimits)
{
    struct Case {
        std::string size, unit, failure;
        std::int32_t pieceSize;
    };
    const Case cases[] = {
        {"1", "Bytes", "", 1},
        {"999999999", "Bytes", "", 999999999},
        {"0000000001", "Bytes", SplitMessages::TooManyBytes, 0}, // length, not value, counts
        {"999999", "KB", "", 1023998976},
        {"1", "KB", "", 1024},
        {"0001024", "KB", SplitMessages::TooManyKilobytes, 0},
        {"999", "MB", "", 1047527424},
        {"0999", "MB", SplitMessages::TooManyMegabytes, 0},
        {"9999999", "MB", SplitMessages::TooManyMegabytes, 0}, // only the MB rule applies
        {"001", "MB", "", 1048576},
        {"", "Bytes", SplitMessages::NoCustomSize, 0},
        {" 1", "Bytes", SplitMessages::SizeNotWhole, 0},
        {"+1", "Bytes", SplitMessages::SizeNotWhole, 0},
        {"1.5", "MB", SplitMessages::SizeNotWhole, 0},
        {"1,000", "Bytes", SplitMessages::SizeNotWhole, 0},
        {"12a", "KB", SplitMessages::SizeNotWhole, 0},
        {"0", "Bytes", SplitMessages::SizeZero, 0},
        {"000", "MB", SplitMessages::SizeZero, 0},
        {"5", "GB", SplitMessages::UnknownUnit, 0},
        {"5", "", SplitMessages::UnknownUnit, 0},
        {"5", "kb", SplitMessages::UnknownUnit, 0},  // units compare exactly
        {"x", "GB", SplitMessages::SizeNotWhole, 0}, // digits before the unit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size + " " + c.unit);
        SizeCheck check = checkPieceSize(customRequest(c.size, c.unit));
        EXPECT_EQ(check.failure, c.failure);
        if (c.failure.empty()) {
            EXPECT_EQ(check.pieceSize, c.pieceSize);
        }
    }
}

TEST(PieceSize, PresetIgnoresTheCustomFields)
{
    for (const char* size : {"", "abc", "0", "99999999999"}) {
        SizeCheck check = checkPieceSize({"file", "dir", PresetSizeChoice, size, "nonsense"});
        EXPECT_EQ(check.failure, "");
        EXPECT_EQ(check.pieceSize, 1457664);
    }
    // Any other choice, even a near miss of the preset, is a custom size.
    EXPECT_EQ(checkPieceSize({"f", "d", "1.44 mb floppy", "", "Bytes"}).failure, SplitMessages::NoCustomSize);
}

TEST(PieceSize, ChunksAndCounts)
{
    EXPECT_EQ(chunkSizeFor(1), 1);
    EXPECT_EQ(chunkSizeFor(91104), 91104);
    EXPECT_EQ(chunkSizeFor(91105), 91104);
    EXPECT_EQ(chunkSizeFor(1047527424), 91104);

    struct Case {
        std::int64_t length;
        std::int32_t pieceSize;
        std::int64_t count;
    };
    const Case cases[] = {
        {0, 1457664, 1}, // an empty file still gives one empty piece
        {1, 1457664, 1},
        {1457664, 1457664, 1},
        {1457665, 1457664, 2},
        {3000000, 1457664, 3},
        {999LL * 1457664, 1457664, 999},
        {999LL * 1457664 + 1, 1457664, 1000},
        {999LL * 1047527424, 1047527424, 999}, // far past 32 bits
        {999LL * 1047527424 + 1, 1047527424, 1000},
        {(1LL << 31) + 10, 1047527424, 3},
        {5LL << 30, 1457664, 3684},
    };
    for (const Case& c : cases)
        EXPECT_EQ(countPieces(c.length, c.pieceSize), c.count) << c.length << " / " << c.pieceSize;
}

TEST(RequestChecks, FirstFailingCheckInOrder)
{
    struct Case {
        SplitRequest request;
        std::string failure;
        std::vector<std::string> lookups;
    };
    const std::string zip = "C:\\data\\big.zip";
    const Case cases[] = {
        {{"", "", Custom, "", ""}, SplitMessages::NoFile, {}},
        {{"C:\\data\\gone.zip", "", Custom, "", ""}, SplitMessages::FileNotFound, {"look C:\\data\\gone.zip"}},
        // A wildcard would be looked up as a pattern: the name is refused unlooked.
        {{"C:\\data\\holid?y.zip", "", Custom, "", ""},
         SplitMessages::fill(SplitMessages::WildcardInName, {"C:\\data\\holid?y.zip"}),
         {}},
        {{"C:\\data", "C:\\pieces", PresetSizeChoice, "", ""}, SplitMessages::FileNotFound, {"look C:\\data"}},
        {{zip, "", Custom, "", ""}, SplitMessages::NoDirectory, {"look " + zip}},
        {{zip, "C:\\gone\\", PresetSizeChoice, "", ""},
         SplitMessages::DirectoryNotFound,
         {"look " + zip, "look C:\\gone"}},
        {{zip, "C:\\data\\notes.txt", PresetSizeChoice, "", ""},
         SplitMessages::DirectoryNotFound,
         {"look " + zip, "look C:\\data\\notes.txt"}},
        // A blank is not empty: it is looked up like any name.
        {{" ", "C:\\pieces", PresetSizeChoice, "", ""}, SplitMessages::FileNotFound, {"look  "}},
        {{zip, "C:\\pieces", Custom, "", "Bytes"}, SplitMessages::NoCustomSize, {"look " + zip, "look C:\\pieces"}},
        {{zip, "C:\\pieces", Custom, "-5", "Bytes"}, SplitMessages::SizeNotWhole, {"look " + zip, "look C:\\pieces"}},
        // Two trailing backslashes lose only one.
        {{zip, "C:\\pieces\\\\", PresetSizeChoice, "", ""}, "", {"look " + zip, "look C:\\pieces\\"}},
        {{zip, "C:\\pieces\\", PresetSizeChoice, "", ""}, "", {"look " + zip, "look C:\\pieces"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.filePath + " | " + c.request.pieceDirectory);
        TableHost host;
        SplitPlan plan;
        EXPECT_EQ(checkRequest(c.request, host, plan, '\\'), c.failure);
        EXPECT_EQ(host.calls, c.lookups);
    }
}

TEST(RequestChecks, PlanOfAPassingRequest)
{
    TableHost host;
    SplitPlan plan;
    ASSERT_EQ(checkRequest({"C:\\data\\big.zip", "C:\\pieces\\", Custom, "200000", "Bytes"}, host, plan, '\\'), "");
    EXPECT_EQ(plan.pieceSize, 200000);
    EXPECT_EQ(plan.chunkSize, 91104);
    EXPECT_EQ(plan.pieceDirectory, "C:\\pieces");
}

TEST(RequestChecks, DirectoryNormalisation)
{
    EXPECT_EQ(normaliseDirectory("C:\\data\\", '\\'), "C:\\data");
    EXPECT_EQ(normaliseDirectory("C:\\data\\\\", '\\'), "C:\\data\\");
    EXPECT_EQ(normaliseDirectory("C:\\data", '\\'), "C:\\data");
    EXPECT_EQ(normaliseDirectory("C:/data/", '\\'), "C:/data/");
    EXPECT_EQ(normaliseDirectory("/tmp/", '/'), "/tmp");
    EXPECT_EQ(normaliseDirectory("", '\\'), "");
    // Windows reads a slash as a backslash; elsewhere a backslash is a character of a name.
    EXPECT_EQ(normaliseDirectory(withSeparators("C:/data/", '\\'), '\\'), "C:\\data");
    EXPECT_EQ(withSeparators("fs/big.bin", '\\'), "fs\\big.bin");
    EXPECT_EQ(withSeparators("/tmp/a\\b", '/'), "/tmp/a\\b");
}

TEST(RequestChecks, OnePairOfEnclosingQuotesIsTakenOff)
{
    const std::pair<std::string, std::string> cases[] = {
        {"\"C:\\data\\big.zip\"", "C:\\data\\big.zip"}, // as Explorer's "Copy as path" gives it
        {"\"C:\\pieces\\\"", "C:\\pieces\\"},
        {"\"\"", ""},
        {"\"\"x\"\"", "\"x\""}, // one pair only
        {"\"", "\""},
        {"\"C:\\data\\big.zip", "\"C:\\data\\big.zip"},
        {"C:\\data\\big.zip\"", "C:\\data\\big.zip\""},
        {" \"C:\\data\\big.zip\"", " \"C:\\data\\big.zip\""}, // not enclosed by them
        {"C:\\a \"b\"", "C:\\a \"b\""},
        {"", ""},
    };
    for (const auto& [typed, path] : cases)
        EXPECT_EQ(withoutEnclosingQuotes(typed), path) << typed;
}
