// The rejoin script: one text that cmd, COMMAND.COM and sh each run whole.
//
// For REPORT.V2.DOC in three pieces of 1,000 bytes, in short ("cmd:" marks
// lines that start with if "%OS%"=="Windows_NT", which only cmd passes;
// "..." marks lines left out; tests/engine/golden/ holds whole scripts):
//
//   :; eval "$(awk 'p{sub(/\r$/,"");print}/^:sh\r?$/{p=1}' "$0")";exit 1 #
//   @rem To rebuild REPORT.V2.DOC from its pieces in this folder: on Windows, run REPORT.V2.bat;
//   @rem on Linux or macOS, run: sh REPORT.V2.bat
//   @rem File: REPORT.V2.DOC / Size: 2500 bytes / SHA-256: 64 digits
//   @echo off
//   cmd: setlocal, ParcelorFolder=%~dp0, pushd there, COPYCMD=/Y, its flags cleared
//   echo The file REPORT.V2.DOC is now being created . . .      announce, then progress
//   if exist parcelor.tmp del parcelor.tmp                      a run cut short leaves this alone
//   if not exist REPORT.V2.001 goto notcreated ...              every piece there
//   cmd: for %%f in (REPORT.V2.001) do set ParcelorSize=%%~zf   ... a file of its size
//   if exist REPORT.V2.DOC goto present                         never over a file already here
//   :joinpieces
//   cmd: copy nul parcelor.tmp, or goto readonly                a folder that can be written to
//   copy /b REPORT.V2.001 + REPORT.V2.002 parcelor.tmp > nul
//   copy /b parcelor.tmp + REPORT.V2.003 parcelor.tmp > nul
//   cmd: its size, then call :hash, its one SHA-256 from certutil
//   cmd: if defined ParcelorReplace goto replace
//   ren parcelor.tmp REPORT.V2.DOC                              the name, once proven
//   echo The file REPORT.V2.DOC was successfully created.       and what was checked
//   :notcreated / :readonly / :failed / :wrongsize / :damaged   the ways out, each with its pause;
//                                                               :failed reads the pieces, :damaged
//                                                               hashes them, to name the bad ones
//   :present ... :ask (set /p) ... :kept ... :replace           a file already here
//   :end / :nofolder / :hash (the certutil routine)
//   :sh                                                         what sh runs: split/rejoin.sh
//   file='REPORT.V2.DOC' ... say_FileCreated() { ... } ... exit 0
//   :done
#include "split/RejoinScript.h"

#include "split/BatchLines.h"
#include "split/PieceNames.h"
#include "split/ScriptQuoting.h"
#include "split/SplitFiles.h"
#include "split/SplitMessages.h"

#include <cstring>

namespace {

using namespace SplitMessages;

// A message that the sh program says (say_Name) or asks (ask_Name).
struct ShMessage {
    const char* verb;
    const char* name;
    const char* text;
};

// RejoinShProgram, the text of split/rejoin.sh, and RejoinShMessages, every
// message that it names: made by the build, which fails on a name that
// SplitMessages does not have.
#include "split/RejoinShProgram.inc"

// Older interpreters set no error level after a copy, and may carry a stale
// one from an earlier program, so only cmd's is trusted.
constexpr const char* StopOnFailedCopy = "if errorlevel 1 goto failed";

// Sets ParcelorSize to the size, in digits, of the file that argument names;
// to nothing when there is none. Only cmd can tell a file's size (the ~z of
// a for variable). The name stays out of the loop's body, where a % sign of
// its own would be taken for the loop variable.
std::string measure(const std::string& argument)
{
    return "for %%f in (" + argument + ") do set ParcelorSize=%%~zf";
}

// The start of a line that goes on only when the size measured (as
// ParcelorSize, or as the ~z of a for variable) is not size. cmd compares
// numbers in 32 bits, so the digits are compared as text. Some interpreters
// (Wine's cmd) tell only the low 32 bits of a size; for a file of 4 GiB or
// more those digits are taken too, unless they are 0, the size of a file
// that was not written at all.
std::string unlessSize(std::int64_t size, const std::string& measured = "%ParcelorSize%")
{
    auto differs = [&measured](std::int64_t value) {
        return "if not \"" + measured + "\"==\"" + std::to_string(value) + "\" ";
    };
    std::string text = differs(size);
    const std::int64_t low = size & 0xFFFFFFFF;
    if (low != size && low != 0)
        text += differs(low);
    return text;
}

// The lines that set ParcelorHash, through the routine :hash, to the digest
// that certutil gives for the file name in the script's folder. certutil
// gets its full path: the command processor that runs it first runs any
// AutoRun command of the registry, which may change the folder.
void hash(const std::string& name, const ScriptCodePage& codePage, BatchLines& script)
{
    script.cmd("set \"ParcelorFile=%ParcelorFolder%" + percentsDoubled(name, codePage) + "\"");
    script.cmd("call :hash");
}

// The start of a line that goes on only when certutil gave a digest other than digest.
std::string unlessDigest(const std::string& digest)
{
    return "if defined ParcelorHash if not \"%ParcelorHash%\"==\"" + digest + "\" ";
}

// What the script is made of: the split, and its names in the forms that the lines need.
struct Rejoin {
    const RejoinNames& names;
    int pieceCount;
    std::int64_t pieceSize, fileLength;
    const SplitDigests& digests;
    const ScriptCodePage& codePage;
    std::string file = cmdArgument(names.fileName, codePage);
    std::string shownFile = echoText(names.fileName, codePage);

    std::string piece(int number) const { return pieceName(names.baseName, number); }
    std::string pieceArgument(int number) const { return cmdArgument(piece(number), codePage); }
    std::string shownPiece(int number) const { return echoText(piece(number), codePage); }
    std::int64_t length(int number) const { return pieceLength(number, pieceCount, pieceSize, fileLength); }
    const std::string& digest(int number) const { return digests.pieces[static_cast<std::size_t>(number - 1)]; }
    // An echo line of message, its places filled by the file's name as an echo line shows it.
    std::string sayFile(const char* message) const { return "echo " + fill(message, {shownFile}); }
};

// For sh: the rest of the first line is a label to cmd and COMMAND.COM. It
// runs what follows the line :sh with the CR of every line end taken off;
// the # hides this line's own. Nothing here is a redirection that COMMAND.COM
// could act on, and its first word is none of COMMAND.COM's commands.
void launcher(BatchLines& script)
{
    script.line(":; eval \"$(awk 'p{sub(/\\r$/,\"\");print}/^:sh\\r?$/{p=1}' \"$0\")\";exit 1 #");
}

// For anyone who opens the script or checks the file with another tool. cmd
// expands percent signs even in a rem line, and stops at one it cannot expand.
void header(const Rejoin& r, BatchLines& lines)
{
    const std::string script = scriptName(r.names.baseName);
    // sh would take a name that starts with - for options, quoted or not.
    const std::string typed = script[0] == '-' ? "./" + script : script;
    lines.line("@rem " + percentsDoubled(fill(RunOnWindows, {r.names.fileName, script}), r.codePage));
    lines.line("@rem " + percentsDoubled(fill(RunElsewhere, {"sh " + shTyped(typed)}), r.codePage));
    lines.line("@rem File: " + percentsDoubled(r.names.fileName, r.codePage));
    lines.line("@rem Size: " + std::to_string(r.fileLength) + " bytes");
    lines.line("@rem SHA-256: " + r.digests.file);
    lines.line("@echo off");
}

// The script's variables live only as long as it does. It works in its own
// folder, however it was started (its full path typed, a double click on a
// network share), and goes back at every way out; setlocal comes first, so
// that what it restores at the end is the user's folder. It sets what it
// relies on rather than inherit it: command extensions (%~dp0, call :label,
// for /f), no delayed expansion (which would eat the ! of a name), and copy
// that never asks before it overwrites. A scratch file of an earlier run
// cut short is its own, and goes.
void environment(const Rejoin& r, BatchLines& script)
{
    script.cmd("setlocal EnableExtensions DisableDelayedExpansion");
    // Taken once: cmd finds the folder of %0 anew each time, from the
    // current folder when the script was started by a relative path.
    script.cmd("set \"ParcelorFolder=%~dp0\"");
    script.cmd("pushd \"%~dp0\"");
    script.cmd("if errorlevel 1 goto nofolder");
    script.cmd("set COPYCMD=/Y");
    for (const char* flag : {"ParcelorDamaged", "ParcelorUnchecked", "ParcelorReplace"})
        script.cmd("set " + std::string(flag) + "=");
    script.cmd("set ParcelorMatched=0");
    script.line(r.sayFile(FileCreating));
    script.line("echo.");
    script.echo(CheckingPieces);
    script.command("if exist " + std::string(ScratchFileName) + " del " + ScratchFileName);
}

// Every piece there, then, under cmd, every piece of its size, one line
// each; nothing opened yet. :wrongpiece says which are not, and why.
// Every piece there (all COMMAND.COM can see), or, under cmd, every piece
// of its size, one line each: a missing one has none. Nothing is opened
// yet. :wrongpiece says which are not, and why. cmd skips the presence
// lines, each of which asks the system about a file.
void pieceChecks(const Rejoin& r, BatchLines& script)
{
    for (int k = 1; k <= r.pieceCount; ++k) {
        script.notCmd("if not exist " + r.pieceArgument(k) + " echo " + fill(PieceMissing, {r.shownPiece(k)}));
        script.notCmdCommand("if not exist " + r.pieceArgument(k) + " goto notcreated");
    }
    for (int k = 1; k <= r.pieceCount; ++k)
        script.cmd("for %%f in (" + r.pieceArgument(k) + ") do " + unlessSize(r.length(k), "%%~zf") +
                   "goto wrongpiece");
}

// Names every piece that is missing, or not a file of its size.
void wrongPieces(const Rejoin& r, BatchLines& script)
{
    script.line(":wrongpiece");
    for (int k = 1; k <= r.pieceCount; ++k) {
        const std::string there = "if exist " + r.pieceArgument(k) + " " + unlessSize(r.length(k));
        // A folder has a size too, 0 or nothing; its attributes start with d.
        const std::string folder = "\"%ParcelorKind:~0,1%\"==\"d\" ";
        script.cmd(measure(r.pieceArgument(k)));
        script.cmd("if not exist " + r.pieceArgument(k) + " echo " + fill(PieceMissing, {r.shownPiece(k)}));
        script.cmd(there + "for %%f in (" + r.pieceArgument(k) + ") do set ParcelorKind=%%~af");
        script.cmd(there + "if " + folder + "echo " + fill(PieceFolder, {r.shownPiece(k)}));
        script.cmd(there + "if not " + folder + "echo " +
                   fill(PieceWrongSize, {r.shownPiece(k), "%ParcelorSize%", std::to_string(r.length(k))}));
    }
    script.line("goto notcreated");
}

// The pieces gathered in the scratch file, with copy /b, once cmd has made
// sure that the folder can hold it. A file already here takes the way
// through :present, which comes back here only to replace it.
void join(const Rejoin& r, BatchLines& script)
{
    const std::string scratch = ScratchFileName;
    script.command("if exist " + r.file + " goto present");
    script.line(":joinpieces");
    // The scratch file made empty first: a folder that cannot be written
    // to is told apart from a failed copy.
    script.cmd("copy nul " + scratch + " > nul 2> nul");
    script.cmd("if not exist " + scratch + " goto readonly");
    script.echo(r.pieceCount == 1 ? std::string(JoiningOne) : fill(Joining, {std::to_string(r.pieceCount)}));
    if (r.pieceCount == 1)
        script.command("copy /b " + r.pieceArgument(1) + " " + scratch + " > nul");
    else
        script.command("copy /b " + r.pieceArgument(1) + " + " + r.pieceArgument(2) + " " + scratch + " > nul");
    script.cmd(StopOnFailedCopy);
    for (int k = 3; k <= r.pieceCount; ++k) {
        script.command("copy /b " + scratch + " + " + r.pieceArgument(k) + " " + scratch + " > nul");
        script.cmd(StopOnFailedCopy);
    }
}

// Says so, and how far the checks went: only a counted match of the file's
// digest proves its contents; COMMAND.COM can only have seen the pieces.
void success(const Rejoin& r, BatchLines& script)
{
    const std::string matched = "\"%ParcelorMatched%\"==\"" + std::to_string(r.fileLength > 0 ? 1 : 0) + "\" ";
    script.line(r.sayFile(FileCreated));
    script.cmd("if " + matched + "echo " + ContentsChecked);
    script.cmd("if not " + matched + "echo " + SizesChecked);
    script.notCmd("echo " + std::string(PresenceChecked));
    script.line("echo.");
    script.line("pause");
    script.line("");
    script.line("goto end");
}

// The join proven where it lies, then given the file's name in one rename,
// so that the name never holds an unproven file and no run cut short leaves
// more than the scratch file, which the next one deletes. ren never replaces
// a file; one already here is replaced, after the user's yes, at :replace.
// Its size first, then its one SHA-256; certutil is never asked about what
// holds no byte, whose size proves it. Only counted matches prove the
// contents, never the absence of a failure.
void proofAndName(const Rejoin& r, BatchLines& script)
{
    const std::string scratch = ScratchFileName;
    script.cmd(measure(scratch));
    script.cmd(unlessSize(r.fileLength) + "goto wrongsize");
    if (r.fileLength > 0) {
        script.cmd("echo " + std::string(CheckingFile));
        hash(scratch, r.codePage, script);
        script.cmd(unlessDigest(r.digests.file) + "goto damaged");
        script.cmd("if \"%ParcelorHash%\"==\"" + r.digests.file + "\" set /a ParcelorMatched+=1 > nul");
    }
    script.cmd("if defined ParcelorReplace goto replace");
    script.command("ren " + scratch + " " + r.file);
    script.cmd(StopOnFailedCopy);
    // The one check that COMMAND.COM can make of the join.
    script.command("if not exist " + r.file + " goto notcreated");
    success(r, script);
}

// The ways out of a failed join. Only the scratch file held the join, and it
// is removed. A failed copy has every piece read once more, to name any that
// cannot be read; a damaged rebuild has its pieces hashed, to name every
// damaged one.
void failures(const Rejoin& r, BatchLines& script)
{
    const std::string removeScratch = "if exist " + std::string(ScratchFileName) + " del " + ScratchFileName;
    wrongPieces(r, script);
    script.exitBlock("notcreated", {r.sayFile(FileNotCreated)});
    script.exitBlock("readonly", {r.sayFile(NotWritable)});
    script.line(":failed");
    script.line(removeScratch);
    for (int k = 1; k <= r.pieceCount; ++k) {
        // echo and set leave the error level of the copy as it was.
        script.cmd("copy /b " + r.pieceArgument(k) + " nul > nul 2> nul");
        script.cmd("if errorlevel 1 echo " + fill(PieceUnreadable, {r.shownPiece(k)}));
        script.cmd("if errorlevel 1 set ParcelorDamaged=1");
    }
    script.cmd("if defined ParcelorDamaged goto notcreated");
    script.exitBlock("", {"echo " + fill(CopyFailed, {r.shownFile, std::to_string(r.fileLength)})});
    script.exitBlock(
        "wrongsize",
        {removeScratch, "echo " + fill(FileWrongSize, {r.shownFile, "%ParcelorSize%", std::to_string(r.fileLength)})});
    script.line(":damaged");
    script.line(removeScratch);
    script.echo(CheckingEveryPiece);
    for (int k = 1; k <= r.pieceCount; ++k) {
        if (r.length(k) == 0)
            continue;
        hash(r.piece(k), r.codePage, script);
        script.cmd(unlessDigest(r.digest(k)) + "echo " + fill(PieceDamaged, {r.shownPiece(k)}));
        script.cmd(unlessDigest(r.digest(k)) + "set ParcelorDamaged=1");
    }
    script.cmd("if defined ParcelorDamaged goto notcreated");
    script.exitBlock("", {r.sayFile(FileDamaged)});
}

// A file of the rebuilt name already here. Equal to the original: left as
// it is, with success. Otherwise cmd asks before it is replaced (no answer,
// as from redirected input, means no), and replaces it only by a proven
// rebuild, or, where nothing can prove one, after that yes; COMMAND.COM,
// which can neither compare nor ask, and a folder of that name, keep it.
// Below the first line only cmd comes.
void existingFile(const Rejoin& r, BatchLines& script)
{
    script.line(":present");
    script.notCmd("goto uncheckable");
    script.line("set ParcelorAttributes=-");
    script.line("for %%f in (" + r.file + ") do set ParcelorAttributes=%%~af");
    script.line("if \"%ParcelorAttributes:~0,1%\"==\"d\" goto folder");
    script.line("set ParcelorReplace=1");
    script.cmd(measure(r.file));
    script.cmd(unlessSize(r.fileLength) + "goto different");
    if (r.fileLength > 0) {
        script.line(r.sayFile(CheckingExisting));
        hash(r.names.fileName, r.codePage, script);
        script.line("if not defined ParcelorHash goto unproven");
        script.cmd(unlessDigest(r.digests.file) + "goto different");
    }
    script.exitBlock("", {r.sayFile(AlreadyHere)});
    script.saying("different", fill(Differs, {r.shownFile}), "goto ask");
    script.saying("unproven", fill(Unproven, {r.shownFile}));
    script.line(":ask");
    script.line("set ParcelorAnswer=");
    script.line("set /p ParcelorAnswer=" + std::string(ReplacePrompt));
    // Its quotes go only once it is known to be defined; then nothing that
    // was typed can end the comparison. Its first letter decides, whatever
    // follows (yes, or the CR that Wine's cmd keeps from a piped line);
    // if /i would take either case, but not after another if in Wine's cmd.
    script.line("if not defined ParcelorAnswer goto kept");
    script.line("set \"ParcelorAnswer=%ParcelorAnswer:\"=%\"");
    script.line("if \"%ParcelorAnswer:~0,1%\"==\"y\" goto joinpieces");
    script.line("if \"%ParcelorAnswer:~0,1%\"==\"Y\" goto joinpieces");
    script.line("goto kept");
    script.saying("folder", fill(FolderInTheWay, {r.shownFile}), "goto kept");
    script.saying("uncheckable", fill(Uncheckable, {r.shownFile}));
    script.saying("kept", fill(Kept, {r.shownFile}), "goto notcreated");
    // The join came back here, proven in the scratch file, which moves over
    // the file in one rename.
    script.line(":replace");
    script.line("move /y " + std::string(ScratchFileName) + " " + r.file + " > nul");
    script.line("if errorlevel 1 goto failed");
    success(r, script);
}

// The lines that set ParcelorHash to the SHA-256 that certutil gives for the
// file that ParcelorFile names, as 64 lowercase hexadecimal digits; to
// nothing, once ParcelorUnchecked is set, when certutil is missing or gives
// no such digest.
// The first time that happens they say so, and give the file's SHA-256 for
// checking it by other means, and how. Reached only by call under cmd.
//
// certutil answers with a header in the system's language, then the digest,
// as hex pairs separated by blanks (Windows 7) or as 64 digits (Windows 10),
// then a line that it is done. It is called by its full path, so that a
// program of its name beside the pieces never runs. The name reaches it
// through the variable, which the command's own cmd expands: a name written
// into the command would have its percent signs read again there. Its
// answer is never expanded where a character of it could end a command:
// with its quotes removed it stays inside quotes, and only a value of hex
// digits goes on.
void hashRoutine(const Rejoin& r, BatchLines& script)
{
    const std::string certutil = "%SystemRoot%\\System32\\certutil.exe";
    script.line(":hash");
    script.line("set ParcelorHash=");
    script.line("if defined ParcelorUnchecked goto :eof");
    script.line("if not exist \"" + certutil + "\" goto unchecked");
    script.line("set ParcelorLine=");
    script.line("for /f \"skip=1 delims=\" %%h in ('\"\"" + certutil + "\" -hashfile \"%%ParcelorFile%%\" SHA256\"') " +
                "do if not defined ParcelorLine set \"ParcelorLine=%%h\"");
    script.line("if not defined ParcelorLine goto unchecked");
    script.line("set \"ParcelorHash=%ParcelorLine:\"=%\"");
    script.line("set \"ParcelorHash=%ParcelorHash: =%\"");
    script.line("if not defined ParcelorHash goto unchecked");
    // The x keeps the variable defined when every digit is gone.
    script.line("set \"ParcelorRest=x%ParcelorHash%\"");
    // cmd replaces letters in either case.
    for (char digit : std::string("0123456789abcdef"))
        script.line(std::string("set \"ParcelorRest=%ParcelorRest:") + digit + "=%\"");
    script.line("if not \"%ParcelorRest%\"==\"x\" goto unchecked");
    script.line("if \"%ParcelorHash:~63%\"==\"\" goto unchecked");
    script.line("if not \"%ParcelorHash:~64%\"==\"\" goto unchecked");
    // In lowercase, as the script's digests are: Wine's cmd cannot take an
    // if /i after another if.
    for (char letter : std::string("abcdef"))
        script.line(std::string("set \"ParcelorHash=%ParcelorHash:") + letter + "=" + letter + "%\"");
    script.line("goto :eof");
    script.line(":unchecked");
    script.line("set ParcelorHash=");
    script.line("set ParcelorUnchecked=1");
    script.echo(ContentsNotChecked);
    script.echo(fill(CheckByHand, {r.shownFile, r.digests.file}));
    const std::string quoted = cmdQuoted(r.names.fileName, r.codePage);
    script.echo(fill(HowToHash, {quoted, quoted, quoted}));
    script.line("echo.");
    script.line("goto :eof");
}

// The sh function that says message as a line (say), or without its line
// end (ask), each {} filled by the next of its arguments.
std::string shFunction(const ShMessage& message)
{
    std::string text;
    int argument = 0;
    for (const char* at = message.text; *at != '\0';) {
        const char* place = std::strstr(at, "{}");
        const std::string literal(at, place ? place : at + std::strlen(at));
        if (!literal.empty())
            text += shWord(literal);
        if (!place)
            break;
        text += "\"$" + std::to_string(++argument) + "\"";
        at = place + 2;
    }
    const std::string verb = message.verb;
    const std::string print = verb == "ask" ? "printf '%s' " : "say ";
    return verb + "_" + message.name + "() { " + print + text + "; }";
}

// The part for sh, after the line :sh, to which cmd never goes: the data in
// UTF-8, the messages, then the program. No line of it starts with a colon,
// so that no interpreter of batch files finds a label in it.
void shPart(const Rejoin& r, BatchLines& script)
{
    script.line(":sh");
    script.line("file=" + shWord(r.names.utf8FileName));
    script.line("base=" + shWord(r.names.utf8BaseName));
    script.line("scratch=" + std::string(ScratchFileName));
    script.line("count=" + std::to_string(r.pieceCount));
    script.line("part=" + std::to_string(r.length(1)));
    script.line("last=" + std::to_string(r.length(r.pieceCount)));
    script.line("size=" + std::to_string(r.fileLength));
    script.line("digest=" + r.digests.file);
    script.line("digests='");
    for (int k = 1; k <= r.pieceCount; ++k)
        script.line(r.digest(k));
    script.line("'");
    // The pieces, in number order, as the arguments of the program; a few
    // to a line, so that no line is longer than cmd reads whole (8,191
    // characters) while it looks for a label.
    script.line("set --");
    for (int first = 1; first <= r.pieceCount; first += 16) {
        std::string pieces = "set -- \"$@\"";
        for (int k = first; k < first + 16 && k <= r.pieceCount; ++k)
            pieces += " " + shWord("./" + pieceName(r.names.utf8BaseName, k));
        script.line(pieces);
    }
    for (const ShMessage& message : RejoinShMessages)
        script.line(shFunction(message));
    // The program without its comments, which are for its readers here.
    const std::string program = RejoinShProgram;
    for (std::size_t at = 0; at < program.size();) {
        const std::size_t end = std::min(program.find('\n', at), program.size());
        const std::string line = program.substr(at, end - at);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] != '#')
            script.line(line);
        at = end + 1;
    }
}

} // namespace

std::string rejoinScriptText(const RejoinNames& names, int pieceCount, std::int64_t pieceSize, std::int64_t fileLength,
                             const SplitDigests& digests, const ScriptCodePage& codePage)
{
    const Rejoin r{names, pieceCount, pieceSize, fileLength, digests, codePage};
    BatchLines head, body;
    launcher(head);
    header(r, head);
    environment(r, body);
    pieceChecks(r, body);
    join(r, body);
    proofAndName(r, body);
    // What a success goes to, by goto end and call :hash, comes next: cmd
    // looks for a label from the line it is on, a line at a time.
    body.line(":end");
    body.cmd("popd");
    body.line("goto done");
    hashRoutine(r, body);
    failures(r, body);
    existingFile(r, body);
    body.exitBlock("nofolder", {std::string("echo ") + NoFolder}, "goto done");
    // Names too long for COMMAND.COM's lines: it would cut a copy's
    // destination, or join into a piece, so only cmd may join them.
    const bool needsNt = body.tooLongForCommandCom();
    if (needsNt) {
        body.exitBlock("needsnt", {std::string("echo ") + NeedsWindowsNt}, "goto done");
        head.notCmd("goto needsnt");
    }
    shPart(r, body);
    body.line(":done");
    head.append(body);
    return head.text();
}

std::string writeRejoinScript(const PieceNames& names, const RejoinNames& script, const SplitPlan& plan,
                              const SplitDigests& digests, const ScriptCodePage& codePage)
{
    const std::string text =
        rejoinScriptText(script, plan.pieceCount, plan.pieceSize, plan.fileLength, digests, codePage);
    return fileErrorMessage(writeFileText(scriptPath(names.piecePrefix), text, temporaryScriptPath(names.piecePrefix)));
}
