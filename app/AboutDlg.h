// CAboutDlg: the About box, with the product's name and version and the link to its home page.
#pragma once

#include "controls/HyperLink.h"
#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() noexcept;

    // Runs on the link's defaults: the template's text is both what it shows and where it leads.
    CHyperLink m_linkHomePage;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
