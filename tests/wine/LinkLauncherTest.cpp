// Following a link on the real system: the fallback to the program registered for .htm documents
// when the shell cannot open the target, and the box that explains every failure, with the caption
// that the product's own file name gives it and the About box waiting under it.
#include "app/AboutDlg.h"
#include "app/ParcelorMFCDlg.h"
#include "controls/LaunchErrors.h"
#include "res/resource.h"
#include "tests/wine/DialogTestSupport.h"
#include "tests/wine/LinkTestSupport.h"

#include <cstdlib>

namespace {

const char TestClass[] = "ParcelorTest.Document";

void SetDefault(const std::string& key, const std::string& value)
{
    EXPECT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size())),
              ERROR_SUCCESS);
}

// While it lives, .htm documents belong to a class of the tests' own whose open command is command
// (none when command is empty); then .htm gets back what it held.
class HtmAssociation {
public:
    explicit HtmAssociation(const std::string& command)
    {
        char previous[MAX_PATH] = "";
        LONG size = sizeof previous;
        m_bHadValue = ::RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", previous, &size) == ERROR_SUCCESS;
        m_strPrevious = previous;
        SetDefault(".htm", TestClass);
        SetDefault(TestClass, "Parcelor test document");
        if (!command.empty())
            SetDefault(std::string(TestClass) + "\\shell\\open\\command", command);
    }
    ~HtmAssociation()
    {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, TestClass);
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, TestClass);
        if (m_bHadValue) {
            SetDefault(".htm", m_strPrevious);
        } else {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
        }
    }
    HtmAssociation(const HtmAssociation&) = delete;
    HtmAssociation& operator=(const HtmAssociation&) = delete;

private:
    bool m_bHadValue = false;
    std::string m_strPrevious;
};

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

TEST(LinkLauncher, WhatTheShellCannotOpenGoesToTheProgramRegisteredForHtm)
{
    ScratchDirectory dir;
    const std::string recorder = Quoted(ProgramFolder() + "\\RecordCommandLine.exe");
    const std::string record = dir / "command line.txt";
    const char target[] = "parcelor-no-such-document two words"; // no file of that name
    TestApp app;
    BoxCatcher catcher;
    {
        // The quoted placeholder and what follows it give way to a space and the bare address.
        HtmAssociation association(recorder + " " + Quoted(record) + " \"%1\" --dropped");
        char value[MAX_PATH] = "untouched";
        EXPECT_EQ(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, ".htm", value), ERROR_SUCCESS);
        EXPECT_STREQ(value, TestClass);
        EXPECT_NE(CHyperLink::ReadKeyDefault(HKEY_CLASSES_ROOT, "ParcelorTest.Missing", value), ERROR_SUCCESS);
        EXPECT_STREQ(value, TestClass);

        CAboutDlg dlg;
        dlg.m_linkHomePage.SetTarget(target);
        RunInsideModal(dlg, [&] {
            EXPECT_EQ(WindowText(Link(dlg)), "https://parcelor.example/");
            ::SendMessageA(Link(dlg), WM_KEYDOWN, VK_SPACE, 0);
            for (int i = 0; i < 200 && !FileExists(record); ++i)
                ::Sleep(25);
            EXPECT_EQ(ReadFileBytes(record), recorder + " " + Quoted(record) + "  " + target);
            EXPECT_TRUE(dlg.m_linkHomePage.IsFollowed());
        });
        EXPECT_TRUE(catcher.Boxes().empty());
    }
    {
        // Without an open command the shell's own code stands, and is explained.
        HtmAssociation association("");
        EXPECT_EQ(CHyperLink::LaunchAddress(target, SW_SHOW), 2);
        CAboutDlg dlg;
        dlg.m_linkHomePage.SetTarget(target);
        RunInsideModal(dlg, [&] {
            ::SendMessageA(Link(dlg), WM_KEYDOWN, VK_SPACE, 0);
            EXPECT_FALSE(dlg.m_linkHomePage.IsFollowed());
        });
        ASSERT_EQ(catcher.Boxes().size(), 1u);
        EXPECT_EQ(catcher.Boxes()[0].text, "Can't open link:\n\nThe specified file was not found.");
    }
}

// Run a second time under the product's file name by the test below, which sets PARCELOR_CAPTION.
TEST(LinkLauncher, EveryFailureIsExplainedWithTheExclamationUnderTheProgramsName)
{
    const char* caption = std::getenv("PARCELOR_CAPTION");
    TestApp app;
    StandInLaunch launch;
    BoxCatcher catcher;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        for (launch.shellCode = 0; launch.shellCode <= 32; ++launch.shellCode)
            ::SendMessageA(Link(dlg), WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_FALSE(dlg.m_linkHomePage.IsFollowed());
        EXPECT_EQ(AskedColour(Link(dlg)), RGB(0, 0, 255));
        CHyperLink::ReportLaunchError(-7);
    });
    ASSERT_EQ(catcher.Boxes().size(), 34u);
    for (LaunchCode code = 0; code <= 33; ++code) {
        const CaughtBox& box = catcher.Boxes()[code];
        EXPECT_EQ(box.text, LaunchErrorMessage(code == 33 ? -7 : code)) << code;
        EXPECT_EQ(box.icon, UINT(MB_ICONEXCLAMATION)) << code;
        EXPECT_EQ(box.caption, caption ? caption : "wine_dialog_tests") << code;
    }
    EXPECT_EQ(catcher.Boxes()[1].text, "Can't open link:\n\nUnknown Error (1) occurred.");
    EXPECT_EQ(catcher.Boxes()[26].text, "Can't open link:\n\nA sharing violation occurred. ");
    EXPECT_EQ(catcher.Boxes()[33].text, "Can't open link:\n\nUnknown Error (-7) occurred.");
}

TEST(LinkLauncher, TheProductsFileNameCaptionsItsFailureBoxes)
{
    if (std::getenv("PARCELOR_CAPTION"))
        GTEST_SKIP() << "already the product's copy";
    ScratchDirectory dir;
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string copy = dir / "ParcelorMFC.EXE";
    ASSERT_TRUE(::CopyFileA(self, copy.c_str(), TRUE));

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = ::CreateFileA((dir / "run.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = start.hStdError = output;
    std::string command = Quoted(copy) + " --gtest_filter=LinkLauncher.EveryFailureIsExplained*";
    PROCESS_INFORMATION process{};
    ::SetEnvironmentVariableA("PARCELOR_CAPTION", "ParcelorMFC");
    const BOOL started =
        ::CreateProcessA(copy.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
    ::SetEnvironmentVariableA("PARCELOR_CAPTION", nullptr);
    ::CloseHandle(output);
    ASSERT_TRUE(started);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    const std::string run = ReadFileBytes(dir / "run.txt");
    EXPECT_EQ(exitCode, 0u) << run;
    EXPECT_NE(run.find("[  PASSED  ] 1 test"), std::string::npos) << run;
}

TEST(LinkLauncher, TheFailureBoxWaitsOverTheAboutBoxItCameFrom)
{
    TestApp app;
    StandInLaunch launch;
    launch.shellCode = 31;
    CParcelorDlg main;
    app.m_pMainWnd = &main;
    HWND about = nullptr, owner = nullptr;
    bool aboutEnabled = true;
    BoxCatcher catcher([&](HWND box, const CaughtBox& caught) {
        if (caught.caption == "About The Parcelor") {
            about = box;
            ::PostMessageA(Link(box), WM_KEYDOWN, VK_SPACE, 0);
            return true;
        }
        owner = ::GetWindow(box, GW_OWNER);
        aboutEnabled = ::IsWindowEnabled(about) != FALSE;
        ::PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
        return false;
    });
    RunInsideModal(main, [&] { ::SendMessageA(::GetDlgItem(main, IDC_ABOUT), BM_CLICK, 0, 0); });
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    EXPECT_EQ(owner, about);
    EXPECT_FALSE(aboutEnabled);
}
