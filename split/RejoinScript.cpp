// The rejoin script: one text that cmd, COMMAND.COM and sh each run whole.
//
// For REPORT.V2.DOC in three pieces of 1,000 bytes, in short ("cmd:" marks
// lines that start with if "%OS%"=="Windows_NT", which only cmd passes;
// "..." marks lines left out):
//
//   :; eval "$(awk 'p{sub(/\r$/,"");print}/^:sh\r?$/{p=1}' "$0")";exit 1 #
//   @rem To rebuild REPORT.V2.DOC from its pieces in this folder: on Windows, run REPORT.V2.bat;
//   @rem on Linux or macOS, run: sh REPORT.V2.bat
//   @rem File: REPORT.V2.DOC / Size: 2500 bytes / SHA-256: 64 digits
//   @echo off
//   cmd: setlocal, ParcelorFolder=%~dp0, pushd there, COPYCMD=/Y, its flags cleared
//   echo The file REPORT.V2.DOC is now being created . . .      announce, then progress
//   if exist parcelor.tmp del parcelor.tmp
//   if not exist REPORT.V2.001 goto notcreated ...              every piece there
//   cmd: for %%f in (REPORT.V2.001) do set ParcelorSize=%%~zf   ... and of its size
//   if exist REPORT.V2.DOC goto present                         never over a file already here
//   :joinpieces
//   copy /b REPORT.V2.001 + REPORT.V2.002 parcelor.tmp > nul
//   copy /b parcelor.tmp + REPORT.V2.003 parcelor.tmp > nul
//   cmd: if defined ParcelorReplace goto replace
//   copy parcelor.tmp REPORT.V2.DOC > nul
//   del parcelor.tmp > nul
//   cmd: its size, then call :hash, its one SHA-256 from certutil
//   echo The file REPORT.V2.DOC was successfully created.       and what was checked
//   :notcreated / :failed / :wrongsize / :damaged               the ways out, each with its pause;
//                                                               :damaged hashes the pieces to name the bad ones
//   :present ... :ask (set /p) ... :kept ... :replace           a file already here
//   :end / :nofolder / :hash (the certutil routine)
//   :sh                                                         what sh runs: the same checks
//   file='REPORT.V2.DOC' ... exit 0
//   :done
#include "split/RejoinScript.h"

#include "split/PieceNames.h"
#include "split/SplitMessages.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

using namespace SplitMessages;

// Characters that split an argument of copy or mean something to cmd;
// 0xFF among them, which cmd takes for a blank.
constexpr const char* NeedsQuotes = " &^(),;=+%\xFF";
// Characters that cmd acts on in an echo line.
constexpr const char* EchoOperators = "&^()<>|";

// name rewritten character by character in the script's character set:
// every character of one byte through change, every one of two as it is.
template <typename Change>
std::string rewritten(const std::string& name, const ScriptCodePage& codePage, Change change)
{
    const auto characters = charactersOf(name, codePage, ScriptCodePage::Side::Script);
    std::string text;
    for (std::size_t at = 0; at < name.size(); at += characters.lengthAt(at)) {
        if (characters.lengthAt(at) == 2)
            text += name.substr(at, 2);
        else
            text += change(name[at]);
    }
    return text;
}

std::string doublePercents(const std::string& name, const ScriptCodePage& codePage)
{
    return rewritten(name, codePage, [](char c) { return c == '%' ? std::string("%%") : std::string(1, c); });
}

// name in quotes, in a command or an echo line (which prints them): between
// quotes cmd acts on no character but %.
std::string quoted(const std::string& name, const ScriptCodePage& codePage)
{
    return "\"" + doublePercents(name, codePage) + "\"";
}

// name as a command argument: quoted when it holds a special character.
std::string argument(const std::string& name, const ScriptCodePage& codePage)
{
    if (!charactersOf(name, codePage, ScriptCodePage::Side::Script).holdsAnyOf(NeedsQuotes))
        return name;
    return quoted(name, codePage);
}

// name as words of an echo line: printed as typed.
std::string echoed(const std::string& name, const ScriptCodePage& codePage)
{
    return rewritten(name, codePage, [](char c) {
        if (c == '%')
            return std::string("%%");
        return std::string(std::strchr(EchoOperators, c) ? "^" : "") + c;
    });
}

// text as one word of sh, which takes nothing between single quotes for
// anything but itself.
std::string shQuoted(const std::string& text)
{
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// name as a word that a user types at a sh prompt: quoted only when it must be.
std::string shTyped(const std::string& name)
{
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::strchr("._-+,@%/", c);
    });
    return plain ? name : shQuoted(name);
}

// Older interpreters set no error level after a copy, and may carry a stale
// one from an earlier program, so only cmd's is trusted.
constexpr const char* StopOnFailedCopy = "if \"%OS%\"==\"Windows_NT\" if errorlevel 1 goto failed";

// Only cmd can tell a file's size (the ~z of a for variable); older
// interpreters skip every line that starts so.
const std::string UnderCmd = "if \"%OS%\"==\"Windows_NT\" ";

// Sets ParcelorSize to the size, in digits, of the file that argument names;
// to nothing when there is none.
// The name stays out of the loop's body, where a % sign of its own would be
// taken for the loop variable.
std::string measure(const std::string& argument)
{
    return UnderCmd + "for %%f in (" + argument + ") do set ParcelorSize=%%~zf";
}

// The start of a line that goes on only when the size measured is not size.
// cmd compares numbers in 32 bits, so the digits are compared as text. Some
// interpreters (Wine's cmd) tell only the low 32 bits of a size; for a file
// of 4 GiB or more those digits are taken too, unless they are 0, the size
// of a file that was not written at all.
std::string unlessSize(std::int64_t size)
{
    auto differs = [](std::int64_t value) {
        return "if not \"%ParcelorSize%\"==\"" + std::to_string(value) + "\" ";
    };
    std::string text = UnderCmd + differs(size);
    const std::int64_t low = size & 0xFFFFFFFF;
    if (low != size && low != 0)
        text += differs(low);
    return text;
}

// The lines that set ParcelorHash, through the routine :hash, to the digest
// that certutil gives for the file name in the script's folder. certutil
// gets its full path: the command processor that runs it first runs any
// AutoRun command of the registry, which may change the folder.
std::string hashLines(const std::string& name, const ScriptCodePage& codePage)
{
    return UnderCmd + "set \"ParcelorFile=%ParcelorFolder%" + doublePercents(name, codePage) + "\"\r\n" + UnderCmd +
           "call :hash\r\n";
}

// The start of a line that goes on only when certutil gave a digest other than digest.
std::string unlessDigest(const std::string& digest)
{
    return UnderCmd + "if defined ParcelorHash if not \"%ParcelorHash%\"==\"" + digest + "\" ";
}

// The line that counts a digest from certutil equal to digest: only counted
// matches prove the contents, never the absence of a failure.
std::string countMatch(const std::string& digest)
{
    return UnderCmd + "if \"%ParcelorHash%\"==\"" + digest + "\" set /a ParcelorMatched+=1 > nul\r\n";
}

// The longest line that COMMAND.COM (DOS, Windows 9x) reads whole; it cuts the rest.
constexpr std::size_t CommandComLine = 127;

// What the script is made of: the split, and its names in the forms that the lines need.
struct Rejoin {
    const RejoinNames& names;
    int pieceCount;
    std::int64_t pieceSize, fileLength;
    const SplitDigests& digests;
    const ScriptCodePage& codePage;
    std::string file = argument(names.fileName, codePage);
    std::string shownFile = echoed(names.fileName, codePage);

    std::string piece(int number) const { return names.baseName + "." + pieceNumberText(number); }
    std::string pieceArgument(int number) const { return argument(piece(number), codePage); }
    std::string shownPiece(int number) const { return echoed(piece(number), codePage); }
    std::int64_t length(int number) const { return pieceLength(number, pieceCount, pieceSize, fileLength); }
    const std::string& digest(int number) const { return digests.pieces[static_cast<std::size_t>(number - 1)]; }
    std::string joining() const
    {
        return pieceCount == 1 ? std::string(JoiningOne) : JoiningStart + std::to_string(pieceCount) + JoiningEnd;
    }
    // How to compute the file's SHA-256 elsewhere, with the name as the script shows it.
    std::string howToHash(const std::string& quoted) const
    {
        return HowToHashStart + quoted + HowToHashWindows + quoted + HowToHashOr + quoted + HowToHashEnd;
    }
};

// The script's lines as they are written, and the longest that COMMAND.COM
// must run whole.
class ScriptLines {
public:
    void line(const std::string& text) { m_text += text + "\r\n"; }
    // A line that COMMAND.COM runs and that would do harm if it were cut; a
    // cut echo only shows less.
    void command(const std::string& text)
    {
        line(text);
        m_longestCommand = std::max(m_longestCommand, text.size());
    }
    void echo(const std::string& text) { line("echo " + text); }
    // A label that says text, then goes to next (or on to the lines after).
    void saying(const std::string& label, const std::string& text, const std::string& next = "")
    {
        line(":" + label);
        echo(text);
        if (!next.empty())
            line(next);
    }
    // Lines that already end in CR LF.
    void append(const std::string& lines) { m_text += lines; }
    // A way out: its label (none when it follows on), what it does and says,
    // a pause for the user to read it, then where it goes.
    void exitBlock(const std::string& label, std::initializer_list<std::string> lines,
                   const std::string& next = "goto end")
    {
        if (!label.empty())
            line(":" + label);
        for (const std::string& text : lines)
            line(text);
        line("echo.");
        line("pause");
        line(next);
    }

    const std::string& text() const { return m_text; }
    std::size_t longestCommand() const { return m_longestCommand; }

private:
    std::string m_text;
    std::size_t m_longestCommand = 0;
};

// For sh: the rest of the first line is a label to cmd and COMMAND.COM. It
// runs what follows the line :sh with the CR of every line end taken off;
// the # hides this line's own. Nothing here is a redirection that COMMAND.COM
// could act on, and its first word is none of COMMAND.COM's commands.
void launcher(ScriptLines& script)
{
    script.line(":; eval \"$(awk 'p{sub(/\\r$/,\"\");print}/^:sh\\r?$/{p=1}' \"$0\")\";exit 1 #");
}

// For anyone who opens the script or checks the file with another tool. cmd
// expands percent signs even in a rem line, and stops at one it cannot expand.
void header(const Rejoin& r, ScriptLines& script)
{
    const std::string scriptName = r.names.baseName + ".bat";
    script.line("@rem " + doublePercents(RunStart + r.names.fileName + RunOnWindows + scriptName + ";", r.codePage));
    // sh would take a name that starts with - for options, quoted or not.
    const std::string typed = scriptName[0] == '-' ? "./" + scriptName : scriptName;
    script.line("@rem " + doublePercents(RunElsewhere + ("sh " + shTyped(typed)), r.codePage));
    script.line("@rem File: " + doublePercents(r.names.fileName, r.codePage));
    script.line("@rem Size: " + std::to_string(r.fileLength) + " bytes");
    script.line("@rem SHA-256: " + r.digests.file);
    script.line("@echo off");
}

// The script's variables live only as long as it does. It works in its own
// folder, however it was started (its full path typed, a double click on a
// network share), and goes back at every way out; setlocal comes first, so
// that what it restores at the end is the user's folder. It sets what it
// relies on rather than inherit it: command extensions (%~dp0, call :label,
// for /f), no delayed expansion (which would eat the ! of a name), and copy
// that never asks before it overwrites.
void environment(const Rejoin& r, ScriptLines& script)
{
    script.line(UnderCmd + "setlocal EnableExtensions DisableDelayedExpansion");
    // Taken once: cmd finds the folder of %0 anew each time, from the
    // current folder when the script was started by a relative path.
    script.line(UnderCmd + "set \"ParcelorFolder=%~dp0\"");
    script.line(UnderCmd + "pushd \"%~dp0\"");
    script.line(UnderCmd + "if errorlevel 1 goto nofolder");
    script.line(UnderCmd + "set COPYCMD=/Y");
    for (const char* flag : {"ParcelorDamaged", "ParcelorUnchecked", "ParcelorReplace"})
        script.line(UnderCmd + "set " + flag + "=");
    script.line(UnderCmd + "set ParcelorMatched=0");
    script.echo(FileStart + r.shownFile + CreatingEnd);
    script.line("echo.");
    script.echo(CheckingPieces);
    script.command("if exist " + std::string(ScratchFileName) + " del " + ScratchFileName);
}

// Every piece there, then, under cmd, every piece of its size; nothing
// opened yet.
void pieceChecks(const Rejoin& r, ScriptLines& script)
{
    for (int k = 1; k <= r.pieceCount; ++k) {
        script.line("if not exist " + r.pieceArgument(k) + " echo " + PieceStart + r.shownPiece(k) + PieceMissingEnd);
        script.command("if not exist " + r.pieceArgument(k) + " goto notcreated");
    }
    for (int k = 1; k <= r.pieceCount; ++k) {
        const std::string digits = std::to_string(r.length(k));
        const std::string unless = unlessSize(r.length(k));
        // A folder has a size too, 0 or nothing; its attributes start with d.
        const std::string folder = "\"%ParcelorKind:~0,1%\"==\"d\" ";
        script.line(measure(r.pieceArgument(k)));
        script.line(unless + "for %%f in (" + r.pieceArgument(k) + ") do set ParcelorKind=%%~af");
        script.line(unless + "if " + folder + "echo " + PieceStart + r.shownPiece(k) + PieceFolderEnd);
        script.line(unless + "if not " + folder + "echo " + PieceStart + r.shownPiece(k) + SizeMiddle +
                    "%ParcelorSize%" + SizeInsteadOf + digits + PieceSizeEnd);
        script.line(unless + "goto notcreated");
    }
}

// The pieces gathered in the scratch file, with copy /b, once cmd has made
// sure that the folder can hold it. A file already here takes the way
// through :present, which comes back here only to replace it.
void join(const Rejoin& r, ScriptLines& script)
{
    const std::string scratch = ScratchFileName;
    script.command("if exist " + r.file + " goto present");
    script.line(":joinpieces");
    // The scratch file made empty first: a folder that cannot be written
    // to is told apart from a failed copy.
    script.line(UnderCmd + "copy nul " + scratch + " > nul 2> nul");
    script.line(UnderCmd + "if not exist " + scratch + " goto readonly");
    script.echo(r.joining());
    if (r.pieceCount == 1)
        script.command("copy /b " + r.pieceArgument(1) + " " + scratch + " > nul");
    else
        script.command("copy /b " + r.pieceArgument(1) + " + " + r.pieceArgument(2) + " " + scratch + " > nul");
    script.line(StopOnFailedCopy);
    for (int k = 3; k <= r.pieceCount; ++k) {
        script.command("copy /b " + scratch + " + " + r.pieceArgument(k) + " " + scratch + " > nul");
        script.line(StopOnFailedCopy);
    }
}

// Says so, and how far the checks went: only a counted match of the file's
// digest proves its contents; COMMAND.COM can only have seen the pieces.
void success(const Rejoin& r, ScriptLines& script)
{
    const std::string matched = "\"%ParcelorMatched%\"==\"" + std::to_string(r.fileLength > 0 ? 1 : 0) + "\" ";
    script.echo(FileStart + r.shownFile + CreatedEnd);
    script.line(UnderCmd + "if " + matched + "echo " + ContentsChecked);
    script.line(UnderCmd + "if not " + matched + "echo " + SizesChecked);
    script.line(std::string("if not \"%OS%\"==\"Windows_NT\" echo ") + PresenceChecked);
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
// holds no byte, whose size proves it.
void proofAndName(const Rejoin& r, ScriptLines& script)
{
    const std::string scratch = ScratchFileName;
    script.line(measure(scratch));
    script.line(unlessSize(r.fileLength) + "goto wrongsize");
    if (r.fileLength > 0) {
        script.line(UnderCmd + "echo " + CheckingFile);
        script.append(hashLines(scratch, r.codePage));
        script.line(unlessDigest(r.digests.file) + "goto damaged");
        script.append(countMatch(r.digests.file));
    }
    script.line(UnderCmd + "if defined ParcelorReplace goto replace");
    script.command("ren " + scratch + " " + r.file);
    script.line(StopOnFailedCopy);
    // The one check that COMMAND.COM can make of the join.
    script.command("if not exist " + r.file + " goto notcreated");
    success(r, script);
}

// The ways out of a failed join. Only the scratch file held the join, and it
// is removed. A failed copy has every piece read once more, to name any that
// cannot be read; a damaged rebuild has its pieces hashed, to name every
// damaged one.
void failures(const Rejoin& r, ScriptLines& script)
{
    const std::string removeScratch = "if exist " + std::string(ScratchFileName) + " del " + ScratchFileName;
    script.exitBlock("notcreated", {"echo " + (FileStart + r.shownFile + NotCreatedEnd)});
    script.exitBlock("readonly", {"echo " + (NotWritableStart + r.shownFile + NotWritableEnd)});
    script.line(":failed");
    script.line(removeScratch);
    for (int k = 1; k <= r.pieceCount; ++k) {
        // echo and set leave the error level of the copy as it was.
        script.line(UnderCmd + "copy /b " + r.pieceArgument(k) + " nul > nul 2> nul");
        script.line(UnderCmd + "if errorlevel 1 echo " + PieceStart + r.shownPiece(k) + PieceUnreadableEnd);
        script.line(UnderCmd + "if errorlevel 1 set ParcelorDamaged=1");
    }
    script.line(UnderCmd + "if defined ParcelorDamaged goto notcreated");
    script.exitBlock("", {"echo " + (CopyFailedStart + r.shownFile + CopyFailedMiddle + std::to_string(r.fileLength) +
                                     CopyFailedEnd)});
    script.exitBlock("wrongsize", {removeScratch,
                                   "echo " + (FileStart + r.shownFile + SizeMiddle + "%ParcelorSize%" + SizeInsteadOf +
                                              std::to_string(r.fileLength) + WrongFileSizeEnd)});
    script.line(":damaged");
    script.line(removeScratch);
    script.echo(CheckingEveryPiece);
    for (int k = 1; k <= r.pieceCount; ++k) {
        if (r.length(k) == 0)
            continue;
        script.append(hashLines(r.piece(k), r.codePage));
        script.line(unlessDigest(r.digest(k)) + "echo " + PieceStart + r.shownPiece(k) + PieceDamagedEnd);
        script.line(unlessDigest(r.digest(k)) + "set ParcelorDamaged=1");
    }
    script.line(UnderCmd + "if defined ParcelorDamaged goto notcreated");
    script.exitBlock("", {"echo " + (FileStart + r.shownFile + FileDamagedEnd)});
}

// A file of the rebuilt name already here. Equal to the original: left as
// it is, with success. Otherwise cmd asks before it is replaced (no answer,
// as from redirected input, means no), and replaces it only by a proven
// rebuild, or, where nothing can prove one, after that yes; COMMAND.COM,
// which can neither compare nor ask, and a folder of that name, keep it.
void existingFile(const Rejoin& r, ScriptLines& script)
{
    script.line(":present");
    script.line("if not \"%OS%\"==\"Windows_NT\" goto uncheckable");
    script.line("set ParcelorAttributes=-");
    script.line("for %%f in (" + r.file + ") do set ParcelorAttributes=%%~af");
    script.line("if \"%ParcelorAttributes:~0,1%\"==\"d\" goto folder");
    script.line("set ParcelorReplace=1");
    script.line(measure(r.file));
    script.line(unlessSize(r.fileLength) + "goto different");
    if (r.fileLength > 0) {
        script.echo(FileStart + r.shownFile + CheckingExistingEnd);
        script.append(hashLines(r.names.fileName, r.codePage));
        script.line("if not defined ParcelorHash goto unproven");
        script.line(unlessDigest(r.digests.file) + "goto different");
    }
    script.exitBlock("", {"echo " + (FileStart + r.shownFile + AlreadyHereEnd)});
    script.saying("different", FileStart + r.shownFile + DiffersEnd, "goto ask");
    script.saying("unproven", FileStart + r.shownFile + UnprovenEnd);
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
    script.saying("folder", FolderStart + r.shownFile + FolderEnd, "goto kept");
    script.saying("uncheckable", FileStart + r.shownFile + UncheckableEnd);
    script.saying("kept", KeptStart + r.shownFile + KeptEnd, "goto notcreated");
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
void hashRoutine(const Rejoin& r, ScriptLines& script)
{
    const std::string certutil = "%SystemRoot%\\System32\\certutil.exe";
    script.append(":hash\r\n"
                  "set ParcelorHash=\r\n"
                  "if defined ParcelorUnchecked goto :eof\r\n"
                  "if not exist \"" + certutil + "\" goto unchecked\r\n"
                  "set ParcelorLine=\r\n"
                  "for /f \"skip=1 delims=\" %%h in ('\"\"" + certutil + "\" -hashfile \"%%ParcelorFile%%\" SHA256\"') "
                  "do if not defined ParcelorLine set \"ParcelorLine=%%h\"\r\n"
                  "if not defined ParcelorLine goto unchecked\r\n"
                  "set \"ParcelorHash=%ParcelorLine:\"=%\"\r\n"
                  "set \"ParcelorHash=%ParcelorHash: =%\"\r\n"
                  "if not defined ParcelorHash goto unchecked\r\n"
                  // The x keeps the variable defined when every digit is gone.
                  "set \"ParcelorRest=x%ParcelorHash%\"\r\n");
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
    script.echo(CheckByHandStart + r.shownFile + CheckByHandMiddle + r.digests.file + ".");
    script.echo(r.howToHash(quoted(r.names.fileName, r.codePage)));
    script.line("echo.");
    script.line("goto :eof");
}

// The code that sh runs, the same for every split: the checks and messages
// of cmd's, with the file's and pieces' data set before it. Each @Name@ is
// the message of that name, quoted. As under cmd, the pieces are joined in
// the scratch file and proven there; then the file's name is taken in one
// rename, which no signal interrupts. A rebuild stopped before that leaves
// at most the scratch file, which every run first removes. The tools'
// complaints go to /dev/null: the script says what went wrong in its words.
constexpr const char* ShRebuild = R"sh(say() { printf '%s\n' "$1"; }
piece() { n=$((1000 + $1)); p=$base.${n#1}; }
digestof() {
	case $tool in
	sha256sum) sum=$(sha256sum 2> /dev/null < "$1") ;;
	shasum) sum=$(shasum -a 256 2> /dev/null < "$1") ;;
	*) sum=$(openssl dgst -sha256 2> /dev/null < "$1") ;;
	esac
	sum=${sum##*= }
	sum=${sum%% *}
}
unreadable() {
	found=
	for p in "$@"; do
		cat "$p" > /dev/null 2>&1 || { say @PieceStart@"${p#./}"@PieceUnreadableEnd@; found=1; }
	done
	[ -n "$found" ]
}
stopped() {
	rm -f ./parcelor.tmp
	say @FileStart@"$file"@StoppedEnd@
	exit 1
}
case $0 in */*) here=${0%/*}/ ;; *) here=./ ;; esac
case $here in /*) ;; *) here=./$here ;; esac
cd "$here" || { say @NoFolder@; exit 1; }
trap stopped HUP INT TERM
if [ -e ./parcelor.tmp ] || [ -h ./parcelor.tmp ]; then rm -f ./parcelor.tmp 2> /dev/null; fi
tool=
for t in sha256sum shasum openssl; do
	if command -v $t > /dev/null 2>&1; then tool=$t; break; fi
done
say @FileStart@"$file"@CreatingEnd@
say ''
say @CheckingPieces@
bad=
for p in "$@"; do
	if [ -d "$p" ]; then
		say @PieceStart@"${p#./}"@PieceFolderEnd@
	elif [ ! -f "$p" ]; then
		say @PieceStart@"${p#./}"@PieceMissingEnd@
	elif [ ! -r "$p" ]; then
		say @PieceStart@"${p#./}"@PieceUnreadableEnd@
	else
		continue
	fi
	bad=1
done
if [ -z "$bad" ] && ! sizes=$(wc -c "$@" 2> /dev/null); then
	unreadable "$@"
	bad=1
fi
if [ -z "$bad" ]; then
	k=0
	set -f
	IFS='
'
	for line in $sizes; do
		k=$((k + 1))
		[ $k -le $count ] || break
		got=${line#"${line%%[! ]*}"}
		got=${got%% *}
		want=$part
		[ $k -lt $count ] || want=$last
		piece $k
		[ "$got" = "$want" ] || { say @PieceStart@"$p"@SizeMiddle@"$got"@SizeInsteadOf@"$want"@PieceSizeEnd@; bad=1; }
	done
	unset IFS
	set +f
fi
if [ -n "$bad" ]; then say @FileStart@"$file"@NotCreatedEnd@; exit 1; fi
if [ -z "$tool" ]; then
	say @NoHashTool@
	say @CheckByHandStart@"$file"@CheckByHandMiddle@"$digest."
	say @HowToHashStart@"\"$file\""@HowToHashWindows@"\"$file\""@HowToHashOr@"\"$file\""@HowToHashEnd@
	say ''
fi
replace=
kept=
if [ -d "./$file" ]; then
	say @FolderStart@"$file"@FolderEnd@
	kept=1
elif [ -e "./$file" ] || [ -h "./$file" ]; then
	got=$(wc -c 2> /dev/null < "./$file")
	got=${got##* }
	if [ "$got" = "$size" ] && [ -n "$tool" ] && [ "$size" != 0 ]; then
		say @FileStart@"$file"@CheckingExistingEnd@
		digestof "./$file"
		[ "$sum" = "$digest" ] || got=
	fi
	if [ "$got" = "$size" ] && { [ -n "$tool" ] || [ "$size" = 0 ]; }; then
		say @FileStart@"$file"@AlreadyHereEnd@
		exit 0
	fi
	if [ "$got" = "$size" ]; then say @FileStart@"$file"@UnprovenEnd@; else say @FileStart@"$file"@DiffersEnd@; fi
	printf '%s' @ReplacePrompt@
	answer=
	read -r answer || answer=
	case $answer in [yY]*) replace=1 ;; *) kept=1 ;; esac
fi
if [ -n "$kept" ]; then
	say @KeptStart@"$file"@KeptEnd@
	say @FileStart@"$file"@NotCreatedEnd@
	exit 1
fi
set -C
if ! { true > ./parcelor.tmp; } 2> /dev/null; then
	say @NotWritableStart@"$file"@NotWritableEnd@
	exit 1
fi
set +C
say @Joining@
if ! cat "$@" 2> /dev/null >> ./parcelor.tmp; then
	rm -f ./parcelor.tmp
	if unreadable "$@"; then
		say @FileStart@"$file"@NotCreatedEnd@
	else
		say @CopyFailedStart@"$file"@CopyFailedMiddle@"$size"@CopyFailedEnd@
	fi
	exit 1
fi
if [ -z "$tool" ]; then
	got=$(wc -c < ./parcelor.tmp)
	got=${got##* }
	if [ "$got" != "$size" ]; then
		rm -f ./parcelor.tmp
		say @FileStart@"$file"@SizeMiddle@"$got"@SizeInsteadOf@"$size"@WrongFileSizeEnd@
		exit 1
	fi
else
	say @CheckingFile@
	digestof ./parcelor.tmp
	if [ "$sum" != "$digest" ]; then
		rm -f ./parcelor.tmp
		say @CheckingEveryPiece@
		damaged=
		k=0
		for d in $digests; do
			k=$((k + 1))
			piece $k
			digestof "./$p"
			[ "$sum" = "$d" ] || { say @PieceStart@"$p"@PieceDamagedEnd@; damaged=1; }
		done
		if [ -n "$damaged" ]; then say @FileStart@"$file"@NotCreatedEnd@; else say @FileStart@"$file"@FileDamagedEnd@; fi
		exit 1
	fi
fi
trap '' HUP INT TERM
if [ -d "./$file" ] || { [ -z "$replace" ] && { [ -e "./$file" ] || [ -h "./$file" ]; }; }; then
	rm -f ./parcelor.tmp
	say @KeptStart@"$file"@KeptEnd@
	say @FileStart@"$file"@NotCreatedEnd@
	exit 1
fi
if ! mv -f ./parcelor.tmp "./$file" 2> /dev/null; then
	rm -f ./parcelor.tmp
	say @CopyFailedStart@"$file"@CopyFailedMiddle@"$size"@CopyFailedEnd@
	exit 1
fi
say @FileStart@"$file"@CreatedEnd@
if [ -n "$tool" ]; then say @ContentsChecked@; else say @SizesChecked@; fi
exit 0)sh";

// The part for sh, after the line :sh, to which cmd never goes: the data in
// UTF-8, then the code. No line of it starts with a colon, so that no
// interpreter of batch files finds a label in it.
void shPart(const Rejoin& r, ScriptLines& script)
{
    script.line(":sh");
    script.line("file=" + shQuoted(r.names.utf8FileName));
    script.line("base=" + shQuoted(r.names.utf8BaseName));
    script.line("count=" + std::to_string(r.pieceCount));
    script.line("part=" + std::to_string(r.length(1)));
    script.line("last=" + std::to_string(r.length(r.pieceCount)));
    script.line("size=" + std::to_string(r.fileLength));
    script.line("digest=" + r.digests.file);
    script.line("digests='");
    for (int k = 1; k <= r.pieceCount; ++k)
        script.line(r.digest(k));
    script.line("'");
    // The pieces, in number order, as the arguments of the code below; a
    // few to a line, so that no line is longer than cmd reads whole
    // (8,191 characters) while it looks for a label.
    script.line("set --");
    for (int first = 1; first <= r.pieceCount; first += 16) {
        std::string pieces = "set -- \"$@\"";
        for (int k = first; k < first + 16 && k <= r.pieceCount; ++k)
            pieces += " " + shQuoted("./" + r.names.utf8BaseName + "." + pieceNumberText(k));
        script.line(pieces);
    }

    const std::pair<const char*, std::string> messages[] = {
        {"NoFolder", NoFolder}, {"FileStart", FileStart}, {"CreatingEnd", CreatingEnd},
        {"CheckingPieces", CheckingPieces}, {"PieceStart", PieceStart}, {"PieceMissingEnd", PieceMissingEnd},
        {"SizeMiddle", SizeMiddle}, {"SizeInsteadOf", SizeInsteadOf}, {"PieceSizeEnd", PieceSizeEnd},
        {"NotCreatedEnd", NotCreatedEnd}, {"NoHashTool", NoHashTool}, {"CheckByHandStart", CheckByHandStart},
        {"CheckByHandMiddle", CheckByHandMiddle}, {"HowToHashStart", HowToHashStart},
        {"HowToHashWindows", HowToHashWindows}, {"HowToHashOr", HowToHashOr}, {"HowToHashEnd", HowToHashEnd},
        {"FolderStart", FolderStart}, {"FolderEnd", FolderEnd}, {"CheckingExistingEnd", CheckingExistingEnd},
        {"AlreadyHereEnd", AlreadyHereEnd}, {"UnprovenEnd", UnprovenEnd}, {"DiffersEnd", DiffersEnd},
        {"ReplacePrompt", ReplacePrompt}, {"KeptStart", KeptStart}, {"KeptEnd", KeptEnd},
        {"Joining", r.joining()}, {"CopyFailedStart", CopyFailedStart}, {"CopyFailedEnd", CopyFailedEnd},
        {"WrongFileSizeEnd", WrongFileSizeEnd}, {"CheckingFile", CheckingFile},
        {"CheckingEveryPiece", CheckingEveryPiece}, {"PieceDamagedEnd", PieceDamagedEnd},
        {"FileDamagedEnd", FileDamagedEnd}, {"CreatedEnd", CreatedEnd}, {"ContentsChecked", ContentsChecked},
        {"SizesChecked", SizesChecked}, {"PieceFolderEnd", PieceFolderEnd},
        {"PieceUnreadableEnd", PieceUnreadableEnd}, {"StoppedEnd", StoppedEnd},
        {"NotWritableStart", NotWritableStart}, {"NotWritableEnd", NotWritableEnd},
        {"CopyFailedMiddle", CopyFailedMiddle},
    };
    std::string code = ShRebuild;
    for (const auto& [name, text] : messages) {
        const std::string key = std::string("@") + name + "@";
        for (std::size_t at = code.find(key); at != std::string::npos; at = code.find(key, at))
            code.replace(at, key.size(), shQuoted(text));
    }
    for (std::size_t at = 0; at <= code.size();) {
        const std::size_t end = std::min(code.find('\n', at), code.size());
        script.line(code.substr(at, end - at));
        at = end + 1;
    }
}

} // namespace

std::string rejoinScriptText(const RejoinNames& names, int pieceCount, std::int64_t pieceSize,
                             std::int64_t fileLength, const SplitDigests& digests, const ScriptCodePage& codePage)
{
    const Rejoin r{names, pieceCount, pieceSize, fileLength, digests, codePage};
    ScriptLines head, body;
    launcher(head);
    header(r, head);
    environment(r, body);
    pieceChecks(r, body);
    join(r, body);
    proofAndName(r, body);
    failures(r, body);
    existingFile(r, body);
    body.line(":end");
    body.line(UnderCmd + "popd");
    body.line("goto done");
    body.exitBlock("nofolder", {std::string("echo ") + NoFolder}, "goto done");
    // Names too long for COMMAND.COM's lines: it would cut a copy's
    // destination, or join into a piece, so only cmd may join them.
    const bool needsNt = body.longestCommand() > CommandComLine;
    if (needsNt)
        body.exitBlock("needsnt", {std::string("echo ") + NeedsWindowsNt}, "goto done");
    hashRoutine(r, body);
    shPart(r, body);
    body.line(":done");
    return head.text() + (needsNt ? "if not \"%OS%\"==\"Windows_NT\" goto needsnt\r\n" : "") + body.text();
}
