// Helpers of the link and About box tests: the application object that captions the message boxes,
// a launcher stand-in that opens nothing, the real pointer, and readers of what a link shows.
#pragma once

#include "controls/HyperLink.h"
#include "framework/WinApp.h"

#include <windows.h>

#include <string>
#include <vector>

// The application object that the program has: its message boxes are captioned with the name of
// this test program's file.
class TestApp : public CWinApp {
public:
    TestApp() { m_hInstance = ::GetModuleHandleA(nullptr); }
};

// While it lives, links open through it: the shell records each address and show command and
// answers shellCode, and no .htm association lies behind it, so a failing shellCode is what a
// follow reports.
class StandInLaunch : public CLaunchPlatform {
public:
    StandInLaunch();
    ~StandInLaunch() override;

    LaunchCode shellCode = 42;
    std::vector<std::string> opened;
    std::vector<int> shows;

    LaunchCode OpenWithShell(const char* address, int show) override;
    RegistryKey ClassesRoot() override { return nullptr; }
    RegistryStatus OpenKey(RegistryKey, const char*, RegistryKey&) override { return ERROR_FILE_NOT_FOUND; }
    RegistryStatus QueryDefaultValue(RegistryKey, char*, std::int32_t&) override { return ERROR_FILE_NOT_FOUND; }
    void CloseKey(RegistryKey) override {}
    LaunchCode RunCommand(const char*, int) override;

private:
    CLaunchPlatform* m_pPrevious;
};

// What a link answers when its dialog asks for its colours while painting it.
struct LinkColours {
    COLORREF text;
    int backgroundMode;
    HGDIOBJ brush;
};
LinkColours AskColours(HWND link);

// How many pixels of link's window show exactly colour, read back from the screen image.
int PixelsOf(HWND link, COLORREF colour);

// The texts of the tooltip tools of this thread that belong to link with id 1.
std::vector<std::string> TipTexts(HWND link);
// Whether one of those tooltips is showing.
bool TipShown(HWND link);

// The caption's size in the font the link draws it in.
SIZE CaptionExtent(HWND link);
// The window rectangle of control in its dialog's client coordinates.
RECT RectInParent(HWND control);

// The real pointer: moves to a point of window (client coordinates), and the left button.
void MovePointerTo(HWND window, POINT point);
void PressLeft();
void ReleaseLeft();
// Runs the steps of the dialog's modal loop (message filter, dialog keys, dispatch) on whatever
// is queued, and keeps doing so for milliseconds more.
void PumpDialog(HWND dialog, DWORD milliseconds = 0);

// The test program's own folder (no trailing backslash).
std::string ProgramFolder();
