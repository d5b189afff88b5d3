// The modal-loop driver, the box catcher and the file helpers of the in-process dialog tests.
#include "tests/wine/DialogTestSupport.h"

#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// The box catcher that the CBT hook of this thread reports to (the innermost one).
thread_local BoxCatcher* t_pCatcher = nullptr;

const char CaughtProperty[] = "ParcelorTestCaught";

bool IsDialogBox(HWND hWnd)
{
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    return std::string(name) == "#32770";
}

UINT IconType(HWND box)
{
    struct Icons {
        HICON handle;
        UINT type;
    };
    const Icons icons[] = {{::LoadIconA(nullptr, IDI_HAND), MB_ICONHAND},
                           {::LoadIconA(nullptr, IDI_EXCLAMATION), MB_ICONEXCLAMATION},
                           {::LoadIconA(nullptr, IDI_ASTERISK), MB_ICONASTERISK},
                           {::LoadIconA(nullptr, IDI_QUESTION), MB_ICONQUESTION}};
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        const HICON shown = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        for (const Icons& icon : icons)
            if (shown && shown == icon.handle)
                return icon.type;
    }
    return 0;
}

struct ModalRun {
    CDialog* dialog = nullptr;
    const std::function<void()>* body = nullptr;
    bool endAfterBody = true;
    UINT_PTR bodyTimer = 0;
    UINT_PTR safetyTimer = 0;
    ModalRun* outer = nullptr;
};
thread_local ModalRun* t_pRun = nullptr;

void CALLBACK OnRunTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ModalRun* run = t_pRun;
    ::KillTimer(nullptr, id);
    if (!run)
        return;
    HWND hDialog = *run->dialog;
    if (id == run->bodyTimer) {
        // A template without WS_VISIBLE is shown by the modal loop once it first runs idle.
        if (::IsWindow(hDialog) && !::IsWindowVisible(hDialog)) {
            run->bodyTimer = ::SetTimer(nullptr, 0, 10, &OnRunTimer);
            return;
        }
        run->bodyTimer = 0;
        (*run->body)();
        if (run->endAfterBody) {
            if (::IsWindow(hDialog))
                ::EndDialog(hDialog, EndedByTest);
        } else {
            run->safetyTimer = ::SetTimer(nullptr, 0, 5000, &OnRunTimer);
        }
    } else if (id == run->safetyTimer) {
        run->safetyTimer = 0;
        if (::IsWindow(hDialog))
            ::EndDialog(hDialog, EndedByTest);
    }
}

bool IsDialogUnderTest(HWND hWnd)
{
    for (ModalRun* run = t_pRun; run; run = run->outer)
        if (hWnd == *run->dialog)
            return true;
    return false;
}

} // namespace

BoxCatcher::BoxCatcher(Reaction reaction) : m_reaction(std::move(reaction)), m_pOuter(t_pCatcher)
{
    m_hHook = ::SetWindowsHookExA(WH_CBT, &BoxCatcher::CbtProc, nullptr, ::GetCurrentThreadId());
    t_pCatcher = this;
}

BoxCatcher::~BoxCatcher()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    t_pCatcher = m_pOuter;
}

LRESULT CALLBACK BoxCatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && t_pCatcher && IsDialogBox(hWnd) && !IsDialogUnderTest(hWnd) &&
        !::GetPropA(hWnd, CaughtProperty)) {
        ::SetPropA(hWnd, CaughtProperty, reinterpret_cast<HANDLE>(1));
        t_pCatcher->Catch(hWnd);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void BoxCatcher::Catch(HWND box)
{
    CaughtBox caught;
    caught.caption = WindowText(box);
    // A message box shows its text in the static 0xFFFF.
    if (HWND text = ::GetDlgItem(box, 0xFFFF))
        caught.text = WindowText(text);
    caught.icon = IconType(box);
    m_boxes.push_back(caught);
    const bool closed = m_reaction && m_reaction(box, caught);
    // Activation comes before the box's own loop: a posted command closes it from there.
    if (!closed && ::IsWindow(box))
        ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

INT_PTR RunInsideModal(CDialog& dialog, const std::function<void()>& body, bool endAfterBody)
{
    ModalRun run;
    run.dialog = &dialog;
    run.body = &body;
    run.endAfterBody = endAfterBody;
    run.outer = t_pRun;
    t_pRun = &run;
    run.bodyTimer = ::SetTimer(nullptr, 0, 1, &OnRunTimer);
    const INT_PTR result = dialog.DoModal();
    if (run.bodyTimer)
        ::KillTimer(nullptr, run.bodyTimer);
    if (run.safetyTimer)
        ::KillTimer(nullptr, run.safetyTimer);
    t_pRun = run.outer;
    return result;
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Type(HWND dialog, int id, const std::string& text)
{
    ::SetDlgItemTextA(dialog, id, text.c_str());
}

void Focus(HWND dialog, int id)
{
    ::SetFocus(::GetDlgItem(dialog, id));
}

void Click(HWND dialog, int id)
{
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void Choose(HWND dialog, int id, const char* entry)
{
    HWND combo = ::GetDlgItem(dialog, id);
    ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry));
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

HDROP MakeDrop(const std::vector<std::wstring>& paths)
{
    std::wstring names;
    for (const std::wstring& path : paths)
        names += path + L'\0';
    names += L'\0';
    HGLOBAL block = ::GlobalAlloc(GHND | GMEM_SHARE, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {40, 40};
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

void DropOn(HWND window, const std::vector<std::wstring>& paths)
{
    ::SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
}

std::string WindowText(HWND hWnd)
{
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hWnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hWnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::string ItemText(HWND dialog, int id)
{
    return WindowText(::GetDlgItem(dialog, id));
}

std::vector<std::string> ClippedCaptions(HWND dialog)
{
    std::vector<std::string> clipped;
    RECT inside;
    ::GetClientRect(dialog, &inside);
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(control))
            continue;
        char kind[32] = "";
        ::GetClassNameA(control, kind, sizeof kind);
        const std::string name = std::string(kind) + " \"" + WindowText(control) + "\"";
        RECT placed;
        ::GetWindowRect(control, &placed);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&placed), 2);
        if (placed.left < 0 || placed.top < 0 || placed.right > inside.right || placed.bottom > inside.bottom)
            clipped.push_back(name + " reaches out of the dialog");

        const LONG style = ::GetWindowLongA(control, GWL_STYLE);
        const bool text = lstrcmpiA(kind, "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
        const bool button = lstrcmpiA(kind, "Button") == 0;
        const bool list = lstrcmpiA(kind, "ComboBox") == 0;
        const std::string caption = WindowText(control);
        if (caption.empty() || !(text || button || list))
            continue;
        RECT room;
        ::GetClientRect(control, &room);
        if (button)
            ::InflateRect(&room, -::GetSystemMetrics(SM_CXEDGE) * 2, -::GetSystemMetrics(SM_CYEDGE) * 2);
        if (list)
            room.right -= ::GetSystemMetrics(SM_CXVSCROLL) + ::GetSystemMetrics(SM_CXEDGE) * 2;
        // A text wraps at word breaks inside its width; whatever is left over runs out at the bottom or side.
        UINT format =
            DT_CALCRECT | (text ? DT_WORDBREAK : DT_SINGLELINE) | (style & SS_NOPREFIX && text ? DT_NOPREFIX : 0);
        RECT need = {0, 0, room.right - room.left, 0};
        HDC dc = ::GetDC(control);
        HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
        ::DrawTextA(dc, caption.c_str(), -1, &need, format);
        ::SelectObject(dc, previous);
        ::ReleaseDC(control, dc);
        if (need.right > room.right - room.left || need.bottom > room.bottom - room.top)
            clipped.push_back(name + " needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) +
                              ", has " + std::to_string(room.right - room.left) + "x" +
                              std::to_string(room.bottom - room.top));
    }
    return clipped;
}

bool ItemVisible(HWND dialog, int id)
{
    return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE;
}

std::vector<std::string> ComboEntries(HWND combo)
{
    std::vector<std::string> entries;
    const LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string entry(static_cast<size_t>(::SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        entry.resize(static_cast<size_t>(::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0]))));
        entries.push_back(entry);
    }
    return entries;
}

int FocusedId()
{
    HWND focus = ::GetFocus();
    return focus ? ::GetDlgCtrlID(focus) : 0;
}

ScratchDirectory::ScratchDirectory()
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    for (unsigned n = ::GetTickCount();; ++n) {
        m_path = std::string(temp) + "parcelor-test-" + std::to_string(n);
        if (::CreateDirectoryA(m_path.c_str(), nullptr))
            break;
    }
}

namespace {

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileA((path + "\\" + name).c_str());
            else if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (::FindNextFileA(hFind, &found));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(path.c_str());
}

} // namespace

ScratchDirectory::~ScratchDirectory()
{
    RemoveTree(m_path);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string PatternBytes(size_t size)
{
    std::string bytes(size, '\0');
    unsigned state = 12345;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

// The dialogs draw with the themed common controls, as the program does.
int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
