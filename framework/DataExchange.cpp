// The DDX_ steps over edit fields, drop-down lists and control binding.
#include "framework/DataExchange.h"

#include <vector>

void DDX_Text(CDataExchange& dx, int id, std::string& value)
{
    HWND hControl = dx.Control(id);
    if (!hControl)
        return dx.Fail(id);
    if (dx.m_bSaveAndValidate)
        value = WindowTextOf(hControl);
    else
        ::SetWindowTextA(hControl, value.c_str());
}

void DDX_CBString(CDataExchange& dx, int id, std::string& value)
{
    HWND hControl = dx.Control(id);
    if (!hControl)
        return dx.Fail(id);
    if (dx.m_bSaveAndValidate) {
        const LRESULT index = ::SendMessageA(hControl, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) {
            value.clear();
            return;
        }
        std::vector<char> buffer(::SendMessageA(hControl, CB_GETLBTEXTLEN, index, 0) + 1);
        ::SendMessageA(hControl, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
        value = buffer.data();
    } else {
        const LRESULT index = ::SendMessageA(hControl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(value.c_str()));
        ::SendMessageA(hControl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_Control(CDataExchange& dx, int id, CWnd& control)
{
    if (static_cast<HWND>(control))
        return;
    if (!control.SubclassWindow(dx.Control(id)))
        dx.Fail(id);
}
