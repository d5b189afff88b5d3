// CFont: a GDI font that its object made and deletes.
#pragma once

#include <windows.h>

class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    operator HFONT() const { return m_hFont; }

    // Replaces the font held with one made from description; false when none could be made.
    bool CreateFontIndirect(const LOGFONTA& description)
    {
        DeleteObject();
        m_hFont = ::CreateFontIndirectA(&description);
        return m_hFont != nullptr;
    }
    void DeleteObject()
    {
        if (m_hFont)
            ::DeleteObject(m_hFont);
        m_hFont = nullptr;
    }
    // The logical description of any font; false when font is not one.
    static bool GetLogFont(HFONT font, LOGFONTA& description)
    {
        return font && ::GetObjectA(font, sizeof description, &description) == sizeof description;
    }

private:
    HFONT m_hFont = nullptr;
};
