// CDialog: the one dialog procedure, the message-filter hook of the modal loop, and the confirm and cancel paths.
#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

namespace {

// Hands msg back to the control that sent it (its lParam) as WM_REFLECT_BASE
// plus the message, when that control has an object of its own other than
// dialog; true when the control handled it, with its result in msg.
bool ReflectToChild(CWnd& dialog, CMessage& msg)
{
    CWnd* pChild = CWnd::FromHandlePermanent(reinterpret_cast<HWND>(msg.lParam));
    CMessage reflected{WM_REFLECT_BASE + msg.message, msg.wParam, msg.lParam, 0};
    if (!pChild || pChild == &dialog || !pChild->OnWndMsg(reflected))
        return false;
    msg.result = reflected.result;
    return true;
}

} // namespace

HHOOK CDialog::s_hFilterHook = nullptr;
int CDialog::s_nModalDepth = 0;

INT_PTR CDialog::DoModal()
{
    // DialogBoxParamA runs the modal loop; its message filter (MSGF_DIALOGBOX)
    // is called for each message before IsDialogMessage, which is where the
    // windows get their PreTranslateMessage look. The outermost dialog sets
    // the hook, and takes it off.
    if (s_nModalDepth++ == 0)
        s_hFilterHook = ::SetWindowsHookExA(WH_MSGFILTER, &CDialog::MessageFilterProc, nullptr, ::GetCurrentThreadId());
    HWND hParent = m_hParent;
    if (!hParent && AfxGetApp() && AfxGetApp()->m_pMainWnd != this && AfxGetApp()->m_pMainWnd)
        hParent = *AfxGetApp()->m_pMainWnd;
    const INT_PTR result = ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nTemplateId), hParent,
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (--s_nModalDepth == 0 && s_hFilterHook) {
        ::UnhookWindowsHookEx(s_hFilterHook);
        s_hFilterHook = nullptr;
    }
    return result;
}

LRESULT CALLBACK CDialog::MessageFilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX) {
        MSG& msg = *reinterpret_cast<MSG*>(lParam);
        for (HWND hWnd = msg.hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
            CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
            if (pWnd && pWnd->PreTranslateMessage(msg))
                return 1;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CDialog* pDialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        pDialog->SetPermanentHandle(hWnd);
    }
    CDialog* pDialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!pDialog)
        return FALSE;
    CMessage msg{message, wParam, lParam, 0};
    const bool handled = pDialog->OnWndMsg(msg);
    if (message == WM_NCDESTROY) {
        ::RemovePropA(hWnd, s_szObjectProperty);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        pDialog->Detach();
    }
    return ReturnFromDialogProc(hWnd, msg, handled);
}

INT_PTR CDialog::ReturnFromDialogProc(HWND hWnd, const CMessage& msg, bool handled)
{
    if (!handled)
        return FALSE;
    switch (msg.message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON: return static_cast<INT_PTR>(msg.result);
    default: ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, msg.result); return TRUE;
    }
}

bool CDialog::OnWndMsg(CMessage& msg)
{
    switch (msg.message) {
    case WM_INITDIALOG: {
        // A dialog opens centred on its owner, or on the work area without one, unless its own
        // initialisation placed it: the template's position (0, 0) is the screen's corner.
        RECT before;
        GetWindowRect(before);
        msg.result = OnInitDialog();
        RECT after;
        if (IsWindow() && GetWindowRect(after) && after.left == before.left && after.top == before.top)
            CenterWindow();
        return true;
    }
    case WM_COMMAND:
        // A control with an object of its own sees its notification first.
        return ReflectToChild(*this, msg) || OnCommand(LOWORD(msg.wParam), HIWORD(msg.wParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return ReflectToChild(*this, msg);
    default: return false;
    }
}

bool CDialog::OnCommand(UINT id, UINT)
{
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange&)
{
}

bool CDialog::UpdateData(bool save)
{
    CDataExchange dx(*this, save);
    DoDataExchange(dx);
    return dx.Succeeded();
}
