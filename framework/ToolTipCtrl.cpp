// CToolTipCtrl: creating the tooltip window and managing its tools.
#include "framework/ToolTipCtrl.h"

#include <commctrl.h>

CToolTipCtrl::~CToolTipCtrl()
{
    if (IsWindow())
        DestroyWindow();
}

bool CToolTipCtrl::Create(CWnd& owner, DWORD style)
{
    Attach(::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleA(nullptr), nullptr));
    return static_cast<HWND>(*this) != nullptr;
}

bool CToolTipCtrl::AddTool(CWnd& window, const std::string& text, const RECT& rect, UINT id)
{
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = id;
    tool.rect = rect;
    tool.lpszText = const_cast<char*>(text.c_str());
    return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

void CToolTipCtrl::UpdateTipText(const std::string& text, CWnd& window, UINT id)
{
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = window;
    tool.uId = id;
    tool.lpszText = const_cast<char*>(text.c_str());
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}
