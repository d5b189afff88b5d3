// The character set of the rejoin script: names as the script's interpreter reads them.
#include "split/ScriptCodePage.h"

#ifdef _WIN32
#include "split/WindowsCodePage.h"
#endif

bool ScriptCodePage::isLeadByte(unsigned char, Side) const
{
    return false;
}

bool ScriptCodePage::toUtf8(const std::string& name, std::string& utf8) const
{
    utf8 = name;
    return true;
}

bool SameCodePage::toScriptText(const std::string& name, std::string& script) const
{
    script = name;
    return true;
}

const ScriptCodePage& systemScriptCodePage()
{
#ifdef _WIN32
    static const WindowsCodePage codePage;
#else
    static const SameCodePage codePage;
#endif
    return codePage;
}
