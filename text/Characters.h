// Narrow text of a code page walked a character at a time, so that the second byte of a
// two-byte character is never taken for the ASCII character of its value.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

// Whether byte, at the start of a character, begins a character of two bytes:
// a lead byte of a double-byte code page (932, 936, 949, 950), whose second
// byte may have the value of an ASCII character such as \ or |. In single-byte
// code pages and in UTF-8 no byte of a longer character is an ASCII one.
// The Windows side's is SystemLeadBytes() (text/SystemLeadBytes.h).
using LeadByteTest = bool (*)(unsigned char byte);

// The test for single-byte code pages: no byte leads a two-byte character.
inline bool NoLeadBytes(unsigned char)
{
    return false;
}

// The character after the one at at, in a text ended by '\0': two bytes on
// for a lead byte with a byte after it, else one; at itself at the end.
// isLead is a LeadByteTest or any object called as one.
template <typename IsLead>
const char* nextCharacter(const char* at, IsLead isLead)
{
    if (*at == '\0')
        return at;
    return at + (isLead(static_cast<unsigned char>(*at)) && at[1] != '\0' ? 2 : 1);
}

// A text taken character by character, isLead telling which bytes begin a
// character of two bytes. Holds a reference: text must outlive it.
template <typename IsLead>
class Characters {
public:
    Characters(const std::string& text, IsLead isLead) : m_text(text), m_isLead(isLead) { }

    // The bytes of the character at position at: 2 for a lead byte with a
    // byte after it, else 1.
    std::size_t lengthAt(std::size_t at) const
    {
        return m_isLead(static_cast<unsigned char>(m_text[at])) && at + 1 < m_text.size() ? 2 : 1;
    }
    // The position of the last character c (an ASCII one), or npos.
    std::size_t findLast(char c) const
    {
        std::size_t found = std::string::npos;
        for (std::size_t at = 0; at < m_text.size(); at += lengthAt(at))
            if (m_text[at] == c)
                found = at;
        return found;
    }
    // Whether the last character is c.
    bool endsWith(char c) const
    {
        const std::size_t at = findLast(c);
        return at != std::string::npos && at + 1 == m_text.size();
    }
    // Whether some character is one of the ASCII characters of set.
    bool holdsAnyOf(const char* set) const
    {
        for (std::size_t at = 0; at < m_text.size(); at += lengthAt(at))
            if (lengthAt(at) == 1 && m_text[at] != '\0' && std::strchr(set, m_text[at]))
                return true;
        return false;
    }
    // The number of characters.
    std::size_t count() const
    {
        std::size_t characters = 0;
        for (std::size_t at = 0; at < m_text.size(); at += lengthAt(at))
            ++characters;
        return characters;
    }

private:
    const std::string& m_text;
    IsLead m_isLead;
};
