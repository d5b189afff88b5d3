// The character set of the rejoin script: names as the script's interpreter reads them.
#pragma once

#include "text/Characters.h"

#include <string>

// Converts a name from the character set in which the program gets its names
// into the bytes that the interpreter of the rejoin script reads as the same
// characters, and tells where characters begin in either. On Windows the
// names come in the ANSI code page and cmd reads a batch file in the OEM code
// page, so that é, for one, is another byte there.
class ScriptCodePage {
public:
    // The character set of a text: the names' own, or the script's.
    enum class Side { Names, Script };

    virtual ~ScriptCodePage() = default;

    // Sets script to name in the script's character set. False, with script
    // unspecified, when some character of name has no equivalent there: it
    // must then not be written at all, since a stand-in character could make
    // the script name another file (a '?' is a wildcard).
    virtual bool toScriptText(const std::string& name, std::string& script) const = 0;
    // Whether byte, at the start of a character of side's character set,
    // begins a character of two bytes: a lead byte of a double-byte code page
    // (932, 936, 949, 950), whose second byte may have the value of an ASCII
    // character such as \ or |. Never, unless overridden: in single-byte code
    // pages and in UTF-8 no byte of a longer character is an ASCII one.
    virtual bool isLeadByte(unsigned char byte, Side side) const;
    // Sets utf8 to name (in the names' character set) in UTF-8, in which sh
    // reads the script's names on Linux and macOS. False when some character
    // has no equivalent. Unless overridden, names are UTF-8 already, as
    // everywhere but on Windows.
    virtual bool toUtf8(const std::string& name, std::string& utf8) const;
};

// The lead bytes of side's character set of codePage, as Characters takes them.
struct CodePageLeadBytes {
    const ScriptCodePage& codePage;
    ScriptCodePage::Side side;
    bool operator()(unsigned char byte) const { return codePage.isLeadByte(byte, side); }
};

// text taken character by character in side's character set of codePage.
// Holds references: text and codePage must outlive it.
inline Characters<CodePageLeadBytes> charactersOf(const std::string& text, const ScriptCodePage& codePage,
                                                  ScriptCodePage::Side side)
{
    return {text, CodePageLeadBytes{codePage, side}};
}

// The script reads the names' own character set: every name stays as it is.
// It stands for the system's conversion where there is none (other than Windows).
class SameCodePage : public ScriptCodePage {
public:
    bool toScriptText(const std::string& name, std::string& script) const override;
};

// The conversion of the system the program runs on: ANSI to OEM on Windows,
// SameCodePage elsewhere. Lives for the whole process.
const ScriptCodePage& systemScriptCodePage();
