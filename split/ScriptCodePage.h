// The character set of the rejoin script: names as the script's interpreter reads them.
#pragma once

#include <string>

// Converts a name from the character set in which the program gets its names
// into the bytes that the interpreter of the rejoin script reads as the same
// characters. On Windows the names come in the ANSI code page and cmd reads a
// batch file in the OEM code page, so that é, for one, is another byte there.
class ScriptCodePage {
public:
    virtual ~ScriptCodePage() = default;

    // Sets script to name in the script's character set. False, with script
    // unspecified, when some character of name has no equivalent there: it
    // must then not be written at all, since a stand-in character could make
    // the script name another file (a '?' is a wildcard).
    virtual bool toScriptText(const std::string& name, std::string& script) const = 0;
};

// The script reads the names' own character set: every name stays as it is.
// It stands for the system's conversion where there is none (other than Windows).
class SameCodePage : public ScriptCodePage {
public:
    bool toScriptText(const std::string& name, std::string& script) const override;
};

// The conversion of the system the program runs on: ANSI to OEM on Windows,
// SameCodePage elsewhere. Lives for the whole process.
const ScriptCodePage& systemScriptCodePage();
