#pragma once

// Resources of the player program.

// Icons
#define IDI_VELKIN 102  // window class icon, 32x32 and 16x16
#define IDI_TRAY 103    // notification-area icon, 16x16

// Popup menu
#define IDM_POPUP 104

// Dialog templates
#define IDD_ABOUT 105
#define IDD_VOLUME 108
#define IDD_TITLEEDITOR 129
#define IDD_CDDBMATCHES 130

// Dialog controls
#define IDC_WEBSITE 1002
#define IDC_MAILADDRESS 1003
#define IDC_VERSION 1004
#define IDC_PRODUCTNAME 1005
#define IDC_VOLUMESLIDER 1007
#define IDC_VOLUMELABEL 1008
#define IDC_DISCTITLE 1010    // title editor
#define IDC_DISCARTIST 1011
#define IDC_TRACKLIST 1012
#define IDC_TRACKNAME 1013
#define IDC_DISCID 1014
#define IDC_CDDB 1015          // the editor's disc database button
#define IDC_CDDBMATCHLIST 1016 // the matches to choose from

// Menu bitmaps, 16 colours: 11x11 for 96 dpi at these ids, and drawn again
// for 120, 144 and 192 dpi (13, 17 and 23 pixels) at the id plus one, two
// and three times IDB_SCALESTEP.
#define IDB_SCALESTEP 1000
#define IDB_ABOUT 106
#define IDB_EXIT 107
#define IDB_PLAY 108
#define IDB_STOP 109
#define IDB_NEXT 110
#define IDB_BACK 111
#define IDB_EJECT 112
#define IDB_TRACKCHECK 113
#define IDB_CDVOLUME 114
#define IDB_MMPROPERTIES 115
#define IDB_VOLUMECONTROL 116
#define IDB_PAUSE 117
#define IDB_CONFIG 118
#define IDB_CDINFO 119
#define IDB_REPEATALL 120
#define IDB_REPEATONE 121
#define IDB_DRIVECHECK 124
#define IDB_RANDOM 125
#define IDB_INTRO 126
#define IDB_DRIVE 127
#define IDB_EDITTITLES 128

// Menu commands
#define IDM_PLAY 40001
#define IDM_STOP 40002
#define IDM_BACK 40003
#define IDM_NEXT 40004
#define IDM_EJECT 40005
#define IDM_ABOUT 40006
#define IDM_EXIT 40007
#define IDM_LOAD 40008
#define IDM_STATUS 40009
#define IDM_TRACKPLACEHOLDER 40013
#define IDM_CDVOLUME 40014
#define IDM_MMPROPERTIES 40015
#define IDM_TIME 40016
#define IDM_VOLUMECONTROL 40017
#define IDM_CONFIG 40018
#define IDM_CDINFO 40019
#define IDM_DRIVEPLACEHOLDER 40022
#define IDM_REPEATALL 40023
#define IDM_REPEATONE 40024
#define IDM_RANDOM 40025
#define IDM_INTRO 40026
#define IDM_EDITTITLES 40027

// Ids of the items that the player builds at run time
#define IDM_TRACKBASE 50000        // + track number
#define IDM_DEFAULTDRIVE 51000
#define IDM_DRIVEBASE 51001        // + drive index (A: = 0)
