// Drives the real dialogs from inside their own modal loops: a thread timer runs the test's body
// once the loop is up, and a CBT hook catches every box the dialog opens, reads it and closes it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

class CDialog;

// One dialog box that opened on top of the dialog under test, as it looked when it appeared.
struct CaughtBox {
    std::string caption;
    std::string text; // a message box's text; empty for other dialogs
    UINT icon = 0;    // MB_ICONHAND, MB_ICONEXCLAMATION, MB_ICONASTERISK, MB_ICONQUESTION or 0
};

// While it lives, catches the dialog boxes (message boxes, common dialogs, the program's own
// dialogs) that this thread activates, except the ones RunInsideModal runs. Each is recorded and shown to the reaction,
// which answers true when it has closed the box (or posted what closes it); otherwise the box is closed with Cancel.
class BoxCatcher {
public:
    using Reaction = std::function<bool(HWND box, const CaughtBox& caught)>;

    explicit BoxCatcher(Reaction reaction = nullptr);
    ~BoxCatcher();
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;

    const std::vector<CaughtBox>& Boxes() const { return m_boxes; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    void Catch(HWND box);

    Reaction m_reaction;
    std::vector<CaughtBox> m_boxes;
    HHOOK m_hHook = nullptr;
    BoxCatcher* m_pOuter = nullptr;
};

// Ends the modal run of the dialog when the body did not end it itself.
inline constexpr INT_PTR EndedByTest = 0x7E57;

// Runs dialog modally and calls body once its modal loop is running and has shown it. With endAfterBody the dialog
// is then ended with EndedByTest; otherwise the body has set things going that end it (posted
// keys, say), and EndedByTest follows only if nothing did within a few seconds. Answers DoModal's
// result.
INT_PTR RunInsideModal(CDialog& dialog, const std::function<void()>& body, bool endAfterBody = true);

// Lets the modal loop and the controls handle everything queued for this thread.
void PumpPending();

// What a person does to control id of dialog: types text into it; moves the focus to it (the
// field left gets its focus-loss notification); clicks it; picks entry of a drop-down list (the
// selection, then its notification, as a click makes them).
void Type(HWND dialog, int id, const std::string& text);
void Focus(HWND dialog, int id);
void Click(HWND dialog, int id);
void Choose(HWND dialog, int id, const char* entry);

// A drop of paths on a window as Explorer hands it over: a DROPFILES block of
// wide, double-null-terminated names, which the receiver frees (DragFinish).
HDROP MakeDrop(const std::vector<std::wstring>& paths);
// paths dropped on window: WM_DROPFILES sent with such a block.
void DropOn(HWND window, const std::vector<std::wstring>& paths);

// Small readers of the controls, as a person would see them.
std::string WindowText(HWND hWnd);
std::string ItemText(HWND dialog, int id);
bool ItemVisible(HWND dialog, int id);
std::vector<std::string> ComboEntries(HWND combo);
// The focused window's control id, or 0.
int FocusedId();
// The visible captions of dialog that its controls cut off: a text, button or drop-down list
// whose text, drawn in its own font, does not fit inside it, or a control that reaches out of the
// dialog. Each entry names the control and both sizes.
std::vector<std::string> ClippedCaptions(HWND dialog);

// A scratch directory (Windows path, no trailing backslash) removed with its files at the end.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// size bytes that differ from piece to piece, so that a swapped or shifted piece shows.
std::string PatternBytes(size_t size);
