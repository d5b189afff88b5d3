// The hyperlink control's own behaviour on the About box's control: what its flags change about
// clicks and keys.
#include "app/AboutDlg.h"
#include "res/resource.h"
#include "tests/wine/DialogTestSupport.h"
#include "tests/wine/LinkTestSupport.h"

TEST(HyperLink, FlagsDecideWhetherPressOrReleaseFollowsAndWhereTheFocusGoes)
{
    struct Case {
        const char* name;
        DWORD remove, add;
        size_t openedOnPress;
        int focusedOnPress;
    };
    const Case cases[] = {
        {"defaults", 0, 0, 0, IDC_HOME_PAGE_LINK},
        {"opens on press", 0, CHyperLink::LinkOpensOnPress, 1, IDC_HOME_PAGE_LINK},
        {"keeps away from the focus", CHyperLink::LinkTakesFocus, 0, 0, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp app;
        StandInLaunch launch;
        CAboutDlg dlg;
        ASSERT_TRUE(dlg.m_linkHomePage.ChangeFlags(c.remove, c.add, true));
        RunInsideModal(dlg, [&] {
            HWND link = Link(dlg);
            ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            EXPECT_EQ(launch.opened.size(), c.openedOnPress);
            EXPECT_EQ(FocusedId(), c.focusedOnPress);
            EXPECT_EQ(AskedColour(link), RGB(0, 128, 128)); // pressed is active, focused or not
            // Active until the focus leaves: every release follows, unless the press does.
            ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            const size_t released = c.openedOnPress ? 1 : 2;
            EXPECT_EQ(launch.opened.size(), released);
            // Space follows whatever the flags say; Enter is left to the dialog.
            ::SendMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
            ::SendMessageA(link, WM_KEYDOWN, VK_RETURN, 0);
            EXPECT_EQ(launch.opened.size(), released + 1);
        });
    }
}
