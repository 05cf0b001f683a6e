// Resource numbers of installer.exe: the five wizard pages, the failure
// dialog, their controls, the two side pictures and the icons.
#pragma once

#define IDD_INSTALL_WELCOME 12012
#define IDD_INSTALL_FOLDER 12013
#define IDD_INSTALL_OPTIONS 12011
#define IDD_INSTALL_READY 12014
#define IDD_INSTALL_FINISH 12017
#define IDD_INSTALL_FAILED 114

#define IDB_WELCOME_PICTURE 10551
#define IDB_PAGE_PICTURE 103

#define IDI_SETUP_WINDOW 107
#define IDI_FINISHED_HELP 110
#define IDI_FINISHED_README 111
#define IDI_INSTALL_FAILED 112
#define IDI_GUI_SETUP 127

#define IDC_PAGE_TITLE 1007       // the headline of a page, the failure dialog's text
#define IDC_INSTALL_FOLDER 1006
#define IDC_BROWSE_FOLDER 1002
#define IDC_CREATE_GROUP 1025
#define IDC_PAGE_HINT 1035        // "Click ... Next ..." at the foot of a page
#define IDC_READY_BOX 1040
#define IDC_READY_FOLDER 1037
#define IDC_READY_GROUP 1042
