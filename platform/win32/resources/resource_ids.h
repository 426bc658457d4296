#pragma once
// The resources of the program (plasmora.rc) and the controls of its dialogs. Plain defines,
// because the resource compiler reads this file too. The control ids of the configuration
// dialog are those of platform/config_dialog_window.h; config_dialog_window.cpp checks that
// the two agree.

// Dialogs.
#define IDD_CONFIG 101
#define IDD_ABOUT 105

// Pictures: the dialog's (263 x 180) and the preview's (155 x 115).
#define IDB_DIALOG_PICTURE 107
#define IDB_PREVIEW_PICTURE 112

// The program's icon, in every size it comes in.
#define IDI_PLASMORA 111

// String table: the description the system shows in its list of screensavers.
#define IDS_DESCRIPTION 1

// Controls of dialog 101.
#define IDC_MODE_LIST 1000
#define IDC_USE_DESKTOP 1001
#define IDC_ENABLE_MUSIC 1003
#define IDC_SHOW_TIME 1004
#define IDC_RESTORE_DEFAULTS 1006
#define IDC_ABOUT 1008
#define IDC_MOUSE_EXIT 1011
#define IDC_VOLUME_LABEL 1017
#define IDC_VOLUME_SLIDER 1026
#define IDC_SHOW_FPS 1027
#define IDC_VSYNC 1028
#define IDC_GAMMA_SLIDER 1029
#define IDC_GAMMA_LABEL 1030
#define IDC_DEFAULT_GAMMA 1032
#define IDC_DETAIL_SLIDER 1042
#define IDC_CLOCK_24 1049
#define IDC_CLOCK_12 1054
#define IDC_MONITORS_LIST 1060
#define IDC_FRAME_LIMIT_LIST 1061
// The picture box; the program replaces its picture by one fitted to the box's size.
#define IDC_PICTURE 1100

// Controls of dialog 105: the text the program puts in.
#define IDC_ABOUT_TEXT 1101
