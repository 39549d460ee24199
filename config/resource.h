#pragma once

// Resources of the configuration program.

// Dialog templates of the pages.
#define IDD_SHORTCUT_PAGE 101
#define IDD_GENERAL_PAGE 106
#define IDD_SSTP_PAGE 107
#define IDD_CDDB_PAGE 110

// Page icons; the General icon is also the program's icon.
#define IDI_GENERAL 105
#define IDI_SHORTCUT 109
#define IDI_SSTP 114
#define IDI_CDDB 115

// Shortcut-key page.
#define IDC_COMMAND_LIST 1000
#define IDC_KEY_COMBO 1001
#define IDC_ALT_KEY 1002
#define IDC_CTRL_KEY 1003
#define IDC_SHIFT_KEY 1004
#define IDC_WIN_KEY 1005
#define IDC_RESET_KEYS 1006
#define IDC_MEDIA_KEYS 1007

// The icon in the top-left corner of every page.
#define IDC_PAGE_ICON 1009

// General page.
#define IDC_PLAY_ON_EXEC 1010
#define IDC_PLAY_ON_INSERT 1011
#define IDC_SOUND_ON_INSERT 1012
#define IDC_BROWSE_SOUND 1015
#define IDC_SOUND_FILE 1019
#define IDC_INTRO_TIME 1020
#define IDC_INTRO_SPIN 1022
#define IDC_SOUND_FILE_LABEL 1028
#define IDC_START_WITH_WINDOWS 1050
#define IDC_STARTUP_NOTE 1051
#define IDC_STARTUP_PATH 1052

// SSTP page.
#define IDC_SSTP_PORT 1023
#define IDC_SSTP_SERVER 1024
#define IDC_SSTP_SCRIPT 1025
#define IDC_CHECK_SSTP_SERVER 1026
#define IDC_SEND_SSTP 1027
#define IDC_SERVER_LABEL 1029
#define IDC_PORT_LABEL 1030
#define IDC_SCRIPT_LABEL 1031
#define IDC_SCRIPT_HELP 1032
#define IDC_CHECK_HOST 1033

// CDDB page.
#define IDC_CDDB_LOOKUP 1034
#define IDC_CDDB_SERVER_LABEL 1035
#define IDC_CDDB_SERVER 1036
#define IDC_CDDB_PORT_LABEL 1037
#define IDC_CDDB_PORT 1038
#define IDC_CDDB_PATH_LABEL 1039
#define IDC_CDDB_PATH 1040
#define IDC_CDDB_EMAIL_LABEL 1041
#define IDC_CDDB_EMAIL 1042
#define IDC_CDDB_NOTE 1043
