// The About box as a user meets it: its controls, its link's caption, target, tooltip, size and
// colours, following the link by Space and by the mouse, and opening it afresh from the About
// button and the system menu of the real main dialog.
#include "app/AboutDlg.h"
#include "app/ParcelorMFCDlg.h"
#include "res/resource.h"
#include "tests/wine/DialogTestSupport.h"
#include "tests/wine/LinkTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const char HomePage[] = "https://parcelor.example/";
const COLORREF LinkBlue = RGB(0, 0, 255);
const COLORREF ActiveTeal = RGB(0, 128, 128);
const COLORREF FollowedPurple = RGB(128, 0, 128);

HWND Link(HWND box)
{
    return ::GetDlgItem(box, IDC_HOME_PAGE_LINK);
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

POINT Middle(HWND window)
{
    RECT client;
    ::GetClientRect(window, &client);
    return {client.right / 2, client.bottom / 2};
}

} // namespace

TEST(AboutBox, ShowsNameVersionNoticeAndTheHomePageLinkFittedToItsCaption)
{
    TestApp app;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND box = dlg;
        EXPECT_EQ(WindowText(box), "About The Parcelor");
        struct Shown {
            int id;
            const char* kind;
            const char* text; // null: an icon, which has none to show
        };
        const Shown expected[] = {{0xFFFF, "Static", nullptr},
                                  {0xFFFF, "Static", "The Parcelor Version 1.0.0"},
                                  {0xFFFF, "Static", "Free to use, copy and share."},
                                  {IDOK, "Button", "OK"},
                                  {IDC_HOME_PAGE_LINK, "Static", HomePage}};
        HWND child = ::GetWindow(box, GW_CHILD);
        for (const Shown& want : expected) {
            SCOPED_TRACE(want.text ? want.text : "icon");
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(::GetDlgCtrlID(child) & 0xFFFF, want.id);
            EXPECT_EQ(ClassOf(child), want.kind);
            if (want.text) {
                EXPECT_EQ(WindowText(child), want.text);
            }
            child = ::GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr);
        EXPECT_NE(::SendMessageA(::GetWindow(box, GW_CHILD), STM_GETICON, 0, 0), 0);
        EXPECT_EQ(FocusedId(), IDOK);
        EXPECT_EQ(LOWORD(::SendMessageA(box, DM_GETDEFID, 0, 0)), IDOK);

        // The template's text is at once the caption, the target and the tooltip.
        HWND link = Link(box);
        EXPECT_EQ(dlg.m_linkHomePage.Target(), HomePage);
        EXPECT_EQ(TipTexts(link), std::vector<std::string>{HomePage});

        // Underlined, and shrunk to its caption from the template's top-left corner.
        LOGFONTA font{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(link, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfUnderline, 1);
        RECT placed = {40, 34, 40 + 179, 34 + 8};
        ::MapDialogRect(box, &placed);
        const RECT now = RectInParent(link);
        const SIZE caption = CaptionExtent(link);
        EXPECT_EQ(now.left, placed.left);
        EXPECT_EQ(now.top, placed.top);
        EXPECT_EQ(now.right - now.left, caption.cx);
        EXPECT_EQ(now.bottom - now.top, caption.cy);
        EXPECT_LT(caption.cx, placed.right - placed.left);

        // Drawn in the link colour on the dialog's own background.
        const LinkColours colours = AskColours(link);
        EXPECT_EQ(colours.text, LinkBlue);
        EXPECT_EQ(colours.backgroundMode, TRANSPARENT);
        EXPECT_EQ(colours.brush, ::GetStockObject(NULL_BRUSH));
        EXPECT_GT(PixelsOf(link, LinkBlue), 0);
    });
}

TEST(AboutBox, TabAndSpaceFollowTheLinkWhichThenShowsFollowed)
{
    TestApp app;
    StandInLaunch launch;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND box = dlg;
        HWND link = Link(box);
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        PumpDialog(box);
        ASSERT_EQ(FocusedId(), IDC_HOME_PAGE_LINK);
        EXPECT_EQ(AskColours(link).text, ActiveTeal);
        EXPECT_TRUE(launch.opened.empty());

        ::PostMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
        PumpDialog(box);
        EXPECT_EQ(launch.opened, std::vector<std::string>{HomePage});
        EXPECT_EQ(launch.shows, std::vector<int>{SW_SHOW});
        EXPECT_TRUE(dlg.m_linkHomePage.IsFollowed());
        EXPECT_EQ(AskColours(link).text, ActiveTeal); // still focused

        ::PostMessageA(link, WM_KEYDOWN, VK_TAB, 0);
        PumpDialog(box);
        EXPECT_EQ(FocusedId(), IDOK);
        EXPECT_EQ(AskColours(link).text, FollowedPurple);
        EXPECT_GT(PixelsOf(link, FollowedPurple), 0);
        EXPECT_EQ(PixelsOf(link, LinkBlue), 0);
    });
}

TEST(AboutBox, PointerOverTheLinkShowsTheHandAndAClickFollowsIt)
{
    TestApp app;
    StandInLaunch launch;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND box = dlg;
        HWND link = Link(box);
        MovePointerTo(link, Middle(link));
        PumpDialog(box, 50);
        ASSERT_NE(CHyperLink::HandCursor(), nullptr);
        EXPECT_EQ(::GetCursor(), CHyperLink::HandCursor());
        EXPECT_EQ(::GetCapture(), link); // how the link learns that the pointer left
        PumpDialog(box, 1500); // the tooltip shows itself once the pointer rests
        EXPECT_TRUE(TipShown(link));

        PressLeft();
        PumpDialog(box, 50);
        EXPECT_EQ(FocusedId(), IDC_HOME_PAGE_LINK);
        EXPECT_TRUE(launch.opened.empty()); // follows as the button comes up
        ReleaseLeft();
        PumpDialog(box, 50);
        EXPECT_EQ(launch.opened, std::vector<std::string>{HomePage});

        MovePointerTo(box, {2, 2});
        PumpDialog(box, 50);
        EXPECT_EQ(::GetCapture(), nullptr);
    });
}

TEST(AboutBox, OpensFreshFromTheButtonAndTheSystemMenuEveryTime)
{
    struct Route {
        const char* name;
        std::function<void(HWND)> open;
    };
    const Route routes[] = {
        {"About button", [](HWND main) { ::SendMessageA(::GetDlgItem(main, IDC_ABOUT), BM_CLICK, 0, 0); }},
        {"system menu", [](HWND main) { ::SendMessageA(main, WM_SYSCOMMAND, IDM_ABOUT, 0); }},
    };
    // Each showing ends another way: Escape, the close command, OK.
    const std::function<void(HWND)> closings[] = {
        [](HWND box) { ::PostMessageA(::GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND box) { ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](HWND box) { ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0); },
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        TestApp app;
        StandInLaunch launch;
        CParcelorDlg main;
        app.m_pMainWnd = &main;
        HWND hMain = nullptr;
        struct Showing {
            HWND owner;
            COLORREF before, after; // the link's colour as shown, and after Space on the first showing
        };
        std::vector<Showing> showings;
        BoxCatcher catcher([&](HWND box, const CaughtBox& caught) {
            EXPECT_EQ(caught.caption, "About The Parcelor");
            HWND link = Link(box);
            Showing showing{::GetWindow(box, GW_OWNER), AskColours(link).text, 0};
            if (showings.empty())
                ::SendMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
            showing.after = AskColours(link).text;
            closings[showings.size()](box);
            showings.push_back(showing);
            return true;
        });
        RunInsideModal(main, [&] {
            hMain = main;
            for (size_t i = 0; i < std::size(closings); ++i) {
                route.open(hMain);
                EXPECT_TRUE(::IsWindowEnabled(hMain));
                EXPECT_EQ(::GetActiveWindow(), hMain);
            }
        });
        ASSERT_EQ(showings.size(), std::size(closings));
        EXPECT_EQ(launch.opened, std::vector<std::string>{HomePage});
        for (const Showing& showing : showings) {
            EXPECT_EQ(showing.owner, hMain);
            EXPECT_EQ(showing.before, LinkBlue);
        }
        EXPECT_EQ(showings[0].after, FollowedPurple);
        EXPECT_EQ(showings[1].after, LinkBlue);
    }
}
