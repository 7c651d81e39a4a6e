// Resource ids of the font environment setup Belvo4.exe.
#pragma once

#define IDD_ENV_SETUP 102
#define IDR_MAINFRAME 128
#define IDD_FONT_PROGRESS 131
#define IDD_LOGOFF 133

#define IDC_FONT_NAME 1007
#define IDC_PROGRESS_TEXT 1008
#define IDC_LOGOFF_NOW 1021
#define IDC_LOGOFF_LATER 1022
