// runSplit: one split from the request checks to the success message.
#include "split/SplitEngine.h"

#include "split/PieceNames.h"
#include "split/RejoinScript.h"
#include "split/SplitChecks.h"
#include "split/SplitFiles.h"
#include "split/SplitMessages.h"

#include <vector>

namespace {

// The message that refuses a run whose output would replace the source.
std::string overwriteMessage(const std::string& outputName)
{
    return SplitMessages::fill(SplitMessages::OverwritesSource, {outputName});
}

// Sets converted to name as the script writes it. Gives the refusal of a name
// that the script cannot hold, or, in its character set, cannot hold safely;
// empty when all is well.
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

// The end of the temporary name under which the script is written: as long
// as ".bat", so that whatever path fits one fits the other.
constexpr const char* TemporaryScriptEnd = ".ba~";

std::string temporaryScriptPath(const PieceNames& names)
{
    return names.piecePrefix + TemporaryScriptEnd;
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
    const std::string path = scriptPath(names.piecePrefix);
    if (charactersOf(path, codePage, ScriptCodePage::Side::Names).count() > MaxPathLength)
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
    for (int k = 1; k <= plan.pieceCount; ++k) {
        const std::string name = pieceName(names.baseName, k);
        outputs.push_back({name, piecePath(names.piecePrefix, k), "piece " + name});
    }
    const std::string script = "rejoin script " + scriptName(names.baseName);
    outputs.push_back({scriptName(names.baseName), scriptPath(names.piecePrefix), script});
    outputs.push_back({names.baseName + TemporaryScriptEnd, temporaryScriptPath(names), script});
    std::vector<std::string> outputNames;
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

// Opens and measures the source and counts the pieces into plan.
std::string measureFile(const std::string& filePath, SourceFile& source, SplitPlan& plan)
{
    FileError error = source.open(filePath);
    if (error == FileError::None)
        error = source.measure(plan.fileLength);
    if (error != FileError::None)
        return fileErrorMessage(error);
    std::int64_t count = countPieces(plan.fileLength, plan.pieceSize);
    if (count > MaxPieces)
        return SplitMessages::TooManyPieces;
    plan.pieceCount = static_cast<int>(count);
    return "";
}

// Writes every piece, stepping the bar after each, and fills digests with
// the SHA-256 of each piece and of the file, computed as options asks. Empty
// on success. Any thread of the digests has ended when it returns.
std::string writePieces(const SplitPlan& plan, const PieceNames& names, SourceFile& source,
                        SplitHost& host, const SplitOptions& options, SplitDigests& digests)
{
    ChunkRing ring(plan.chunkSize, plan.pieceCount, options);
    for (int k = 1; k <= plan.pieceCount; ++k) {
        const std::int64_t size = pieceLength(k, plan.pieceCount, plan.pieceSize, plan.fileLength);
        FileError error = writePiece(source, piecePath(names.piecePrefix, k), size, plan.chunkSize, ring, host);
        if (error != FileError::None)
            return fileErrorMessage(error);
        ring.endPiece();
        host.stepProgress();
    }
    digests = ring.finish();
    return "";
}

} // namespace

void runSplit(const SplitRequest& typed, SplitHost& host, const ScriptCodePage& codePage,
              const SplitOptions& options)
{
    auto fail = [&host](const std::string& message) { host.showMessage(message, MessageIcon::Stop); };

    // A path pasted as Windows copies it, in quotes, is the path inside them.
    SplitRequest request = typed;
    request.filePath = withSeparators(withoutEnclosingQuotes(typed.filePath));
    request.pieceDirectory = withSeparators(withoutEnclosingQuotes(typed.pieceDirectory));
    SplitPlan plan;
    std::string failure = checkRequest(request, host, plan, PathSeparator, codePage);
    if (!failure.empty())
        return fail(failure);

    PieceNames names = derivePieceNames(request.filePath, plan.pieceDirectory, PathSeparator, codePage);
    SourceFile source;
    RejoinNames script;
    failure = checkNames(names, codePage, script);
    if (failure.empty())
        failure = measureFile(request.filePath, source, plan);
    if (failure.empty())
        failure = checkOutputs(plan, names, source);
    if (!failure.empty())
        return fail(failure);

    host.startProgress(plan.pieceCount);
    SplitDigests digests;
    failure = writePieces(plan, names, source, host, options, digests);
    if (failure.empty())
        failure = fileErrorMessage(source.checkEnd());
    if (!failure.empty())
        return fail(failure);

    FileError error = writeFileText(scriptPath(names.piecePrefix),
                                    rejoinScriptText(script, plan.pieceCount,
                                                     plan.pieceSize, plan.fileLength, digests, codePage),
                                    temporaryScriptPath(names));
    source.close();
    if (error != FileError::None)
        return fail(fileErrorMessage(error));

    host.showMessage(SplitMessages::fill(SplitMessages::SplitDone, {names.fileName, scriptName(names.baseName)}),
                     MessageIcon::Information);
    host.hideProgress();
}

void runSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage)
{
    runSplit(request, host, codePage, SplitOptions());
}

void runSplit(const SplitRequest& request, SplitHost& host)
{
    runSplit(request, host, systemScriptCodePage());
}
