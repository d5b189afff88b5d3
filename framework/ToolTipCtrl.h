// CToolTipCtrl: a tooltip window owned by another window, with its tools.
#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>
#include <string>

class CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override;
    bool Create(CWnd& owner, DWORD style = 0);
    bool AddTool(CWnd& window, const std::string& text, const RECT& rect, UINT id);
    void UpdateTipText(const std::string& text, CWnd& window, UINT id);
    void RelayEvent(MSG& msg)
    {
        if (static_cast<HWND>(*this))
            SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
};
