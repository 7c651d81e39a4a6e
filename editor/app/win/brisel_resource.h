// Resource and command ids of the editor program BRISELV6.EXE.
#pragma once

#define IDR_MAINFRAME 128          // menu, accelerators, icon
#define IDD_ABOUTBOX 100
#define IDD_FILE_CODE 145          // the file dialog's code box
#define IDC_FILE_CODE 1036
#define IDC_FILE_CODE_LABEL 1037
#define IDC_ABOUT_ICON 1001

// The framework's commands as the menu names them.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_DIRECT 57608
#define ID_FILE_PRINT_PREVIEW 57609
#define ID_FILE_PAGE_SETUP 32807
#define ID_FILE_MRU_FILE1 57616
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_INDEX 57666
#define ID_HELP_FINDER 57667
#define ID_HELP_USING 57668
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138

// The view's commands in the menu (its own, find and replace, font, settings).
#define ID_EDIT_UNDO 57643
#define ID_EDIT_CUT 57635
#define ID_EDIT_KS_COPY 57634
#define ID_EDIT_GM_COPY 57638
#define ID_EDIT_PASTE 57637
#define ID_EDIT_DEL 32772
#define ID_EDIT_SELECT_ALL 57642
#define ID_EDIT_FIND 57636
#define ID_EDIT_REPLACE 57641
#define ID_FIND_NEXT 32774
#define ID_FIND_PREVIOUS 32773
#define ID_FONT_SET 32771
#define ID_ENV_SET 32776

// Strings.
#define IDS_IDLE_MESSAGE 57344
#define IDS_OPENFILE 61440
#define IDS_SAVEFILE 61441
#define IDS_ALLFILTER 61442
#define IDS_UNTITLED 61443
#define IDS_SAVEFILECOPY 61444
#define IDS_FAILED_TO_OPEN_DOC 61697
#define IDS_ASK_TO_SAVE 61699
#define IDS_TEXT_FILTER 62040      // "ﾃｷｽﾄﾌｧｲﾙ(*.txt)"
// The document's messages (ids as editor/doc/core/doc_seams.h names them).
#define IDS_READ_CHANGED_HEAD 62100
#define IDS_READ_UNDECODABLE 62101
#define IDS_READ_DROPPED 62102
#define IDS_READ_LONE_CR 62103
#define IDS_READ_SPLIT 62104
#define IDS_READ_CHANGED_TAIL 62105
#define IDS_MISSING_CHARS 62106
#define IDS_SAVE_OUT_OF_MEMORY 62107
#define IDS_SAVE_CODE_UTF8 62108
#define IDS_SAVE_CODE_UNICODE 62109
#define IDS_SAVE_CODE_KS 62110
#define IDS_SAVE_CODE_GM 62111
