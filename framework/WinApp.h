// CWinApp: the one application object, the entry routine's hand-over and the application message box.
#pragma once

#include "framework/Wnd.h"

#include <string>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Starts the program; false ends it without a message loop.
    virtual bool InitInstance() { return false; }
    // Runs the message loop when InitInstance answered true.
    virtual int Run();
    virtual int ExitInstance() { return 0; }
    // Turns on three-dimensional controls; the common controls draw that way already.
    void Enable3dControls() { }
    // The name of the executable without its extension: the caption of AfxMessageBox.
    std::string AppName() const;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

    static CWinApp* s_pCurrent;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// A message box over the main window (or the box last active over it), captioned with the
// application's name.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
// The body of WinMain: sets up the application object and runs it.
int AfxWinMain(HINSTANCE hInstance);
