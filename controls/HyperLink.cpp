// CHyperLink: attaching to the static control, colours, fitting, pointer and keys, and the launcher.
#include "controls/HyperLink.h"

#include "controls/LaunchRules.h"
#include "controls/LinkGeometry.h"
#include "controls/WinLaunchPlatform.h"
#include "framework/Debug.h"
#include "framework/WinApp.h"
#include "text/SystemLeadBytes.h"

#include <windowsx.h>

// The static-control styles that the platform-free fitting copies.
static_assert(StaticTypeMask == SS_TYPEMASK && StaticCentre == SS_CENTER && StaticRight == SS_RIGHT);
static_assert(StaticCentreImage == SS_CENTERIMAGE);

LinkPalette CHyperLink::s_palette = DefaultLinkPalette;
HCURSOR CHyperLink::s_hHandCursor = nullptr;
CLaunchPlatform* CHyperLink::s_pLaunchPlatform = nullptr;

const MessageEntry<CHyperLink> CHyperLink::s_messageTable[] = {
    {WM_REFLECT_BASE + WM_CTLCOLORSTATIC, &CHyperLink::OnCtlColor},
    // A link on another kind of control asks for its colours this way: the assertion catches it.
    {WM_REFLECT_BASE + WM_CTLCOLOREDIT, &CHyperLink::OnCtlColor},
    {WM_REFLECT_BASE + WM_CTLCOLORBTN, &CHyperLink::OnCtlColor},
    {WM_SETCURSOR, &CHyperLink::OnSetCursor},
    {WM_MOUSEMOVE, &CHyperLink::OnMouseMove},
    {WM_LBUTTONUP, &CHyperLink::OnLButtonUp},
    {WM_SETFOCUS, &CHyperLink::OnSetFocus},
    {WM_KILLFOCUS, &CHyperLink::OnKillFocus},
    {WM_KEYDOWN, &CHyperLink::OnKeyDown},
    {WM_NCHITTEST, &CHyperLink::OnNcHitTest},
    {WM_LBUTTONDOWN, &CHyperLink::OnLButtonDown},
    {WM_DESTROY, &CHyperLink::OnDestroy},
};

namespace {

LinkRect AsLinkRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

CHyperLink::CHyperLink() noexcept = default;

bool CHyperLink::OnWndMsg(CMessage& msg)
{
    return DispatchMessageTable(*this, s_messageTable, msg) || CStatic::OnWndMsg(msg);
}

void CHyperLink::PreSubclassWindow()
{
    if (m_strTarget.empty())
        m_strTarget = GetWindowText();
    if (GetWindowText().empty()) {
        ASSERT(!m_strTarget.empty());
        SetWindowText(m_strTarget);
    }
    // Clicks reach the control itself rather than the dialog under it.
    ::SetWindowLongA(*this, GWL_STYLE, ::GetWindowLongA(*this, GWL_STYLE) | SS_NOTIFY);

    LOGFONTA description{};
    if (CFont::GetLogFont(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), description)) {
        description.lfUnderline = UnderlineFor(m_dwFlags);
        if (m_fontLink.CreateFontIndirect(description))
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontLink)), TRUE);
        FitToText();
    } else {
        m_dwFlags &= ~LinkFitsText;
    }

    if (!(m_dwFlags & LinkSkipsHandCursor))
        LoadHandCursor();

    RECT client;
    GetClientRect(client);
    if (m_tipTarget.Create(*this, 0))
        m_tipTarget.AddTool(*this, m_strTarget, client, 1);
    CStatic::PreSubclassWindow();
}

bool CHyperLink::PreTranslateMessage(MSG& msg)
{
    m_tipTarget.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CHyperLink::SetTarget(std::string target)
{
    m_strTarget = std::move(target);
    if (!IsWindow())
        return;
    ShowWindow(SW_HIDE);
    FitToText();
    m_tipTarget.UpdateTipText(m_strTarget, *this, 1);
    ShowWindow(SW_SHOW);
}

void CHyperLink::SetCaption(const char* text)
{
    ASSERT(text);
    if (!IsWindow())
        return;
    ShowWindow(SW_HIDE);
    SetWindowText(text);
    FitToText();
    ShowWindow(SW_SHOW);
}

void CHyperLink::SetCaptionFont(HFONT font)
{
    ASSERT(IsWindow());
    ASSERT(font);
    LOGFONTA description{};
    CFont::GetLogFont(font, description);
    ApplyFont(description);
}

void CHyperLink::ApplyFont(const LOGFONTA& description)
{
    ShowWindow(SW_HIDE);
    m_fontLink.CreateFontIndirect(description);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontLink)), TRUE);
    FitToText();
    ShowWindow(SW_SHOW);
}

bool CHyperLink::ChangeFlags(DWORD remove, DWORD add, bool apply)
{
    const FlagChange change = ::ChangeFlags(m_dwFlags, remove, add);
    if (!change.accepted)
        return false;
    m_dwFlags = change.flags;
    if (apply && IsWindow()) {
        if (change.refreshUnderline)
            RefreshUnderline();
        if (change.fitToText)
            FitToText();
        if (change.repaint)
            Repaint();
    }
    return true;
}

void CHyperLink::SetPalette(COLORREF link, COLORREF active, COLORREF followed, COLORREF hover)
{
    s_palette = PaletteFromColours(link, active, followed, hover, ::GetSysColor(COLOR_HIGHLIGHT));
}

void CHyperLink::SetHandCursor(HCURSOR cursor)
{
    ASSERT(cursor);
    s_hHandCursor = cursor;
    if (!s_hHandCursor)
        LoadHandCursor();
}

void CHyperLink::LoadHandCursor()
{
    if (s_hHandCursor)
        return;
    // The help program's hand, where the system has one; the system's own hand otherwise.
    char path[MAX_PATH] = "";
    const char helpProgram[] = "\\winhlp32.exe";
    const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (length > 0 && length + sizeof helpProgram <= MAX_PATH) {
        ::lstrcatA(path, helpProgram);
        // Loaded as data: only its resources are wanted, none of its code.
        if (HMODULE module = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(106)))
                s_hHandCursor = reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor)));
            ::FreeLibrary(module);
        }
    }
    if (!s_hHandCursor)
        s_hHandCursor = ::LoadCursorA(nullptr, IDC_HAND);
}

void CHyperLink::RefreshUnderline()
{
    LOGFONTA description{};
    if (!CFont::GetLogFont(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), description))
        return;
    description.lfUnderline = UnderlineFor(m_dwFlags);
    ApplyFont(description);
}

void CHyperLink::FitToText()
{
    ASSERT(IsWindow());
    if (!(m_dwFlags & LinkFitsText))
        return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(*this, GWL_STYLE));
    RECT window, client;
    ::GetWindowRect(*this, &window);
    if (style & WS_CHILD)
        ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&window), 2);
    GetClientRect(client);

    // Measured in the font the caption is drawn in: the link font, or the control's own
    // when no link font could be made.
    const std::string caption = GetWindowText();
    HFONT font = m_fontLink ? static_cast<HFONT>(m_fontLink) : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HDC dc = ::GetDC(*this);
    HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    if (previous)
        ::SelectObject(dc, previous);
    ::ReleaseDC(*this, dc);

    const LinkPlacement placement = FitPlacement(AsLinkRect(window), AsLinkRect(client), {extent.cx, extent.cy}, style);
    MoveWindow(placement.x, placement.y, placement.width, placement.height, true);
}

void CHyperLink::Follow()
{
    const LaunchCode result = LaunchAddress(m_strTarget.c_str(), SW_SHOW);
    if (IsLaunchSuccess(result)) {
        m_bFollowed = TRUE;
        Repaint();
    } else {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ReportLaunchError(result);
    }
}

bool CHyperLink::OnCtlColor(CMessage& msg)
{
    ASSERT(msg.message == WM_REFLECT_BASE + WM_CTLCOLORSTATIC);
    HDC dc = reinterpret_cast<HDC>(msg.wParam);
    const LinkState state{m_bHovering != FALSE, m_bActive != FALSE, m_bFollowed != FALSE};
    ::SetTextColor(dc, ChooseLinkColour(state, m_dwFlags, s_palette));
    ::SetBkMode(dc, TRANSPARENT);
    msg.result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
}

bool CHyperLink::OnSetCursor(CMessage& msg)
{
    if (s_hHandCursor)
        ::SetCursor(s_hHandCursor);
    msg.result = s_hHandCursor ? TRUE : FALSE;
    return true;
}

bool CHyperLink::OnMouseMove(CMessage& msg)
{
    RECT client;
    GetClientRect(client);
    const LinkPoint pointer{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    const HoverStep step = TrackHover(m_bHovering != FALSE, pointer, AsLinkRect(client));
    m_bHovering = step.hovering;
    if (step.release)
        ::ReleaseCapture();
    if (step.repaint)
        Repaint();
    if (step.capture)
        ::SetCapture(*this);
    return true;
}

bool CHyperLink::OnLButtonUp(CMessage&)
{
    if (m_bActive && !(m_dwFlags & LinkOpensOnPress))
        Follow();
    return true;
}

bool CHyperLink::OnSetFocus(CMessage&)
{
    m_bActive = TRUE;
    Repaint();
    return true;
}

bool CHyperLink::OnKillFocus(CMessage&)
{
    m_bHovering = FALSE;
    m_bActive = FALSE;
    Repaint();
    return true;
}

bool CHyperLink::OnKeyDown(CMessage& msg)
{
    if (msg.wParam != VK_SPACE)
        return false;
    Follow();
    return true;
}

bool CHyperLink::OnNcHitTest(CMessage& msg)
{
    msg.result = HTCLIENT;
    return true;
}

bool CHyperLink::OnLButtonDown(CMessage&)
{
    if (m_dwFlags & LinkTakesFocus)
        SetFocus();
    if (m_dwFlags & LinkOpensOnPress)
        Follow();
    m_bActive = TRUE;
    return true;
}

bool CHyperLink::OnDestroy(CMessage&)
{
    // The tooltip belongs to the dialog's window and usually went with it already.
    if (m_tipTarget.IsWindow())
        m_tipTarget.DestroyWindow();
    else
        m_tipTarget.Detach();
    return false;
}

LaunchCode CHyperLink::LaunchAddress(const char* address, int show)
{
    return ::LaunchAddress(Platform(), address, show, SystemLeadBytes());
}

RegistryStatus CHyperLink::ReadKeyDefault(HKEY root, const char* subKey, char* out)
{
    return ::ReadKeyDefault(Platform(), reinterpret_cast<RegistryKey>(root), subKey, out);
}

void CHyperLink::ReportLaunchError(LaunchCode code)
{
    AfxMessageBox(LaunchErrorMessage(code), MB_OK | MB_ICONEXCLAMATION);
}

CLaunchPlatform* CHyperLink::SetLaunchPlatform(CLaunchPlatform* platform)
{
    CLaunchPlatform* previous = s_pLaunchPlatform;
    s_pLaunchPlatform = platform;
    return previous;
}

CLaunchPlatform& CHyperLink::Platform()
{
    return s_pLaunchPlatform ? *s_pLaunchPlatform : CWinLaunchPlatform::Instance();
}
