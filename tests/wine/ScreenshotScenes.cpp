// Scenes for the README's screenshots of the real main dialog and of the program's icon, held
// still while tests/wine/take-screenshots.sh shoots them. Disabled: only that script runs them.
#include "app/ParcelorMFCDlg.h"
#include "framework/CodePageText.h"
#include "res/resource.h"
#include "tests/wine/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Tells the script that scene is on the screen (a file named so in the folder
// PARCELOR_SCENES names).
void Shown(const char* scene)
{
    if (const char* folder = std::getenv("PARCELOR_SCENES"))
        WriteFileBytes(std::string(folder) + "\\" + scene, scene);
}

// Keeps the windows painting for a few seconds while the script shoots.
void Hold(const char* scene)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 3000;) {
        PumpPending();
        if (scene && ::GetTickCount() - start > 500) {
            Shown(scene);
            scene = nullptr;
        }
        ::Sleep(20);
    }
}

// The message box on the screen: shown once its own loop has painted it, closed a few seconds later.
HWND g_box = nullptr;
void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::PostMessageA(g_box, WM_COMMAND, IDOK, 0);
}
void CALLBACK BoxShown(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    Shown("message");
    ::SetTimer(nullptr, 0, 3000, &CloseBox);
}

} // namespace

TEST(DISABLED_Screenshots, AFileDroppedAndANameTheCodePageCannotHold)
{
    // A short path, whole in the fields; the script's prefix is thrown away.
    ::CreateDirectoryA("C:\\Trip", nullptr);
    WriteFileBytes("C:\\Trip\\holiday.zip", "z");
    ScratchDirectory dir;
    const std::wstring greek = WideFromAnsi(dir.Path()) + L"\\\x0388\x03BA\x03B8\x03B5\x03C3\x03B7.txt";
    ::CloseHandle(::CreateFileW(greek.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    CParcelorDlg dlg;
    BoxCatcher catcher([](HWND box, const CaughtBox&) {
        g_box = box;
        ::SetTimer(nullptr, 0, 500, &BoxShown);
        return true;
    });
    RunInsideModal(dlg, [&] {
        DropOn(dlg, {L"C:\\Trip\\holiday.zip"});
        Hold("drop");
        DropOn(dlg, {greek});
    });
    ::DeleteFileW(greek.c_str());
}

namespace {

// Paints the program's icon at the size in the window's user data, as Windows picks and draws
// it from the resource, across a white half and a half of the classic desktop's blue.
LRESULT CALLBACK PaintIcon(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hWnd, &ps);
    RECT white;
    ::GetClientRect(hWnd, &white);
    RECT blue = white;
    white.right = blue.left = white.right / 2;
    ::FillRect(dc, &white, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HBRUSH desktop = ::CreateSolidBrush(RGB(58, 110, 165));
    ::FillRect(dc, &blue, desktop);
    ::DeleteObject(desktop);
    const int size = static_cast<int>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    HICON icon = static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, size, size, 0));
    ::DrawIconEx(dc, (blue.right - size) / 2, (blue.bottom - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(icon);
    ::EndPaint(hWnd, &ps);
    return 0;
}

} // namespace

TEST(DISABLED_Screenshots, TheIconAt48And256Pixels)
{
    WNDCLASSA kind{};
    kind.lpfnWndProc = &PaintIcon;
    kind.hInstance = ::GetModuleHandleA(nullptr);
    kind.lpszClassName = "ParcelorIconScene";
    ::RegisterClassA(&kind);
    for (int size : {48, 256}) {
        const std::string name = "icon" + std::to_string(size);
        HWND window = ::CreateWindowExA(0, kind.lpszClassName, name.c_str(), WS_POPUP, 40, 40, size * 3 / 2,
                                        size * 3 / 2, nullptr, nullptr, kind.hInstance, nullptr);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, size);
        ::ShowWindow(window, SW_SHOW);
        Hold(name.c_str());
        ::DestroyWindow(window);
    }
}
