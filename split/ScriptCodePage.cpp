// The character set of the rejoin script: names as the script's interpreter reads them.
#include "split/ScriptCodePage.h"

#ifdef _WIN32
#include "split/WindowsCodePage.h"
#endif

#include <cstring>

bool ScriptCodePage::isLeadByte(unsigned char, Side) const
{
    return false;
}

bool ScriptCodePage::toUtf8(const std::string& name, std::string& utf8) const
{
    utf8 = name;
    return true;
}

Characters::Characters(const std::string& text, const ScriptCodePage& codePage, ScriptCodePage::Side side)
    : m_text(text), m_codePage(codePage), m_side(side)
{
}

std::size_t Characters::lengthAt(std::size_t at) const
{
    return m_codePage.isLeadByte(static_cast<unsigned char>(m_text[at]), m_side) && at + 1 < m_text.size() ? 2 : 1;
}

std::size_t Characters::findLast(char c) const
{
    std::size_t found = std::string::npos;
    for (std::size_t at = 0; at < m_text.size(); at += lengthAt(at))
        if (m_text[at] == c)
            found = at;
    return found;
}

bool Characters::endsWith(char c) const
{
    const std::size_t at = findLast(c);
    return at != std::string::npos && at + 1 == m_text.size();
}

bool Characters::holdsAnyOf(const char* set) const
{
    for (std::size_t at = 0; at < m_text.size(); at += lengthAt(at))
        if (lengthAt(at) == 1 && m_text[at] != '\0' && std::strchr(set, m_text[at]))
            return true;
    return false;
}

std::size_t Characters::count() const
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < m_text.size(); at += lengthAt(at))
        ++characters;
    return characters;
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
