// Resource ids of the editor's find/replace sheet, settings dialog and font
// dialog. The program's resource script includes dialogs.rc (after
// view_resources.rc, whose strings 62014 "GM" and 62016 "KS" the font
// dialog's code label uses).
#pragma once

// The find/replace sheet's pages.
#define IDD_FIND_PAGE 153             // "文字列の検索"
#define IDD_REPLACE_PAGE 154          // "文字列の置換"
#define IDC_FIND_TEXT 1000            // find page: the search text (SEDIT_CLASS)
#define IDC_FIND_MATCH_CASE 147
#define IDC_FIND_UP 150
#define IDC_FIND_DOWN 151
#define IDC_FIND_NEXT 149             // both pages: "次を検索(&F)"
#define IDC_REPLACE_FIND_TEXT 152     // replace page: the search text (SEDIT_CLASS)
#define IDC_REPLACE_WITH_TEXT 153     // replace page: the replacement (SEDIT_CLASS)
#define IDC_REPLACE_MATCH_CASE 155
#define IDC_REPLACE_NEXT 157
#define IDC_REPLACE_ALL 158

// The settings dialog.
#define IDD_ENV_SET 147               // "環境設定"
#define IDC_GM_COPY_TEXT 1014
#define IDC_GM_COPY_RICH 1015
#define IDC_GM_COPY_FONT 1016
#define IDC_KS_COPY_TEXT 1020
#define IDC_KS_COPY_RICH 1021
#define IDC_KS_COPY_FONT 1022
#define IDC_ENV_HELP 1009

// The font dialog.
#define IDD_FONT_SET 144              // "ﾌｫﾝﾄ設定"
#define IDC_FONT_HELP 120
#define IDC_FONT_LIST 277
#define IDC_SIZE_LIST 278
#define IDC_SAMPLE 280
#define IDC_CODE_LABEL 1029

// The question after the settings dialog when the reading code changed.
#define IDS_REREAD_QUESTION 62024

// Help topics (HTML Help context ids of the program's help file).
#define HELP_FIND_PAGE 4027
#define HELP_REPLACE_PAGE 4036
#define HELP_ENV_SET 4045
#define HELP_FONT_SET 4056
