// The colour, pixel, tooltip and size readers, the real pointer and the dialog loop of the link tests.
#include "tests/wine/LinkTestSupport.h"

#include "res/resource.h"

#include <commctrl.h>

HWND Link(HWND box)
{
    return ::GetDlgItem(box, IDC_HOME_PAGE_LINK);
}

COLORREF AskedColour(HWND link)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SendMessageA(::GetParent(link), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    const COLORREF colour = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return colour;
}

int PixelsOf(HWND link, COLORREF colour)
{
    ::RedrawWindow(link, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    ::GetClientRect(link, &client);
    HDC dc = ::GetDC(link);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            count += ::GetPixel(dc, x, y) == colour;
    ::ReleaseDC(link, dc);
    return count;
}

namespace {

struct TipSearch {
    HWND link;
    std::vector<std::string> texts;
    bool shown;
};

BOOL CALLBACK CollectTips(HWND window, LPARAM param)
{
    TipSearch& search = *reinterpret_cast<TipSearch*>(param);
    char name[32] = "";
    ::GetClassNameA(window, name, sizeof name);
    for (LRESULT i = 0; std::string(name) == TOOLTIPS_CLASSA && i < ::SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0);
         ++i) {
        char text[512] = "";
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        ::SendMessageA(window, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
        if (tool.hwnd != search.link || tool.uId != 1)
            continue;
        tool.lpszText = text;
        ::SendMessageA(window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        search.texts.push_back(text);
        search.shown = search.shown || ::IsWindowVisible(window);
    }
    return TRUE;
}

void SendMouse(DWORD flags, LONG dx, LONG dy)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi = {dx, dy, 0, flags, 0, 0};
    ::SendInput(1, &input, sizeof input);
}

} // namespace

std::vector<std::string> TipTexts(HWND link, bool* shown)
{
    TipSearch search{link, {}, false};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectTips, reinterpret_cast<LPARAM>(&search));
    if (shown)
        *shown = search.shown;
    return search.texts;
}

bool FitsCaption(HWND link)
{
    char caption[512] = "";
    const int length = ::GetWindowTextA(link, caption, sizeof caption);
    HDC dc = ::GetDC(link);
    HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(link, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, caption, length, &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(link, dc);
    RECT window;
    ::GetWindowRect(link, &window);
    return window.right - window.left == extent.cx && window.bottom - window.top == extent.cy;
}

void MovePointerTo(HWND window, POINT point)
{
    ::ClientToScreen(window, &point);
    // Absolute positions run from 0 to 65535 across the screen; aim at the middle of the pixel.
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (point.x * 65536 + 32768) / ::GetSystemMetrics(SM_CXSCREEN),
              (point.y * 65536 + 32768) / ::GetSystemMetrics(SM_CYSCREEN));
}

void SendButton(DWORD event)
{
    SendMouse(event, 0, 0);
}

void PumpDialog(HWND dialog, DWORD milliseconds)
{
    for (const DWORD start = ::GetTickCount();; ::Sleep(10)) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!::CallMsgFilterA(&msg, MSGF_DIALOGBOX) && !::IsDialogMessageA(dialog, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (::GetTickCount() - start >= milliseconds)
            return;
    }
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path);
    return file.substr(0, file.find_last_of('\\'));
}
