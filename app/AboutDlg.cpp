// CAboutDlg: the template and the binding of its link control.
#include "app/AboutDlg.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg() noexcept : CDialog(IDD_ABOUT_DIALOG)
{
}

void CAboutDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_HOME_PAGE_LINK, m_linkHomePage);
}
