// The About box as a user meets it: its link's caption, target, tooltip, size and colours,
// following the link by keys and by the mouse, and opening afresh from the About button and the
// system menu of the real main dialog.
#include "app/AboutDlg.h"
#include "app/ParcelorMFCDlg.h"
#include "res/resource.h"
#include "tests/wine/DialogTestSupport.h"
#include "tests/wine/LinkTestSupport.h"

#include <functional>

namespace {

const char HomePage[] = "https://parcelor.example/";
const COLORREF LinkBlue = RGB(0, 0, 255);
const COLORREF ActiveTeal = RGB(0, 128, 128);
const COLORREF FollowedPurple = RGB(128, 0, 128);

} // namespace

TEST(AboutBox, ItsLinkShowsAndLeadsToTheTemplateTextFittedAndInTheLinkColour)
{
    TestApp app;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND box = dlg;
        HWND link = Link(box);
        EXPECT_EQ(WindowText(box), "About The Parcelor");
        EXPECT_NE(::SendMessageA(::GetWindow(box, GW_CHILD), STM_GETICON, 0, 0), 0);
        EXPECT_EQ(FocusedId(), IDOK);
        EXPECT_EQ(WindowText(link), HomePage);
        EXPECT_EQ(dlg.m_linkHomePage.Target(), HomePage);
        EXPECT_EQ(TipTexts(link), std::vector<std::string>{HomePage});

        // Shrunk to its underlined caption, keeping the template's top-left corner.
        LOGFONTA font{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(link, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfUnderline, 1);
        EXPECT_TRUE(FitsCaption(link));
        RECT placed = {40, 34, 40 + 179, 34 + 8}, now;
        ::MapDialogRect(box, &placed);
        ::GetWindowRect(link, &now);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&now), 2);
        EXPECT_EQ(now.left, placed.left);
        EXPECT_EQ(now.top, placed.top);
        EXPECT_LT(now.right, placed.right);

        EXPECT_EQ(AskedColour(link), LinkBlue);
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
        EXPECT_EQ(AskedColour(link), ActiveTeal);

        ::PostMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
        PumpDialog(box);
        EXPECT_EQ(launch.opened, std::vector<std::string>{HomePage});
        EXPECT_EQ(launch.shows, std::vector<int>{SW_SHOW});
        EXPECT_TRUE(dlg.m_linkHomePage.IsFollowed());
        EXPECT_EQ(AskedColour(link), ActiveTeal); // still focused

        ::PostMessageA(link, WM_KEYDOWN, VK_TAB, 0);
        PumpDialog(box);
        EXPECT_EQ(FocusedId(), IDOK);
        EXPECT_EQ(AskedColour(link), FollowedPurple);
        EXPECT_GT(PixelsOf(link, FollowedPurple), 0);
        EXPECT_EQ(PixelsOf(link, LinkBlue), 0);
    });
}

TEST(AboutBox, PointerOverTheLinkShowsTheHandAndTheTooltipAndAClickFollowsIt)
{
    TestApp app;
    StandInLaunch launch;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        HWND box = dlg;
        HWND link = Link(box);
        MovePointerTo(link, {4, 4});
        PumpDialog(box, 50);
        ASSERT_NE(CHyperLink::HandCursor(), nullptr);
        EXPECT_EQ(::GetCursor(), CHyperLink::HandCursor());
        EXPECT_EQ(::GetCapture(), link); // how the link learns that the pointer left
        bool tipShown = false;
        PumpDialog(box, 1500);
        TipTexts(link, &tipShown);
        EXPECT_TRUE(tipShown);

        SendButton(MOUSEEVENTF_LEFTDOWN);
        PumpDialog(box, 50);
        EXPECT_EQ(FocusedId(), IDC_HOME_PAGE_LINK);
        EXPECT_TRUE(launch.opened.empty()); // it follows as the button comes up
        SendButton(MOUSEEVENTF_LEFTUP);
        PumpDialog(box, 50);
        EXPECT_EQ(launch.opened, std::vector<std::string>{HomePage});

        MovePointerTo(box, {2, 2});
        PumpDialog(box, 50);
        EXPECT_EQ(::GetCapture(), nullptr);
    });
}

TEST(AboutBox, OpensFreshFromTheButtonAndTheSystemMenuEveryTime)
{
    const std::pair<const char*, std::function<void(HWND)>> routes[] = {
        {"About button",
         [](HWND main) {
             ::SendMessageA(::GetDlgItem(main, IDC_ABOUT), BM_CLICK, 0, 0);
         }},
        {"system menu",
         [](HWND main) {
             ::SendMessageA(main, WM_SYSCOMMAND, IDM_ABOUT, 0);
         }},
    };
    // Each showing ends another way: Escape, the close command, OK.
    const std::function<void(HWND)> closings[] = {
        [](HWND box) { ::PostMessageA(::GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND box) { ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](HWND box) { ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0); },
    };
    for (const auto& [route, open] : routes) {
        SCOPED_TRACE(route);
        TestApp app;
        StandInLaunch launch;
        CParcelorDlg main;
        app.m_pMainWnd = &main;
        HWND hMain = nullptr;
        // Per showing: its owner, the link's colour as shown, and after Space in the first showing.
        std::vector<std::tuple<HWND, COLORREF, COLORREF>> showings;
        BoxCatcher catcher([&](HWND box, const CaughtBox& caught) {
            EXPECT_EQ(caught.caption, "About The Parcelor");
            const COLORREF shown = AskedColour(Link(box));
            if (showings.empty())
                ::SendMessageA(Link(box), WM_KEYDOWN, VK_SPACE, 0);
            showings.emplace_back(::GetWindow(box, GW_OWNER), shown, AskedColour(Link(box)));
            closings[showings.size() - 1](box);
            return true;
        });
        RunInsideModal(main, [&] {
            hMain = main;
            for (size_t i = 0; i < std::size(closings); ++i) {
                open(hMain);
                EXPECT_TRUE(::IsWindowEnabled(hMain));
                EXPECT_EQ(::GetActiveWindow(), hMain);
            }
        });
        ASSERT_EQ(showings.size(), std::size(closings));
        EXPECT_EQ(launch.opened, std::vector<std::string>{HomePage});
        for (const auto& [owner, shown, after] : showings) {
            EXPECT_EQ(owner, hMain);
            EXPECT_EQ(shown, LinkBlue);
        }
        EXPECT_EQ(std::get<2>(showings[0]), FollowedPurple);
    }
}

// Run again at 144 DPI by the test script.
TEST(AboutBox, OpensCentredOnTheMainDialogAndKeptOnTheWorkArea)
{
    TestApp app;
    CParcelorDlg main;
    app.m_pMainWnd = &main;
    RECT area;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    std::vector<RECT> boxes, owners;
    BoxCatcher catcher([&](HWND box, const CaughtBox&) {
        RECT placed;
        ::GetWindowRect(box, &placed);
        boxes.push_back(placed);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    RunInsideModal(main, [&] {
        RECT opened;
        ::GetWindowRect(main, &opened);
        const LONG width = opened.right - opened.left, height = opened.bottom - opened.top;
        // As it opened; hanging off the work area's bottom right corner; off its top left one.
        const POINT places[] = {{opened.left, opened.top},
                                {area.right - width / 4, area.bottom - height / 4},
                                {area.left - width * 3 / 4, area.top - height * 3 / 4}};
        for (const POINT& place : places) {
            ::SetWindowPos(main, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            RECT owner;
            ::GetWindowRect(main, &owner);
            owners.push_back(owner);
            Click(main, IDC_ABOUT);
        }
    });
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NEAR(boxes[0].left + boxes[0].right, owners[0].left + owners[0].right, 1);
    EXPECT_NEAR(boxes[0].top + boxes[0].bottom, owners[0].top + owners[0].bottom, 1);
    EXPECT_EQ(boxes[1].right, area.right);
    EXPECT_EQ(boxes[1].bottom, area.bottom);
    EXPECT_EQ(boxes[2].left, area.left);
    EXPECT_EQ(boxes[2].top, area.top);
}

namespace {

// An About box that puts itself in a place of its own as it initialises.
class CPlacedAboutDlg : public CAboutDlg {
public:
    bool OnInitDialog() override
    {
        CAboutDlg::OnInitDialog();
        ::SetWindowPos(*this, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return true;
    }
};

} // namespace

TEST(DialogFramework, ADialogThatPlacesItselfIsNotCentred)
{
    CPlacedAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        RECT placed;
        ::GetWindowRect(dlg, &placed);
        EXPECT_EQ(placed.left, 7);
        EXPECT_EQ(placed.top, 9);
    });
}

TEST(Layout, AboutBoxShowsEveryCaptionWholeAndItsLinkFitsItsCaption)
{
    TestApp app;
    CAboutDlg dlg;
    RunInsideModal(dlg, [&] {
        EXPECT_EQ(ClippedCaptions(dlg), std::vector<std::string>{});
        EXPECT_TRUE(FitsCaption(Link(dlg)));
    });
}
