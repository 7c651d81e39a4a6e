// Resource and command ids of the listening program Ferlin2.exe.
#pragma once

#define IDD_ABOUTBOX 100
#define IDR_MAINFRAME 128
#define IDD_FIND 136
#define IDD_FONTSET 144
#define IDD_DBPATH 146

#define IDC_FIND_TEXT 1000
#define IDC_FIND_ANY 1007
#define IDC_FIND_ALL 1008
#define IDC_DBPATH_EDIT 1001
#define IDC_DBPATH_BROWSE 1002

#define ID_CONTENTS 101
#define ID_COPY 32780
#define ID_FIND 32781
#define ID_SPEAK 32782
#define ID_STOP_SPEAKING 32783
#define ID_VOICE_SETTING 32784
#define ID_COPY_JAPANESE 32785
#define ID_COPY_KOREAN 32786
#define ID_COPY_KANA 32787
#define ID_COPY_ALL 32788
#define ID_FONT_SETTING 32789
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

#define IDS_APP_NAME 57344
