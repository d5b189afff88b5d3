// CDialog: a modal dialog from a template, opened centred, with data exchange and the default dialog keys.
#pragma once

#include "framework/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND hParent = nullptr) : m_nTemplateId(templateId), m_hParent(hParent) { }

    // Runs the dialog until EndDialog; answers its result, or -1 if it could not be created.
    INT_PTR DoModal();
    bool EndDialog(INT_PTR result) const { return ::EndDialog(*this, result) != FALSE; }
    // Runs DoDataExchange: save reads the controls into the members, else writes them.
    bool UpdateData(bool save = true);

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual bool OnCommand(UINT id, UINT code);
    virtual void DoDataExchange(CDataExchange& dx);
    bool OnWndMsg(CMessage& msg) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Answers the dialog manager: some messages return their result directly, the rest through DWLP_MSGRESULT.
    static INT_PTR ReturnFromDialogProc(HWND hWnd, const CMessage& msg, bool handled);
    // Sees every message of the modal loop before the dialog's navigation.
    static LRESULT CALLBACK MessageFilterProc(int code, WPARAM wParam, LPARAM lParam);

    // The one filter hook of the user-interface thread while any of its modal
    // dialogs runs, and how many run: a dialog opened from another finds it
    // there, so that no message is looked at once per dialog open.
    static HHOOK s_hFilterHook;
    static int s_nModalDepth;

    UINT m_nTemplateId;
    HWND m_hParent;
};
