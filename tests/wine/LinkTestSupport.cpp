// The launcher stand-in, the colour, pixel and tooltip readers and the real pointer of the link tests.
#include "tests/wine/LinkTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

StandInLaunch::StandInLaunch() : m_pPrevious(CHyperLink::SetLaunchPlatform(this))
{
}

StandInLaunch::~StandInLaunch()
{
    CHyperLink::SetLaunchPlatform(m_pPrevious);
}

LaunchCode StandInLaunch::OpenWithShell(const char* address, int show)
{
    opened.push_back(address);
    shows.push_back(show);
    return shellCode;
}

LaunchCode StandInLaunch::RunCommand(const char* commandLine, int)
{
    ADD_FAILURE() << "started " << commandLine;
    return 0;
}

LinkColours AskColours(HWND link)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkMode(dc, OPAQUE);
    const LRESULT brush = ::SendMessageA(::GetParent(link), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(link));
    const LinkColours colours{::GetTextColor(dc), ::GetBkMode(dc), reinterpret_cast<HGDIOBJ>(brush)};
    ::DeleteDC(dc);
    return colours;
}

int PixelsOf(HWND link, COLORREF colour)
{
    ::RedrawWindow(link, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    ::GetClientRect(link, &client);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP image = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = ::GetDC(link);
    HDC copy = ::CreateCompatibleDC(screen);
    HGDIOBJ previous = ::SelectObject(copy, image);
    ::BitBlt(copy, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD wanted = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    int count = 0;
    for (int i = 0; i < width * height; ++i)
        count += (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == wanted;
    ::SelectObject(copy, previous);
    ::DeleteDC(copy);
    ::ReleaseDC(link, screen);
    ::DeleteObject(image);
    return count;
}

namespace {

struct TipSearch {
    HWND link;
    std::vector<std::string> texts;
    bool shown = false;
};

BOOL CALLBACK CollectTips(HWND window, LPARAM param)
{
    TipSearch& search = *reinterpret_cast<TipSearch*>(param);
    char name[32] = "";
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) != TOOLTIPS_CLASSA)
        return TRUE;
    const LRESULT count = ::SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        if (!::SendMessageA(window, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)) ||
            tool.hwnd != search.link || tool.uId != 1)
            continue;
        char text[512] = "";
        tool.lpszText = text;
        ::SendMessageA(window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        search.texts.push_back(text);
        search.shown = search.shown || ::IsWindowVisible(window);
    }
    return TRUE;
}

void Send(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

std::vector<std::string> TipTexts(HWND link)
{
    TipSearch search{link, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectTips, reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

bool TipShown(HWND link)
{
    TipSearch search{link, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectTips, reinterpret_cast<LPARAM>(&search));
    return search.shown;
}

SIZE CaptionExtent(HWND link)
{
    char caption[512] = "";
    const int length = ::GetWindowTextA(link, caption, sizeof caption);
    HDC dc = ::GetDC(link);
    HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(link, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, caption, length, &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(link, dc);
    return extent;
}

RECT RectInParent(HWND control)
{
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MovePointerTo(HWND window, POINT point)
{
    ::ClientToScreen(window, &point);
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    // Absolute positions run from 0 to 65535 across the screen; aim at the middle of the pixel.
    Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (point.x * 65536 + 32768) / width,
         (point.y * 65536 + 32768) / height);
}

void PressLeft()
{
    Send(MOUSEEVENTF_LEFTDOWN);
}

void ReleaseLeft()
{
    Send(MOUSEEVENTF_LEFTUP);
}

void PumpDialog(HWND dialog, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (::CallMsgFilterA(&msg, MSGF_DIALOGBOX))
                continue;
            if (!::IsDialogMessageA(dialog, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (::GetTickCount() - start >= milliseconds)
            return;
        ::Sleep(10);
    }
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}
