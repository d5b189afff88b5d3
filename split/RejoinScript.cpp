// The batch script that rebuilds the file from its pieces with copy /b.
#include "split/RejoinScript.h"

#include "split/PieceNames.h"
#include "split/SplitMessages.h"

#include <algorithm>
#include <cstring>

namespace {

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
    const Characters characters(name, codePage, ScriptCodePage::Side::Script);
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

// name as a command argument: quoted when it holds a special character.
std::string argument(const std::string& name, const ScriptCodePage& codePage)
{
    if (!Characters(name, codePage, ScriptCodePage::Side::Script).holdsAnyOf(NeedsQuotes))
        return name;
    return "\"" + doublePercents(name, codePage) + "\"";
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

// Whether a and b are one name as Windows compares them: ASCII letters in
// either case, characters of two bytes exactly.
bool sameName(const std::string& a, const std::string& b, const ScriptCodePage& codePage)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    const Characters characters(a, codePage, ScriptCodePage::Side::Names);
    for (std::size_t at = 0; at < a.size(); at += characters.lengthAt(at)) {
        if (characters.lengthAt(at) == 2 ? a.compare(at, 2, b, at, 2) != 0 : lower(a[at]) != lower(b[at]))
            return false;
    }
    return true;
}

// The lines that set ParcelorHash to the SHA-256 that certutil gives for the
// file that ParcelorFile names, as 64 lowercase hexadecimal digits; to
// nothing, once ParcelorUnchecked is set, when certutil is missing or gives
// no such digest.
// The first time that happens they say so, and give digest, the SHA-256 of
// the file shown as shownFile, for checking it by other means. Reached only
// by call under cmd.
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
std::string hashRoutine(const std::string& shownFile, const std::string& digest)
{
    const std::string certutil = "%SystemRoot%\\System32\\certutil.exe";
    std::string text = ":hash\r\n"
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
                       "set \"ParcelorRest=x%ParcelorHash%\"\r\n";
    // cmd replaces letters in either case.
    for (char digit : std::string("0123456789abcdef"))
        text += std::string("set \"ParcelorRest=%ParcelorRest:") + digit + "=%\"\r\n";
    text += "if not \"%ParcelorRest%\"==\"x\" goto unchecked\r\n"
            "if \"%ParcelorHash:~63%\"==\"\" goto unchecked\r\n"
            "if not \"%ParcelorHash:~64%\"==\"\" goto unchecked\r\n";
    // In lowercase, as the script's digests are: Wine's cmd cannot take an
    // if /i after another if.
    for (char letter : std::string("abcdef"))
        text += std::string("set \"ParcelorHash=%ParcelorHash:") + letter + "=" + letter + "%\"\r\n";
    text += "goto :eof\r\n"
            ":unchecked\r\n"
            "set ParcelorHash=\r\n"
            "set ParcelorUnchecked=1\r\n"
            "echo " + std::string(SplitMessages::ContentsNotChecked) + "\r\n"
            "echo " + SplitMessages::CheckByHandStart + shownFile + SplitMessages::CheckByHandMiddle + digest +
            ".\r\n"
            "echo.\r\n"
            "goto :eof\r\n";
    return text;
}

// The lines that set ParcelorHash, through the routine above, to the digest
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

} // namespace

ScriptClash scriptClash(const std::string& baseName, const std::string& fileName, const ScriptCodePage& codePage)
{
    if (sameName(fileName, baseName + ".bat", codePage))
        return ScriptClash::Script;
    if (sameName(fileName, ScratchFileName, codePage))
        return ScriptClash::Scratch;
    return ScriptClash::None;
}

bool canNameInScript(const std::string& name, const ScriptCodePage& codePage, ScriptCodePage::Side side)
{
    // No byte below 32 is ever the second byte of a character.
    return std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }) &&
           !Characters(name, codePage, side).holdsAnyOf("\"*?<>|");
}

std::string rejoinScriptText(const std::string& baseName, const std::string& fileName,
                             int pieceCount, std::int64_t pieceSize, std::int64_t fileLength,
                             const SplitDigests& digests, const ScriptCodePage& codePage)
{
    const std::string scratch = ScratchFileName;
    const std::string file = argument(fileName, codePage);
    const std::string shownFile = echoed(fileName, codePage);
    std::string script;
    auto line = [&script](const std::string& text) { script += text + "\r\n"; };
    // A line that COMMAND.COM runs and that would do harm if it were cut;
    // a cut echo only shows less.
    std::size_t longestCommand = 0;
    auto command = [&](const std::string& text) {
        line(text);
        longestCommand = std::max(longestCommand, text.size());
    };
    auto piece = [&baseName](int number) { return baseName + "." + pieceNumberText(number); };
    // Only cmd counts; what holds no byte needs no digest, its size proves it.
    int digestsToMatch = fileLength > 0 ? 1 : 0;

    // For anyone who checks the file with another tool. cmd expands percent
    // signs even in a rem line, and stops at one it cannot expand.
    line("@rem File: " + doublePercents(fileName, codePage));
    line("@rem Size: " + std::to_string(fileLength) + " bytes");
    line("@rem SHA-256: " + digests.file);
    line("@echo off");
    const std::string head = script;
    script.clear();
    // The script's variables live only as long as it does. It works in its
    // own folder, however it was started (its full path typed, a double
    // click on a network share), and goes back at every way out; setlocal
    // comes first, so that what it restores at the end is the user's folder.
    // It sets what it relies on rather than inherit it: command extensions
    // (%~dp0, call :label, for /f), no delayed expansion (which would eat
    // the ! of a name), and copy that never asks before it overwrites.
    line(UnderCmd + "setlocal EnableExtensions DisableDelayedExpansion");
    // Taken once: cmd finds the folder of %0 anew each time, from the
    // current folder when the script was started by a relative path.
    line(UnderCmd + "set \"ParcelorFolder=%~dp0\"");
    line(UnderCmd + "pushd \"%~dp0\"");
    line(UnderCmd + "if errorlevel 1 goto nofolder");
    line(UnderCmd + "set COPYCMD=/Y");
    line(UnderCmd + "set ParcelorDamaged=");
    line(UnderCmd + "set ParcelorUnchecked=");
    line(UnderCmd + "set ParcelorMatched=0");
    line("echo The file " + shownFile + " is now being created . . .");
    line("echo.");
    command("if exist " + scratch + " del " + scratch);
    for (int k = 1; k <= pieceCount; ++k) {
        line("if not exist " + argument(piece(k), codePage) + " echo The piece " + echoed(piece(k), codePage) +
             " is missing.");
        command("if not exist " + argument(piece(k), codePage) + " goto notcreated");
    }
    for (int k = 1; k <= pieceCount; ++k) {
        const std::int64_t size = pieceLength(k, pieceCount, pieceSize, fileLength);
        const std::string digits = std::to_string(size);
        line(measure(argument(piece(k), codePage)));
        line(unlessSize(size) + "echo The piece " + echoed(piece(k), codePage) +
             " has %ParcelorSize% bytes instead of " + digits + ".");
        line(unlessSize(size) + "goto notcreated");
    }
    // Every damaged piece is named before the script stops.
    for (int k = 1; k <= pieceCount; ++k) {
        if (pieceLength(k, pieceCount, pieceSize, fileLength) == 0)
            continue;
        const std::string& digest = digests.pieces[static_cast<std::size_t>(k - 1)];
        script += hashLines(piece(k), codePage);
        line(unlessDigest(digest) + "echo The piece " + echoed(piece(k), codePage) + SplitMessages::PieceDamagedEnd);
        line(unlessDigest(digest) + "set ParcelorDamaged=1");
        script += countMatch(digest);
        ++digestsToMatch;
    }
    line(UnderCmd + "if defined ParcelorDamaged goto notcreated");
    if (pieceCount == 1)
        command("copy /b " + argument(piece(1), codePage) + " " + scratch + " > nul");
    else
        command("copy /b " + argument(piece(1), codePage) + " + " + argument(piece(2), codePage) + " " + scratch + " > nul");
    line(StopOnFailedCopy);
    for (int k = 3; k <= pieceCount; ++k) {
        command("copy /b " + scratch + " + " + argument(piece(k), codePage) + " " + scratch + " > nul");
        line(StopOnFailedCopy);
    }
    command("copy " + scratch + " " + file + " > nul");
    line(StopOnFailedCopy);
    command("del " + scratch + " > nul");
    line(measure(file));
    line(unlessSize(fileLength) + "goto wrongsize");
    if (fileLength > 0) {
        script += hashLines(fileName, codePage);
        line(unlessDigest(digests.file) + "goto damaged");
        script += countMatch(digests.file);
    }
    // The one check that COMMAND.COM can make of the join.
    command("if not exist " + file + " goto notcreated");
    line("echo The file " + shownFile + " was successfully created.");
    const std::string matched = "\"%ParcelorMatched%\"==\"" + std::to_string(digestsToMatch) + "\" ";
    line(UnderCmd + "if " + matched + "echo " + SplitMessages::ContentsChecked);
    line(UnderCmd + "if not " + matched + "echo " + SplitMessages::SizesChecked);
    line("echo.");
    line("pause");
    line("");

    line("goto end");
    line(":notcreated");
    line("echo The file " + shownFile + " was not created.");
    line("echo.");
    line("pause");
    line("goto end");
    line(":failed");
    line("if exist " + scratch + " del " + scratch);
    line("echo A copy failed: the file " + shownFile + " was not created completely.");
    line("echo.");
    line("pause");
    line("goto end");
    line(":wrongsize");
    line("echo The file " + shownFile + " has %ParcelorSize% bytes instead of " + std::to_string(fileLength) +
         ": it was not created correctly.");
    line("echo.");
    line("pause");
    line("goto end");
    line(":damaged");
    line("echo The file " + shownFile + SplitMessages::FileDamagedEnd);
    line("echo.");
    line("pause");
    line(":end");
    line(UnderCmd + "popd");
    line("goto done");
    line(":nofolder");
    line(std::string("echo ") + SplitMessages::NoFolder);
    line("echo.");
    line("pause");
    line("goto done");
    // Names too long for COMMAND.COM's lines: it would cut a copy's
    // destination, or join into a piece, so only cmd may join them.
    if (longestCommand > CommandComLine) {
        script = "if not \"%OS%\"==\"Windows_NT\" goto needsnt\r\n" + script;
        line(":needsnt");
        line(std::string("echo ") + SplitMessages::NeedsWindowsNt);
        line("echo.");
        line("pause");
        line("goto done");
    }
    script += hashRoutine(shownFile, digests.file);
    line(":done");
    return head + script;
}
