// Resource identifiers of the pictures, icons and dialog templates linked into the program
// and the window-switcher library. Plain #defines: read by the resource compiler and by C++.
#pragma once

// Icons.
#define IDI_PROGRAM 128
#define IDI_TRAY_EXIT 1011
#define IDI_TRAY_CONFIG 1012
#define IDI_SWAP_DESKTOP 3001

// Main-window language backgrounds (slider track and number box), 1000 x 715.
#define IDB_LANGUAGE_BACKGROUND_CHINESE 156
#define IDB_LANGUAGE_BACKGROUND_OTHER 159

// Language flags, 37 x 22, one per language in language-table order (142 .. 153).
#define IDB_FLAG_FIRST 142
#define IDB_FLAG_LAST 153

// Scroll-bar skin: 9 columns x 3 rows of 18 x 18 cells.
#define IDB_SCROLLBAR_SKIN 166

// Message-box pictures, 330 x 160: pressed, background and hovered looks of each form.
#define IDB_INFO_TWO_BUTTONS_DOWN 1004
#define IDB_INFO_ONE_BUTTON_DOWN 1005
#define IDB_INFO_TWO_BUTTONS_NORMAL 1006
#define IDB_INFO_ONE_BUTTON_NORMAL 1007
#define IDB_INFO_TWO_BUTTONS_OVER 1008
#define IDB_INFO_ONE_BUTTON_OVER 1009

// Resources of the custom type "PNG".
#define IDP_POPUP_FRAME 129
#define IDP_FLAG_FIRST 130
#define IDP_FLAG_LAST 141

// Dialog templates.
#define IDD_SETTING 108
#define IDD_SETTING_LIST_PAGE 111
#define IDD_SETTING_ADVANCED_PAGE 112
#define IDD_INFO 113
