// CHyperLink: a dialog's static text control that draws, fits and opens itself as a web link.
#pragma once

#include "controls/LaunchPlatform.h"
#include "controls/LinkStyle.h"
#include "framework/Font.h"
#include "framework/Static.h"
#include "framework/ToolTipCtrl.h"

#include <string>

// Bound to a static control with DDX_Control, the link takes its target from the caption unless
// one was set, shrinks to the caption, shows a hand pointer and a tooltip naming the target, and
// opens the target on a click or on Space. The colours and the cursor are shared by all links.
class CHyperLink : public CStatic {
public:
    static constexpr DWORD LinkUnderlined = ::LinkUnderlined;
    static constexpr DWORD LinkHoverColour = ::LinkHoverColour;
    static constexpr DWORD LinkFitsText = ::LinkFitsText;
    static constexpr DWORD LinkOpensOnPress = ::LinkOpensOnPress;
    static constexpr DWORD LinkTakesFocus = ::LinkTakesFocus;
    static constexpr DWORD LinkSkipsHandCursor = ::LinkSkipsHandCursor;
    static constexpr DWORD LinkIgnoresActive = ::LinkIgnoresActive;

    CHyperLink() noexcept;

    // Sets what the link opens; a live link refits and its tooltip shows the new target.
    void SetTarget(std::string target);
    std::string Target() const { return m_strTarget; }
    // Sets the caption of a live link and refits it; text must not be null.
    void SetCaption(const char* text);
    // Draws a live link in a copy of font (underline as font has it) and refits; font must not be null.
    void SetCaptionFont(HFONT font);
    // Removes the bits of remove and adds those of add; refused (false) when the two share a bit.
    // With apply, a live link shows the change at once.
    bool ChangeFlags(DWORD remove, DWORD add, bool apply);
    DWORD Flags() const { return m_dwFlags; }
    void MarkFollowed(bool followed) { m_bFollowed = followed; }
    bool IsFollowed() const { return m_bFollowed != FALSE; }

    // The colours of every link; a hover of -1 takes the system's highlight colour of the moment.
    static void SetPalette(COLORREF link, COLORREF active, COLORREF followed, COLORREF hover);
    static void SetPalette(const LinkPalette& palette) { s_palette = palette; }
    static LinkPalette Palette() { return s_palette; }
    // The pointer shown over every link; never destroyed by the links. cursor must not be null.
    static void SetHandCursor(HCURSOR cursor);
    static HCURSOR HandCursor() { return s_hHandCursor; }

    // Opens address with the shell, else with the program registered for .htm documents.
    // Answers the result code: above 32 is success.
    static LaunchCode LaunchAddress(const char* address, int show);
    // Reads the default value of subKey under root into out (at least 260 bytes); answers 0 when read.
    static RegistryStatus ReadKeyDefault(HKEY root, const char* subKey, char* out);
    // Tells the user, in the application's message box, why a launch failed with code.
    static void ReportLaunchError(LaunchCode code);

    // The system layer that LaunchAddress and ReadKeyDefault go through: the Windows one unless
    // replaced. The tests put a stand-in here so that following a link opens nothing; null puts
    // the Windows one back. Answers the layer that was in place.
    static CLaunchPlatform* SetLaunchPlatform(CLaunchPlatform* platform);

protected:
    void PreSubclassWindow() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool OnWndMsg(CMessage& msg) override;

private:
    bool OnCtlColor(CMessage& msg);
    bool OnSetCursor(CMessage& msg);
    bool OnMouseMove(CMessage& msg);
    bool OnLButtonUp(CMessage& msg);
    bool OnSetFocus(CMessage& msg);
    bool OnKillFocus(CMessage& msg);
    bool OnKeyDown(CMessage& msg);
    bool OnNcHitTest(CMessage& msg);
    bool OnLButtonDown(CMessage& msg);
    bool OnDestroy(CMessage& msg);

    void Follow();
    void RefreshUnderline();
    // Makes m_fontLink from description, draws the caption in it and refits, leaving the link shown.
    void ApplyFont(const LOGFONTA& description);
    void FitToText();
    void Repaint() const { Invalidate(true); }
    static void LoadHandCursor();
    static CLaunchPlatform& Platform();

    BOOL m_bActive = FALSE;
    BOOL m_bHovering = FALSE;
    BOOL m_bFollowed = FALSE;
    DWORD m_dwFlags = DefaultLinkFlags;
    std::string m_strTarget;
    CFont m_fontLink;
    CToolTipCtrl m_tipTarget;

    static LinkPalette s_palette;
    static HCURSOR s_hHandCursor;
    static CLaunchPlatform* s_pLaunchPlatform;
    static const MessageEntry<CHyperLink> s_messageTable[];
};
