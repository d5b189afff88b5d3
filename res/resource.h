// Resource ids of the main dialog and the About box, their controls, the system menu, string and icon.
#pragma once

#define IDD_ABOUT_DIALOG        100
#define IDS_ABOUT               101
#define IDD_MAIN_DIALOG         102
#define IDI_APP                 128
#define IDM_ABOUT               0x0010

#define IDC_FILE                1000
#define IDC_DIRECTORY           1001
#undef IDC_SIZE // the platform uses the name for a cursor this program never loads
#define IDC_SIZE                1002
#define IDC_CUSTOM_SIZE         1004
#define IDC_UNITS               1005
#define IDC_CUSTOM_SIZE_LABEL   1006
#define IDC_PROGRESS            1007
#define IDC_PROGRESS_LABEL      1008
#define IDC_BROWSE_FILE         1009
#define IDC_ABOUT               1010
#define IDC_HOME_PAGE_LINK      1011
#define IDC_BROWSE_DIRECTORY    57672
#define IDC_SPLIT               57673
#define IDC_EXIT                57674

// The resource type of the drop-down lists' initial entries.
#define RT_DLGINIT_LIST         240
