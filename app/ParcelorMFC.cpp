// CParcelorApp and theApp: the main dialog's modal run is the program's only event loop.
#include "app/ParcelorMFC.h"

#include "app/ParcelorMFCDlg.h"

CParcelorApp theApp;

bool CParcelorApp::InitInstance()
{
    Enable3dControls();
    CParcelorDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
