// Every check of a split, in its order: the request, the piece size and count, the names, the outputs.
#include "split/SplitChecks.h"

#include "split/PieceNames.h"
#include "split/SplitMessages.h"

#include <algorithm>
#include <vector>

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

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether a and b are one name as Windows compares them: ASCII letters in
// either case, characters of two bytes exactly.
bool sameName(const std::string& a, const std::string& b, const ScriptCodePage& codePage)
{
    auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size())
        return false;
    const auto characters = charactersOf(a, codePage, ScriptCodePage::Side::Names);
    for (std::size_t at = 0; at < a.size(); at += characters.lengthAt(at)) {
        if (characters.lengthAt(at) == 2 ? a.compare(at, 2, b, at, 2) != 0 : lower(a[at]) != lower(b[at]))
            return false;
    }
    return true;
}

// The message that refuses a run whose output would replace the source.
std::string overwriteMessage(const std::string& outputName)
{
    return SplitMessages::fill(SplitMessages::OverwritesSource, {outputName});
}

// Sets converted and utf8 to name as the script writes it for cmd and for
// sh. Gives the refusal of a name that the script cannot hold, or, in its
// character set, cannot hold safely; empty when all is well.
std::string convertedName(const std::string& name, const PieceNames& names, const ScriptCodePage& codePage,
                          std::string& converted, std::string& utf8)
{
    if (!canNameInScript(name, codePage, ScriptCodePage::Side::Names))
        return SplitMessages::fill(SplitMessages::BadScriptName, {name});
    if (!codePage.toScriptText(name, converted) ||
        !canNameInScript(converted, codePage, ScriptCodePage::Side::Script) || !codePage.toUtf8(name, utf8))
        return SplitMessages::fill(SplitMessages::NoScriptCharacters, {name, scriptName(names.baseName)});
    return "";
}

// Refuses, before anything is opened, names that cannot be written safely:
// paths too long for the system, an empty base name, a device's name, names
// the script cannot hold, and a file whose rebuilding would replace the
// running script, its scratch file or a piece. Fills script with the names
// as the script writes them. Empty when all is well.
std::string checkNames(const PieceNames& names, const ScriptCodePage& codePage, RejoinNames& script)
{
    // Every piece path is as long as the script's: ".001" against ".bat".
    // The system counts characters, however many bytes each takes here.
    if (charactersOf(scriptPath(names.piecePrefix), codePage, ScriptCodePage::Side::Names).count() > MaxPathLength)
        return SplitMessages::PathTooLong;
    if (names.baseName.empty())
        return SplitMessages::fill(SplitMessages::NoBaseName, {names.fileName});
    for (const std::string* name : {&names.baseName, &names.fileName})
        if (isDeviceName(*name))
            return SplitMessages::fill(SplitMessages::DeviceName, {*name});
    std::string failure = convertedName(names.baseName, names, codePage, script.baseName, script.utf8BaseName);
    if (failure.empty())
        failure = convertedName(names.fileName, names, codePage, script.fileName, script.utf8FileName);
    if (!failure.empty())
        return failure;
    switch (scriptClash(names.baseName, names.fileName, codePage)) {
    case ScriptClash::Script: return SplitMessages::fill(SplitMessages::NamesTheScript, {names.fileName});
    case ScriptClash::Scratch: return SplitMessages::fill(SplitMessages::ScratchName, {names.fileName});
    case ScriptClash::Piece: return SplitMessages::fill(SplitMessages::PieceName, {names.fileName});
    case ScriptClash::None: break;
    }
    return "";
}

// Opens and measures the source, and counts the pieces into plan.
std::string checkSource(const std::string& filePath, SourceFile& source, SplitPlan& plan)
{
    FileError error = source.open(filePath);
    if (error == FileError::None)
        error = source.measure(plan.fileLength);
    if (error != FileError::None)
        return fileErrorMessage(error);
    const std::int64_t count = countPieces(plan.fileLength, plan.pieceSize);
    if (count > MaxPieces)
        return SplitMessages::TooManyPieces;
    plan.pieceCount = static_cast<int>(count);
    return "";
}

// Refuses outputs that would overwrite the source: any piece, the script or
// its temporary file that is the source file itself, or that may be, since
// its identity cannot be read. Only an output name that the folder holds can
// reach the source: the folder is listed once rather than every output
// opened (up to a millisecond each on some systems). Then removes a script
// left by an earlier split, so that a run that fails leaves none to join its
// pieces with others; refuses when it stays. Empty when all is well.
std::string checkOutputs(const SplitPlan& plan, const PieceNames& names, const SourceFile& source)
{
    // Each output's name in the folder, its path, and how a refusal names it.
    struct Output {
        std::string name, path, refusal;
    };
    std::vector<Output> outputs;
    outputs.reserve(static_cast<std::size_t>(plan.pieceCount) + 2);
    for (int k = 1; k <= plan.pieceCount; ++k) {
        const std::string name = pieceName(names.baseName, k);
        outputs.push_back({name, piecePath(names.piecePrefix, k), "piece " + name});
    }
    const std::string script = "rejoin script " + scriptName(names.baseName);
    outputs.push_back({scriptName(names.baseName), scriptPath(names.piecePrefix), script});
    outputs.push_back({temporaryScriptName(names.baseName), temporaryScriptPath(names.piecePrefix), script});
    std::vector<std::string> outputNames;
    outputNames.reserve(outputs.size());
    for (const Output& output : outputs)
        outputNames.push_back(output.name);
    // piecePrefix is the folder, its separator and baseName.
    const std::string folder = names.piecePrefix.substr(0, names.piecePrefix.size() - names.baseName.size());
    const std::vector<bool> present = namesInFolder(folder, outputNames);
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        if (!present[k])
            continue;
        switch (source.match(outputs[k].path)) {
        case SourceMatch::Source: return overwriteMessage(outputs[k].refusal);
        case SourceMatch::Unknown: return SplitMessages::FolderNotChecked;
        case SourceMatch::Other: break;
        }
    }
    if (!removeFile(scriptPath(names.piecePrefix)))
        return SplitMessages::fill(SplitMessages::OldScript, {scriptName(names.baseName)});
    return "";
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

bool holdsWildcard(const std::string& path)
{
    return path.find_first_of("*?") != std::string::npos;
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

std::string checkRequest(const SplitRequest& request, SplitHost& host, SplitPlan& plan, char separator,
                         const ScriptCodePage& codePage)
{
    if (request.filePath.empty())
        return SplitMessages::NoFile;
    // Looked up as typed, a wildcard would find some other file, whose name
    // the checks would then weigh; what is wrong is the name.
    if (separator == '\\' && holdsWildcard(request.filePath))
        return SplitMessages::fill(SplitMessages::WildcardInName, {request.filePath});
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

std::string checkSplit(const SplitRequest& typed, SplitHost& host, const ScriptCodePage& codePage, SplitPlan& plan,
                       PieceNames& names, RejoinNames& script, SourceFile& source)
{
    SplitRequest request = typed;
    request.filePath = withSeparators(withoutEnclosingQuotes(typed.filePath));
    request.pieceDirectory = withSeparators(withoutEnclosingQuotes(typed.pieceDirectory));
    std::string failure = checkRequest(request, host, plan, PathSeparator, codePage);
    if (!failure.empty())
        return failure;
    names = derivePieceNames(request.filePath, plan.pieceDirectory, PathSeparator, codePage);
    failure = checkNames(names, codePage, script);
    if (failure.empty())
        failure = checkSource(request.filePath, source, plan);
    if (failure.empty())
        failure = checkOutputs(plan, names, source);
    return failure;
}
