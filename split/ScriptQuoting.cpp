// The quoting rules of the rejoin script: a name as cmd reads it in a command, in an echo line, and as sh reads it.
#include "split/ScriptQuoting.h"

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

} // namespace

std::string percentsDoubled(const std::string& text, const ScriptCodePage& codePage)
{
    return rewritten(text, codePage, [](char c) { return c == '%' ? std::string("%%") : std::string(1, c); });
}

std::string cmdQuoted(const std::string& name, const ScriptCodePage& codePage)
{
    return "\"" + percentsDoubled(name, codePage) + "\"";
}

std::string cmdArgument(const std::string& name, const ScriptCodePage& codePage)
{
    if (!charactersOf(name, codePage, ScriptCodePage::Side::Script).holdsAnyOf(NeedsQuotes))
        return name;
    return cmdQuoted(name, codePage);
}

std::string echoText(const std::string& name, const ScriptCodePage& codePage)
{
    return rewritten(name, codePage, [](char c) {
        if (c == '%')
            return std::string("%%");
        return std::string(std::strchr(EchoOperators, c) ? "^" : "") + c;
    });
}

std::string shWord(const std::string& text)
{
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

std::string shTyped(const std::string& name)
{
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || std::strchr("._-+,@%/", c);
    });
    return plain ? name : shWord(name);
}
