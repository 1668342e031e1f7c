#pragma once

// Resource and control ids of the desktop program. Plain #defines: the resource compiler
// reads this file too.

#define IDM_MAIN 101
#define IDA_MAIN 102
#define IDI_KORVANE 117
#define IDD_SAVE 115
#define IDD_ABOUT 116
#define IDD_TITLETEXT 142
#define IDD_PROJECTOPTION 143

#define IDM_OPEN 40001
#define IDM_MAKESKIN 40002
#define IDM_EXIT 40003
#define IDM_ABOUT 40005
#define IDM_SAVE 40006
#define IDM_UNDOSKIN 40008
#define IDM_OPTION 40009
#define IDM_SUGGEST 40010

// Children of the main window.
#define IDC_WS_MAIN 1
#define IDC_WS_EQUALIZER 2
#define IDC_WS_PLAYLIST 3
#define IDC_WS_SKIN 4
#define IDC_TEMPLATE_PANEL 5
#define IDC_IMAGESET_PANEL 6
#define IDC_SKINSET_PANEL 7

// Children of the Template panel.
#define IDC_TEMPLATE_BOX 1
#define IDC_MAKESKIN_BUTTON 2

// The Save dialog.
#define IDC_SAVE_WINAMPDIR 1000
#define IDC_SAVE_SKINNAME 1001
#define IDC_SAVE_BROWSE 1002
#define IDC_SAVE_GENBALANCE 1015

// The Edit Title Text dialog.
#define IDC_TITLE_TEXT 1022
#define IDC_TITLE_ALIGN 1023
#define IDC_TITLE_APPLY 1024
#define IDC_TITLE_COLOR 1026

// The Project Option dialog.
#define IDC_OPTION_SHOWVIS 1027
#define IDC_OPTION_SWAPRB 1028
#define IDC_OPTION_HIDEBALANCE 1029
#define IDC_OPTION_ORDER 1036

// The About box.
#define IDC_ABOUT_VERSION 1100

#define KORVANE_VERSION "1.0"
