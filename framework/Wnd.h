// CWnd: a window handle with one-line forwarding methods, and the message table that routes to members.
#pragma once

#include "framework/Debug.h"

#include <windows.h>

#include <string>

// One window message as a handler sees it; result is what the window answers.
struct CMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
};

// Reflected messages: a parent hands a control's own requests (colours, notifications) back to it.
const UINT WM_REFLECT_BASE = 0xBC00;

// One line of a message table: a window message and its handler, or a
// control id, its notification code and its command handler. A message
// handler returns false to leave the message to the default handling.
template <class T>
struct MessageEntry {
    UINT idOrMessage;
    UINT code;
    bool (T::*onMessage)(CMessage&);
    void (T::*onCommand)();

    MessageEntry(UINT message, bool (T::*handler)(CMessage&))
        : idOrMessage(message), code(0), onMessage(handler), onCommand(nullptr)
    {
    }
    MessageEntry(UINT id, UINT notification, void (T::*handler)())
        : idOrMessage(id), code(notification), onMessage(nullptr), onCommand(handler)
    {
    }
};

// Runs the entry of table that matches msg; true when one handled it.
template <class T, size_t N>
bool DispatchMessageTable(T& target, const MessageEntry<T> (&table)[N], CMessage& msg)
{
    const bool isCommand = msg.message == WM_COMMAND || msg.message == WM_REFLECT_BASE + WM_COMMAND;
    for (const MessageEntry<T>& entry : table) {
        if (entry.onCommand && isCommand && entry.idOrMessage == LOWORD(msg.wParam) &&
            entry.code == HIWORD(msg.wParam)) {
            (target.*entry.onCommand)();
            msg.result = 0;
            return true;
        }
        if (entry.onMessage && entry.idOrMessage == msg.message && (target.*entry.onMessage)(msg))
            return true;
    }
    return false;
}

// The text of hWnd, whatever its length; empty when it has none.
std::string WindowTextOf(HWND hWnd);

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach()
    {
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        return hWnd;
    }

    // Attaches to an existing control and routes its messages through OnWndMsg.
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT id, CWnd& parent) { return SubclassWindow(::GetDlgItem(parent, static_cast<int>(id))); }
    // The object attached to hWnd by SubclassWindow or by a dialog, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Called once the handle is set by SubclassWindow, before any message arrives.
    virtual void PreSubclassWindow() { }
    // Gives the window a look at msg before the dialog's navigation; true consumes it.
    virtual bool PreTranslateMessage(MSG& msg);
    // Routes one message to the window's table; false leaves it to the default.
    virtual bool OnWndMsg(CMessage& msg);

    bool ShowWindow(int nCmdShow) const { return ::ShowWindow(Checked(), nCmdShow) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(Checked()) != FALSE; }
    bool IsIconic() const { return ::IsIconic(Checked()) != FALSE; }
    bool IsWindow() const { return ::IsWindow(m_hWnd) != FALSE; }
    HWND SetFocus() const { return ::SetFocus(Checked()); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(Checked(), id); }
    HWND GetParent() const { return ::GetParent(Checked()); }
    void SetWindowText(const std::string& text) const { ::SetWindowTextA(Checked(), text.c_str()); }
    std::string GetWindowText() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(Checked(), message, wParam, lParam);
    }
    bool GetClientRect(RECT& rect) const { return ::GetClientRect(Checked(), &rect) != FALSE; }
    bool Invalidate(bool erase = true) const { return ::InvalidateRect(Checked(), nullptr, erase) != FALSE; }
    bool UpdateWindow() const { return ::UpdateWindow(Checked()) != FALSE; }
    bool RedrawWindow(UINT flags) const { return ::RedrawWindow(Checked(), nullptr, nullptr, flags) != FALSE; }
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true) const
    {
        return ::MoveWindow(Checked(), x, y, width, height, repaint) != FALSE;
    }
    bool GetWindowRect(RECT& rect) const { return ::GetWindowRect(Checked(), &rect) != FALSE; }
    // Centres the window on its owner, or on its monitor's work area when it has no owner that
    // shows, and keeps it inside that work area (caption first when it does not fit).
    void CenterWindow() const;
    HICON SetIcon(HICON hIcon, bool big) const
    {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
    }
    HMENU GetSystemMenu(bool revert) const { return ::GetSystemMenu(Checked(), revert); }
    int MessageBox(const std::string& text, const std::string& caption, UINT type) const
    {
        return ::MessageBoxA(Checked(), text.c_str(), caption.c_str(), type);
    }
    bool DestroyWindow()
    {
        Checked();
        return ::DestroyWindow(Detach()) != FALSE;
    }

protected:
    // The window procedure of windows attached by SubclassWindow.
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Marks hWnd as belonging to this object.
    void SetPermanentHandle(HWND hWnd);

    static const char s_szObjectProperty[];

private:
    // The handle, asserted in debug builds to be a window's: what every wrapper hands the API.
    HWND Checked() const
    {
        ASSERT(::IsWindow(m_hWnd));
        return m_hWnd;
    }

    HWND m_hWnd = nullptr;
    WNDPROC m_pfnSuper = nullptr;
};
