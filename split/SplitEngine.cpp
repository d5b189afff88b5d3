// runSplit: one split from the request checks to the success message.
//
// The road of a request: the checks, with the names derived on the way
// (SplitChecks.cpp, PieceNames.cpp), the pieces (SplitFiles.cpp), the
// script (RejoinScript.cpp), then the message.
#include "split/SplitEngine.h"

#include "split/PieceNames.h"
#include "split/RejoinScript.h"
#include "split/SplitChecks.h"
#include "split/SplitFiles.h"
#include "split/SplitMessages.h"

void runSplit(const SplitRequest& request, SplitHost& host, const ScriptCodePage& codePage, const SplitOptions& options)
{
    SplitPlan plan;
    PieceNames names;
    RejoinNames script;
    SourceFile source;
    std::string failure = checkSplit(request, host, codePage, plan, names, script, source);
    if (!failure.empty())
        return host.showMessage(failure, MessageIcon::Stop);

    host.startProgress(plan.pieceCount);
    SplitDigests digests;
    failure = writePieces(plan, names, source, host, options, digests);
    if (failure.empty())
        failure = writeRejoinScript(names, script, plan, digests, codePage);
    source.close();
    if (!failure.empty())
        return host.showMessage(failure, MessageIcon::Stop);

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
