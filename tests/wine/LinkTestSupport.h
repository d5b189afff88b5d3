// Helpers of the link and About box tests: an application object, a launcher stand-in that opens
// nothing, the real pointer, and readers of what a link shows.
#pragma once

#include "controls/HyperLink.h"
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The application object the program has: it captions the message boxes with this file's name.
class TestApp : public CWinApp {
public:
    TestApp() { m_hInstance = ::GetModuleHandleA(nullptr); }
};

// While it lives, links open through it: it records each address and show command and answers
// shellCode. It has no .htm association, so a failing shellCode is what a follow reports.
class StandInLaunch : public CLaunchPlatform {
public:
    StandInLaunch() : m_pPrevious(CHyperLink::SetLaunchPlatform(this)) { }
    ~StandInLaunch() override { CHyperLink::SetLaunchPlatform(m_pPrevious); }

    LaunchCode shellCode = 42;
    std::vector<std::string> opened;
    std::vector<int> shows;

    LaunchCode OpenWithShell(const char* address, int show) override
    {
        opened.push_back(address);
        shows.push_back(show);
        return shellCode;
    }
    RegistryKey ClassesRoot() override { return nullptr; }
    RegistryStatus OpenKey(RegistryKey, const char*, RegistryKey&) override { return ERROR_FILE_NOT_FOUND; }
    RegistryStatus QueryDefaultValue(RegistryKey, char*, std::int32_t&) override { return ERROR_FILE_NOT_FOUND; }
    void CloseKey(RegistryKey) override { }
    LaunchCode RunCommand(const char* command, int) override
    {
        ADD_FAILURE() << command;
        return 0;
    }

private:
    CLaunchPlatform* m_pPrevious;
};

// The home-page link of an About box.
HWND Link(HWND box);
// The text colour a link answers when its dialog asks for its colours while painting it.
COLORREF AskedColour(HWND link);
// How many pixels of link's window show exactly colour on the screen.
int PixelsOf(HWND link, COLORREF colour);
// The texts of this thread's tooltip tools for link with id 1; shown tells whether one is showing.
std::vector<std::string> TipTexts(HWND link, bool* shown = nullptr);
// Whether link's window is exactly as large as its caption in its font.
bool FitsCaption(HWND link);

// The real pointer, moved to a point of window (client coordinates), and its buttons
// (MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP).
void MovePointerTo(HWND window, POINT point);
void SendButton(DWORD event);
// Runs the steps of the dialog's modal loop (message filter, dialog keys, dispatch) on whatever
// is queued, and keeps doing so for milliseconds more.
void PumpDialog(HWND dialog, DWORD milliseconds = 0);

// The test program's own folder (no trailing backslash).
std::string ProgramFolder();
