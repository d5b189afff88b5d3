// Drives ParcelorMFC.EXE from outside as a user would: fills the file and
// directory fields, presses Split, reads and dismisses the message box,
// then presses Exit. Prints the message text on standard output. With HOLD,
// leaves the message box up for HOLD milliseconds first (for screenshots).
//
// With --probe, while the split runs it keeps sending the window a message
// with a short timeout, as the system and other programs do, and clicks Exit
// with the mouse once the progress bar shows. It fails when a message goes
// unanswered, when the window goes away before the split's message appears,
// or when the program does not end by that queued click afterwards.
//
// With --follow, it types only the file, leaves the field with Tab as a
// person would, and fails unless the directory field then reads DIRECTORY.
//
//   split_driver [--probe | --follow] EXE FILE DIRECTORY [HOLD]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int FileField = 1000, DirectoryField = 1001, ProgressBar = 1007, SplitButton = 57673, ExitButton = 57674;

struct Search {
    DWORD process;
    HWND except;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data)
{
    Search& s = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = "", kind[16] = "";
    GetWindowTextA(window, caption, sizeof caption);
    GetClassNameA(window, kind, sizeof kind);
    if (owner == s.process && window != s.except && IsWindowVisible(window) && std::string(caption) == "The Parcelor" &&
        std::string(kind) == "#32770") {
        s.found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level dialog of process captioned "The Parcelor", other than except.
HWND findDialog(DWORD process, HWND except)
{
    Search search{process, except, nullptr};
    EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Five minutes: a 32-bit program emulated on a 64-bit-only kernel takes a minute or more to start.
HWND waitForDialog(DWORD process, HWND except)
{
    for (int tries = 0; tries < 3000; ++tries) {
        if (HWND window = findDialog(process, except))
            return window;
        Sleep(100);
    }
    return nullptr;
}

// The longest text among the static controls of box: the message itself.
std::string messageText(HWND box)
{
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[16] = "", buffer[1024] = "";
        GetClassNameA(child, kind, sizeof kind);
        GetWindowTextA(child, buffer, sizeof buffer);
        if (lstrcmpiA(kind, "Static") == 0 && std::string(buffer).size() > text.size())
            text = buffer;
    }
    return text;
}

void click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Until the split's message box appears: probes the dialog every 20 ms with a
// message that must be answered within 250 ms, and clicks Exit once while the
// bar shows. Answers the box, or null when the split broke one of the rules:
// a probe unanswered, or the dialog gone before its message appeared.
HWND probeWhileSplitting(DWORD process, HWND dialog)
{
    int answered = 0, unanswered = 0, splittingAnswered = 0;
    DWORD longest = 0;
    bool clicked = false, vanished = false;
    std::string when; // the first unanswered probes, from the Split click on
    HWND box = nullptr;
    for (DWORD start = GetTickCount(); !box && !vanished && GetTickCount() - start < 600000;) {
        const bool splitting = IsWindowVisible(GetDlgItem(dialog, ProgressBar)) != FALSE;
        const DWORD sent = GetTickCount();
        DWORD_PTR reply = 0;
        if (SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 250, &reply)) {
            ++answered;
            splittingAnswered += splitting;
        } else {
            ++unanswered;
            if (unanswered <= 5)
                when += " " + std::to_string(sent - start) + (splitting ? " ms" : " ms (bar hidden)");
        }
        longest = std::max<DWORD>(longest, GetTickCount() - sent);
        if (splitting && !clicked) {
            click(dialog, ExitButton);
            clicked = true;
        }
        Sleep(20);
        // The message box comes up before the queued click can end the dialog.
        const bool shown = IsWindowVisible(dialog) != FALSE;
        box = findDialog(process, dialog);
        vanished = !shown && !box;
    }
    std::fprintf(stderr,
                 "probes answered %d (%d while the bar showed), unanswered %d%s%s, longest %lu ms; "
                 "Exit clicked during the split: %s; dialog gone before the message: %s\n",
                 answered, splittingAnswered, unanswered, when.empty() ? "" : " at", when.c_str(),
                 static_cast<unsigned long>(longest), clicked ? "yes" : "no", vanished ? "yes" : "no");
    return unanswered == 0 && splittingAnswered >= 5 && clicked && !vanished ? box : nullptr;
}

// Types file into the focused file field and presses Tab there: the dialog
// moves the focus on, and the directory follows the file. True when the
// directory field then reads directory.
bool directoryFollows(HWND dialog, const char* file, const char* directory)
{
    SetDlgItemTextA(dialog, FileField, file);
    HWND field = GetDlgItem(dialog, FileField);
    PostMessageA(field, WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(field, WM_KEYUP, VK_TAB, 0xC0000001);
    char shown[MAX_PATH] = "";
    for (int tries = 0; tries < 100; ++tries) {
        Sleep(100);
        GetDlgItemTextA(dialog, DirectoryField, shown, sizeof shown);
        if (std::string(shown) == directory)
            return true;
    }
    std::fprintf(stderr, "the directory field reads \"%s\", not \"%s\"\n", shown, directory);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool probe = mode == "--probe", follow = mode == "--follow";
    if (probe || follow) {
        --argc;
        ++argv;
    }
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: split_driver [--probe | --follow] EXE FILE DIRECTORY [HOLD]\n");
        return 2;
    }
    std::string command = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", argv[1]);
        return 2;
    }
    int result = 1;
    HWND dialog = waitForDialog(process.dwProcessId, nullptr);
    if (!dialog) {
        std::fprintf(stderr, "the main dialog did not appear\n");
    } else if (!follow || directoryFollows(dialog, argv[2], argv[3])) {
        if (!follow) {
            SetDlgItemTextA(dialog, FileField, argv[2]);
            SetDlgItemTextA(dialog, DirectoryField, argv[3]);
        }
        click(dialog, SplitButton);
        HWND box =
            probe ? probeWhileSplitting(process.dwProcessId, dialog) : waitForDialog(process.dwProcessId, dialog);
        if (box) {
            std::fputs(messageText(box).c_str(), stdout);
            std::fflush(stdout);
            if (argc == 5)
                Sleep(static_cast<DWORD>(std::atoi(argv[4])));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            // A probed run may already end by the click it queued during the split.
            if (!probe || WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
                click(dialog, ExitButton);
            result = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0 ? 0 : 1;
            if (result)
                std::fprintf(stderr, "the program did not end after Exit\n");
        } else {
            std::fprintf(stderr, probe ? "the split did not stay alive to its message\n" : "no message box appeared\n");
        }
    }
    if (result)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
