// The batch script that rebuilds the file from its pieces with copy /b.
#include "split/RejoinScript.h"

#include "split/PieceNames.h"

#include <algorithm>

namespace {

// Characters that split an argument of copy or mean something to cmd.
constexpr const char* NeedsQuotes = " &^(),;=+%";
// Characters that cmd acts on in an echo line.
constexpr const char* EchoOperators = "&^()<>|";

std::string doublePercents(const std::string& name)
{
    std::string text;
    for (char c : name) {
        text += c;
        if (c == '%')
            text += '%';
    }
    return text;
}

// name as a command argument: quoted when it holds a special character.
std::string argument(const std::string& name)
{
    if (name.find_first_of(NeedsQuotes) == std::string::npos)
        return name;
    return "\"" + doublePercents(name) + "\"";
}

// name as words of an echo line: printed as typed.
std::string echoed(const std::string& name)
{
    std::string text;
    for (char c : name) {
        if (std::string(EchoOperators).find(c) != std::string::npos)
            text += '^';
        text += c;
        if (c == '%')
            text += '%';
    }
    return text;
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

} // namespace

bool canNameInScript(const std::string& name)
{
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 || std::string("\"*?<>|").find(c) != std::string::npos;
    });
}

std::string rejoinScriptText(const std::string& baseName, const std::string& fileName,
                             int pieceCount, std::int64_t pieceSize, std::int64_t fileLength)
{
    const std::string scratch = ScratchFileName;
    const std::string file = argument(fileName);
    const std::string shownFile = echoed(fileName);
    std::string script;
    auto line = [&script](const std::string& text) { script += text + "\r\n"; };
    auto piece = [&baseName](int number) { return baseName + "." + pieceNumberText(number); };

    line("@echo off");
    line("echo The file " + shownFile + " is now being created . . .");
    line("echo.");
    line("if exist " + scratch + " del " + scratch);
    for (int k = 1; k <= pieceCount; ++k) {
        line("if not exist " + argument(piece(k)) + " echo The piece " + echoed(piece(k)) +
             " is missing.");
        line("if not exist " + argument(piece(k)) + " goto notcreated");
    }
    // ParcelorSize lives only as long as the script.
    line(UnderCmd + "setlocal");
    for (int k = 1; k <= pieceCount; ++k) {
        const std::int64_t size = pieceLength(k, pieceCount, pieceSize, fileLength);
        const std::string digits = std::to_string(size);
        line(measure(argument(piece(k))));
        line(unlessSize(size) + "echo The piece " + echoed(piece(k)) +
             " has %ParcelorSize% bytes instead of " + digits + ".");
        line(unlessSize(size) + "goto notcreated");
    }
    if (pieceCount == 1)
        line("copy /b " + argument(piece(1)) + " " + scratch + " > nul");
    else
        line("copy /b " + argument(piece(1)) + " + " + argument(piece(2)) + " " + scratch + " > nul");
    line(StopOnFailedCopy);
    for (int k = 3; k <= pieceCount; ++k) {
        line("copy /b " + scratch + " + " + argument(piece(k)) + " " + scratch + " > nul");
        line(StopOnFailedCopy);
    }
    line("copy " + scratch + " " + file + " > nul");
    line(StopOnFailedCopy);
    line("del " + scratch + " > nul");
    line(measure(file));
    line(unlessSize(fileLength) + "goto wrongsize");
    line("echo The file " + shownFile + " was successfully created.");
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
    line(":end");
    return script;
}
