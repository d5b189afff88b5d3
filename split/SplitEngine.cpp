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
    return SplitMessages::OverwritesSourceStart + outputName + SplitMessages::OverwritesSourceEnd;
}

// The names as the rejoin script writes them.
struct ScriptNames {
    std::string baseName, fileName;
};

// Sets converted to name as the script writes it. Gives the refusal of a name
// that the script cannot hold, or, in its character set, cannot hold safely;
// empty when all is well.
std::string scriptName(const std::string& name, const PieceNames& names, const ScriptCodePage& codePage,
                       std::string& converted)
{
    if (!canNameInScript(name))
        return SplitMessages::BadScriptNameStart + name + SplitMessages::BadScriptNameEnd;
    if (!codePage.toScriptText(name, converted) || !canNameInScript(converted))
        return SplitMessages::BadScriptNameStart + name + SplitMessages::NoScriptCharactersMiddle +
               names.baseName + ".bat" + SplitMessages::NoScriptCharactersEnd;
    return "";
}

// Refuses, before anything is written, outputs that cannot be made safely:
// paths too long for the system, names the script cannot hold, a file whose
// rebuilding would replace the running script or its scratch file, and any
// piece or script that is the source file itself. Fills script with the names as
// the script writes them. Empty when all is well.
std::string checkOutputs(const SplitPlan& plan, const PieceNames& names, const SourceFile& source,
                         const ScriptCodePage& codePage, ScriptNames& script)
{
    // Every piece path is as long as the script's: ".001" against ".bat".
    if (scriptPath(names.piecePrefix).size() > MaxPathLength)
        return SplitMessages::PathTooLong;
    std::string failure = scriptName(names.baseName, names, codePage, script.baseName);
    if (failure.empty())
        failure = scriptName(names.fileName, names, codePage, script.fileName);
    if (!failure.empty())
        return failure;
    switch (scriptClash(names.baseName, names.fileName)) {
    case ScriptClash::Script:
        return SplitMessages::NamesTheScriptStart + names.fileName + SplitMessages::NamesTheScriptEnd;
    case ScriptClash::Scratch:
        return SplitMessages::ScratchNameStart + names.fileName + SplitMessages::ScratchNameEnd;
    case ScriptClash::None: break;
    }
    // Only an output name that the folder holds can reach the source: the
    // folder is listed once rather than every output opened (up to a
    // millisecond each on some systems).
    std::vector<std::string> outputs;
    for (int k = 1; k <= plan.pieceCount; ++k)
        outputs.push_back(names.baseName + "." + pieceNumberText(k));
    outputs.push_back(names.baseName + ".bat");
    const std::vector<bool> present =
        namesInFolder(names.piecePrefix.substr(0, names.piecePrefix.rfind(PathSeparator) + 1), outputs);
    for (int k = 1; k <= plan.pieceCount; ++k) {
        if (present[static_cast<std::size_t>(k - 1)] && source.isSameFileAs(piecePath(names.piecePrefix, k)))
            return overwriteMessage("piece " + names.baseName + "." + pieceNumberText(k));
    }
    if (present.back() && source.isSameFileAs(scriptPath(names.piecePrefix)))
        return overwriteMessage("rejoin script " + names.baseName + ".bat");
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

void runSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage,
              const SplitOptions& options)
{
    auto fail = [&host](const std::string& message) { host.showMessage(message, MessageIcon::Stop); };

    SplitPlan plan;
    std::string failure = checkRequest(request, host, plan);
    if (!failure.empty())
        return fail(failure);

    PieceNames names = derivePieceNames(request.filePath, plan.pieceDirectory);
    SourceFile source;
    ScriptNames script;
    failure = measureFile(request.filePath, source, plan);
    if (failure.empty())
        failure = checkOutputs(plan, names, source, codePage, script);
    if (!failure.empty())
        return fail(failure);

    host.startProgress(plan.pieceCount);
    SplitDigests digests;
    failure = writePieces(plan, names, source, host, options, digests);
    if (!failure.empty())
        return fail(failure);

    FileError error = writeFileText(scriptPath(names.piecePrefix),
                                    rejoinScriptText(script.baseName, script.fileName, plan.pieceCount,
                                                     plan.pieceSize, plan.fileLength, digests));
    source.close();
    if (error != FileError::None)
        return fail(fileErrorMessage(error));

    host.showMessage(SplitMessages::SplitDone + names.fileName + SplitMessages::RunProgram +
                         names.baseName + ".bat.",
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
