// CWnd: subclassing, the window property that finds a window's object, and centring.
#include "framework/Wnd.h"

#include <algorithm>
#include <vector>

const char CWnd::s_szObjectProperty[] = "ParcelorWndObject";

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? static_cast<CWnd*>(::GetPropA(hWnd, s_szObjectProperty)) : nullptr;
}

void CWnd::SetPermanentHandle(HWND hWnd)
{
    Attach(hWnd);
    ::SetPropA(hWnd, s_szObjectProperty, this);
}

bool CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || FromHandlePermanent(hWnd))
        return false;
    SetPermanentHandle(hWnd);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return m_pfnSuper != nullptr;
}

bool CWnd::PreTranslateMessage(MSG&)
{
    return false;
}

bool CWnd::OnWndMsg(CMessage&)
{
    return false;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    WNDPROC pfnSuper = pWnd->m_pfnSuper;
    if (message == WM_NCDESTROY) {
        // The window goes away: hand it back to its own procedure and let go of it.
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnSuper));
        ::RemovePropA(hWnd, s_szObjectProperty);
        pWnd->m_hWnd = nullptr;
        pWnd->m_pfnSuper = nullptr;
        return ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
    }
    CMessage msg{message, wParam, lParam, 0};
    const bool handled = pWnd->OnWndMsg(msg);
    return handled ? msg.result : ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
}

void CWnd::CenterWindow() const
{
    HWND hWnd = Checked();
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    // A hidden or minimised owner gives no place to centre on.
    if (hOwner && (!::IsWindowVisible(hOwner) || ::IsIconic(hOwner)))
        hOwner = nullptr;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(hOwner ? hOwner : hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    RECT around = area;
    if (hOwner)
        ::GetWindowRect(hOwner, &around);
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = (around.left + around.right - width) / 2;
    int y = (around.top + around.bottom - height) / 2;
    // Pushed back from the right and bottom edges first, so that a window larger than the
    // area still shows its caption and system menu at the top left.
    x = std::max(std::min(x, static_cast<int>(area.right) - width), static_cast<int>(area.left));
    y = std::max(std::min(y, static_cast<int>(area.bottom) - height), static_cast<int>(area.top));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string WindowTextOf(HWND hWnd)
{
    std::vector<char> buffer(::GetWindowTextLengthA(hWnd) + 1);
    const int length = ::GetWindowTextA(hWnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), length);
}

std::string CWnd::GetWindowText() const
{
    return WindowTextOf(Checked());
}
