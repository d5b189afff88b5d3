// The ANSI and OEM code pages of Windows: names converted for cmd, and where characters begin.
#pragma once

#include "split/ScriptCodePage.h"

// Converts through UTF-16 with the system's tables, refusing any character
// that the OEM code page does not hold exactly (no best-fit stand-ins).
class WindowsCodePage : public ScriptCodePage {
public:
    bool toScriptText(const std::string& name, std::string& script) const override;
    // The system's own knowledge of the ANSI (names) or OEM (script) code page.
    bool isLeadByte(unsigned char byte, Side side) const override;
    // From the ANSI code page through UTF-16.
    bool toUtf8(const std::string& name, std::string& utf8) const override;
};
