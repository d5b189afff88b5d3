// CDataExchange and the DDX_ steps: copying control contents into members and back.
#pragma once

#include "framework/Wnd.h"

#include <string>

class CDataExchange {
public:
    CDataExchange(CWnd& dialog, bool save) : m_dialog(dialog), m_bSaveAndValidate(save) { }

    HWND Control(int id) const { return m_dialog.GetDlgItem(id); }
    // Ends the exchange: focuses the control that could not be exchanged.
    void Fail(int id)
    {
        m_bFailed = true;
        ::SetFocus(Control(id));
    }
    bool Succeeded() const { return !m_bFailed; }

    CWnd& m_dialog;
    const bool m_bSaveAndValidate;

private:
    bool m_bFailed = false;
};

// An edit field's whole text.
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// A drop-down list's selected entry text; writing selects the entry with that text.
void DDX_CBString(CDataExchange& dx, int id, std::string& value);
// Binds control to the dialog's control id the first time; later exchanges leave it bound.
void DDX_Control(CDataExchange& dx, int id, CWnd& control);
