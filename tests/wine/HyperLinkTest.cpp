// The hyperlink control's own behaviour on the About box's control: what its flags change about
// clicks, keys and colours, and how its setters refit it.
#include "app/AboutDlg.h"
#include "res/resource.h"
#include "tests/wine/DialogTestSupport.h"
#include "tests/wine/LinkTestSupport.h"

#include <gtest/gtest.h>

namespace {

const COLORREF LinkBlue = RGB(0, 0, 255);
const COLORREF ActiveTeal = RGB(0, 128, 128);
const COLORREF FollowedPurple = RGB(128, 0, 128);
const COLORREF HoverRed = RGB(255, 0, 0);

HWND Link(HWND box)
{
    return ::GetDlgItem(box, IDC_HOME_PAGE_LINK);
}

void Button(HWND link, UINT message)
{
    ::SendMessageA(link, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(2, 2));
}

SIZE WindowSize(HWND window)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool FitsCaption(HWND link)
{
    const SIZE size = WindowSize(link), caption = CaptionExtent(link);
    return size.cx == caption.cx && size.cy == caption.cy;
}

} // namespace

TEST(HyperLink, FlagsDecideWhetherPressOrReleaseFollowsAndWhereTheFocusGoes)
{
    struct Case {
        const char* name;
        DWORD remove, add;
        size_t followsOnPress; // opened after the button went down
        bool focusedOnPress;
        size_t followsOnRelease; // opened in all after it came up
    };
    const Case cases[] = {
        {"defaults", 0, 0, 0, true, 1},
        {"opens on press", 0, CHyperLink::LinkOpensOnPress, 1, true, 1},
        {"keeps away from the focus", CHyperLink::LinkTakesFocus, 0, 0, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp app;
        StandInLaunch launch;
        CAboutDlg dlg;
        ASSERT_TRUE(dlg.m_linkHomePage.ChangeFlags(c.remove, c.add, true));
        RunInsideModal(dlg, [&] {
            HWND link = Link(dlg);
            Button(link, WM_LBUTTONDOWN);
            EXPECT_EQ(launch.opened.size(), c.followsOnPress);
            EXPECT_EQ(FocusedId(), c.focusedOnPress ? IDC_HOME_PAGE_LINK : IDOK);
            EXPECT_EQ(AskColours(link).text, ActiveTeal); // pressed is active, focused or not
            Button(link, WM_LBUTTONUP);
            EXPECT_EQ(launch.opened.size(), c.followsOnRelease);

            // Active until the focus leaves: a later release follows again unless press opens.
            Button(link, WM_LBUTTONUP);
            const size_t again = c.followsOnRelease + (c.followsOnPress ? 0 : 1);
            EXPECT_EQ(launch.opened.size(), again);
            // Space follows whatever the flags say; Enter is the dialog's.
            ::SendMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
            ::SendMessageA(link, WM_KEYDOWN, VK_RETURN, 0);
            EXPECT_EQ(launch.opened.size(), again + 1);
        });
    }
}

TEST(HyperLink, ColourFollowsHoverActiveAndFollowedAsTheFlagsSay)
{
    TestApp app;
    StandInLaunch launch;
    CAboutDlg dlg;
    CHyperLink& link = dlg.m_linkHomePage;
    link.ChangeFlags(0, CHyperLink::LinkHoverColour, false);
    RunInsideModal(dlg, [&] {
        HWND hLink = Link(dlg);
        ::SendMessageA(hLink, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        EXPECT_EQ(AskColours(hLink).text, HoverRed);
        ::SetFocus(hLink);
        EXPECT_EQ(AskColours(hLink).text, HoverRed); // hover wins over active
        ::SendMessageA(hLink, WM_MOUSEMOVE, 0, MAKELPARAM(-5, 1));
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(AskColours(hLink).text, ActiveTeal);
        link.MarkFollowed(true);
        EXPECT_EQ(AskColours(hLink).text, ActiveTeal); // active even when followed
        link.ChangeFlags(0, CHyperLink::LinkIgnoresActive, true);
        EXPECT_EQ(AskColours(hLink).text, FollowedPurple);

        // One palette for every link; a hover of -1 is the highlight colour of the moment.
        CHyperLink::SetPalette(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), CLR_INVALID);
        const LinkPalette palette = CHyperLink::Palette();
        CHyperLink::SetPalette(DefaultLinkPalette);
        EXPECT_EQ(palette.followed, RGB(3, 3, 3));
        EXPECT_EQ(palette.hover, ::GetSysColor(COLOR_HIGHLIGHT));
    });
    EXPECT_TRUE(launch.opened.empty());
}

TEST(HyperLink, SettersRefitTheLinkAndLeaveItShown)
{
    TestApp app;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        CHyperLink& link = dlg.m_linkHomePage;
        HWND hLink = Link(dlg);
        const RECT before = RectInParent(hLink);

        link.ShowWindow(SW_HIDE);
        link.SetCaption("A caption a good deal longer than the address");
        EXPECT_TRUE(::IsWindowVisible(hLink));
        EXPECT_TRUE(FitsCaption(hLink));
        EXPECT_GT(WindowSize(hLink).cx, before.right - before.left);
        EXPECT_EQ(RectInParent(hLink).left, before.left);
        EXPECT_EQ(link.Target(), "https://parcelor.example/");

        link.ShowWindow(SW_HIDE);
        link.SetTarget("https://elsewhere.example/");
        EXPECT_TRUE(::IsWindowVisible(hLink));
        EXPECT_EQ(WindowText(hLink), "A caption a good deal longer than the address");
        EXPECT_EQ(TipTexts(hLink), std::vector<std::string>{"https://elsewhere.example/"});

        // A font as given, underline and all, and the window fitted to the larger caption.
        LOGFONTA big{};
        big.lfHeight = -30;
        ::lstrcpyA(big.lfFaceName, "Tahoma");
        HFONT font = ::CreateFontIndirectA(&big);
        link.ShowWindow(SW_HIDE);
        link.SetCaptionFont(font);
        ::DeleteObject(font); // the link made its own copy
        LOGFONTA shown{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hLink, WM_GETFONT, 0, 0)), sizeof shown, &shown);
        EXPECT_EQ(shown.lfHeight, -30);
        EXPECT_EQ(shown.lfUnderline, 0);
        EXPECT_TRUE(::IsWindowVisible(hLink));
        EXPECT_TRUE(FitsCaption(hLink));

        // Overlapping masks change nothing; the underline and the fitting come back when added.
        const DWORD flags = link.Flags();
        EXPECT_FALSE(link.ChangeFlags(CHyperLink::LinkFitsText, CHyperLink::LinkFitsText, true));
        EXPECT_EQ(link.Flags(), flags);
        EXPECT_TRUE(link.ChangeFlags(CHyperLink::LinkFitsText, CHyperLink::LinkUnderlined, true));
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hLink, WM_GETFONT, 0, 0)), sizeof shown, &shown);
        EXPECT_EQ(shown.lfUnderline, 1);
        const SIZE fitted = WindowSize(hLink);
        link.SetCaption("short");
        EXPECT_EQ(WindowSize(hLink).cx, fitted.cx); // no longer fitted
        link.ChangeFlags(0, CHyperLink::LinkFitsText, true);
        EXPECT_TRUE(FitsCaption(hLink));
    });
}

TEST(HyperLink, AControlWithoutAFontKeepsItsSizeAndStillShowsTheTarget)
{
    TestApp app;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND bare = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 50, 150, 12, dlg, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_EQ(::SendMessageA(bare, WM_GETFONT, 0, 0), 0);
        CHyperLink link;
        link.SetTarget("parcelor.example");
        ASSERT_TRUE(link.SubclassWindow(bare));
        EXPECT_EQ(WindowText(bare), "parcelor.example"); // an empty caption shows the target
        EXPECT_FALSE(link.Flags() & CHyperLink::LinkFitsText);
        EXPECT_EQ(WindowSize(bare).cx, 150);
        EXPECT_EQ(TipTexts(bare), std::vector<std::string>{"parcelor.example"});
        EXPECT_EQ(AskColours(bare).text, LinkBlue);
        ::DestroyWindow(bare);
    });
}
