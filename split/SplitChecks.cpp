// The request checks, the piece size and the piece count of a split.
#include "split/SplitChecks.h"

#include "split/PieceNames.h"
#include "split/RejoinScript.h"
#include "split/SplitMessages.h"

#include <algorithm>

namespace {

struct UnitRule {
    const char* unit;
    std::size_t maxDigits; // values of more characters are refused
    std::int64_t multiplier;
    const char* tooLarge;
};

// In the order in which the length checks are made.
constexpr UnitRule UnitRules[] = {
    {"Bytes", 9, 1, SplitMessages::TooManyBytes},
    {"KB", 6, 1024, SplitMessages::TooManyKilobytes},
    {"MB", 3, 1048576, SplitMessages::TooManyMegabytes},
};

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a and b are one name as Windows compares them: ASCII letters in
// either case, characters of two bytes exactly.
bool sameName(const std::string& a, const std::string& b, const ScriptCodePage& codePage)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    const auto characters = charactersOf(a, codePage, ScriptCodePage::Side::Names);
    for (std::size_t at = 0; at < a.size(); at += characters.lengthAt(at)) {
        if (characters.lengthAt(at) == 2 ? a.compare(at, 2, b, at, 2) != 0 : lower(a[at]) != lower(b[at]))
            return false;
    }
    return true;
}

} // namespace

std::string withSeparators(const std::string& path, char separator)
{
    std::string result = path;
    if (separator == '\\')
        std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::string withoutEnclosingQuotes(const std::string& path)
{
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        return path.substr(1, path.size() - 2);
    return path;
}

std::string normaliseDirectory(const std::string& directory, char separator, const ScriptCodePage& codePage)
{
    if (charactersOf(directory, codePage, ScriptCodePage::Side::Names).endsWith(separator))
        return directory.substr(0, directory.size() - 1);
    return directory;
}

SizeCheck checkPieceSize(const SplitRequest& request)
{
    if (request.sizeChoice == PresetSizeChoice)
        return {"", FloppyPieceSize};

    const std::string& digits = request.customSize;
    if (digits.empty())
        return {SplitMessages::NoCustomSize};
    if (!std::all_of(digits.begin(), digits.end(), isDecimalDigit))
        return {SplitMessages::SizeNotWhole};

    const UnitRule* rule = nullptr;
    for (const UnitRule& candidate : UnitRules) {
        if (request.sizeUnit == candidate.unit) {
            if (digits.size() > candidate.maxDigits)
                return {candidate.tooLarge};
            rule = &candidate;
        }
    }
    if (!rule)
        return {SplitMessages::UnknownUnit};

    // At most nine digits, so the value and its product fit 64 bits easily,
    // and the largest product, 999 MB, fits 32.
    std::int64_t value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    if (value == 0)
        return {SplitMessages::SizeZero};
    return {"", static_cast<std::int32_t>(value * rule->multiplier)};
}

std::int32_t chunkSizeFor(std::int32_t pieceSize)
{
    return std::min(pieceSize, CopyBufferSize);
}

std::int64_t countPieces(std::int64_t fileLength, std::int32_t pieceSize)
{
    if (fileLength == 0)
        return 1;
    return (fileLength + pieceSize - 1) / pieceSize;
}

std::string checkRequest(const SplitRequest& request, SplitHost& host, SplitPlan& plan,
                         char separator, const ScriptCodePage& codePage)
{
    if (request.filePath.empty())
        return SplitMessages::NoFile;
    if (host.lookUpPath(request.filePath) != PathKind::File)
        return SplitMessages::FileNotFound;

    if (request.pieceDirectory.empty())
        return SplitMessages::NoDirectory;
    std::string directory = normaliseDirectory(request.pieceDirectory, separator, codePage);
    if (host.lookUpPath(directory) != PathKind::Directory)
        return SplitMessages::DirectoryNotFound;

    SizeCheck size = checkPieceSize(request);
    if (!size.failure.empty())
        return size.failure;

    plan.pieceSize = size.pieceSize;
    plan.chunkSize = chunkSizeFor(size.pieceSize);
    plan.pieceDirectory = std::move(directory);
    return "";
}

ScriptClash scriptClash(const std::string& baseName, const std::string& fileName, const ScriptCodePage& codePage)
{
    if (sameName(fileName, scriptName(baseName), codePage))
        return ScriptClash::Script;
    if (sameName(fileName, ScratchFileName, codePage))
        return ScriptClash::Scratch;
    // NAME.001 ... NAME.999: the three digits of a piece's number.
    const std::string number = fileName.size() == baseName.size() + 4 ? fileName.substr(baseName.size() + 1) : "";
    if (number.size() == 3 && std::all_of(number.begin(), number.end(), isDecimalDigit) && number != "000" &&
        sameName(fileName, baseName + "." + number, codePage))
        return ScriptClash::Piece;
    return ScriptClash::None;
}

bool canNameInScript(const std::string& name, const ScriptCodePage& codePage, ScriptCodePage::Side side)
{
    // No byte below 32 is ever the second byte of a character.
    return std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }) &&
           !charactersOf(name, codePage, side).holdsAnyOf("\"*?<>|");
}
