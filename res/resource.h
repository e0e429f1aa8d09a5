// Resource identifiers of Setup.exe: one header for the resource script and the code.
#pragma once

// Dialog templates
#define IDD_LAUNCH 102
#define IDD_COMPONENTS 146
#define IDD_SETUP_OPTIONS 153

// Menu: one popup, shown as the launcher's context menu
#define IDR_CONTEXTMENU 103
#define ID_MENU_INSTALL 32771
#define ID_MENU_README 32772
#define ID_MENU_EXIT 32773

// Icons
#define IDR_MAINFRAME 128
#define IDI_ACROBAT 147
#define IDI_DESKTOP 148
#define IDI_EXIT 150
#define IDI_COMPANIONLINK 151
#define IDI_CONVERT 152
#define IDI_OSUPDATE 153

// Bitmaps
#define IDB_RLE_SAMPLE 129
#define IDB_README_HOVER 131
#define IDB_INSTALL_HOVER 132
#define IDB_INSTALL_PRESSED 133
#define IDB_README_PRESSED 134
#define IDB_EXIT_PRESSED 135
#define IDB_BACKGROUND 140
#define IDB_EXIT_HOVER 141
#define IDB_INSTALL_NORMAL 143
#define IDB_README_NORMAL 144
#define IDB_EXIT_NORMAL 145

// Controls of the launcher (template 102)
#define IDC_LAUNCH_INSTALL 1000
#define IDC_LAUNCH_README 1001
#define IDC_LAUNCH_QUIT 1002

// Controls of the component chooser (template 146)
#define IDC_COMP_DESKTOP 1001
#define IDC_COMP_ACROBAT 1002
#define IDC_COMP_EXIT 1003
#define IDC_COMP_COMPANIONLINK 1004
#define IDC_COMP_CONVERT 1006
#define IDC_COMP_OSUPDATE 1007

// Controls of the setup options dialog (template 153)
#define IDC_OPT_EXPRESS 1002
#define IDC_OPT_CUSTOM 1003
#define IDC_OPT_REMOVE_OLD 1004
#define IDC_OPT_CONVERT 1005
#define IDC_OPT_UPDATE_OS 1006
#define IDC_OPT_DESKTOP 1007
#define IDC_OPT_DESKTOP_ONLY 1008

// String table
#define IDS_LAUNCHBAR_TITLE 1
#define IDS_TANDEM 2
#define IDS_CLOSE_APPS 3
#define IDS_SETUP 4
#define IDS_RESTART_TEXT 5
#define IDS_RESTART_CAPTION 6
#define IDS_TITLE_CONVERTER 7
#define IDS_TITLE_CONFIRM_DELETE 8
#define IDS_TITLE_REMOVE_PROGRAMS 9
#define IDS_TITLE_OS_UPDATE 10
#define IDS_TITLE_INSTALLER 11
