// CWinApp and the entry routine WinMain, which hands over to the application object.
#include "framework/WinApp.h"

#include "text/SystemLeadBytes.h"

#include <commctrl.h>

CWinApp* CWinApp::s_pCurrent = nullptr;

CWinApp::CWinApp()
{
    s_pCurrent = this;
}

CWinApp::~CWinApp()
{
    s_pCurrent = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

std::string CWinApp::AppName() const
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(m_hInstance, szPath, MAX_PATH);
    // A character at a time: the second byte of a double-byte one may have a backslash's value.
    const char* start = szPath;
    const char* dot = nullptr;
    for (const char* at = szPath; *at; at = nextCharacter(at, SystemLeadBytes())) {
        if (*at == '\\' || *at == '/') {
            start = at + 1;
            dot = nullptr;
        } else if (*at == '.') {
            dot = at;
        }
    }
    return dot ? std::string(start, dot) : std::string(start);
}

CWinApp* AfxGetApp()
{
    return CWinApp::s_pCurrent;
}

HINSTANCE AfxGetInstanceHandle()
{
    return CWinApp::s_pCurrent ? CWinApp::s_pCurrent->m_hInstance : ::GetModuleHandleA(nullptr);
}

int AfxMessageBox(const std::string& text, UINT type)
{
    CWinApp* pApp = AfxGetApp();
    HWND hOwner = pApp && pApp->m_pMainWnd ? static_cast<HWND>(*pApp->m_pMainWnd) : nullptr;
    // Owned by the box that was active last over the main window (an About box, say), so that
    // the box the user was in waits for this one instead of staying usable beside it.
    if (hOwner)
        hOwner = ::GetLastActivePopup(hOwner);
    return ::MessageBoxA(hOwner, text.c_str(), pApp ? pApp->AppName().c_str() : "", type);
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
