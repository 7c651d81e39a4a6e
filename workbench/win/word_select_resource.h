// Resource and control ids of the translation-word chooser.
#pragma once

#define IDD_WORD_SELECT 239
#define IDR_WORD_SELECT_MENU 279
#define IDI_MOVE_UP 201
#define IDI_MOVE_DOWN 202
#define IDC_WS_SEARCH_WORD 1163
#define IDC_WS_LIST 1161
#define IDC_WS_SEARCH 1156
#define IDC_WS_REPLACE 1157
#define IDC_WS_REGISTER 1158
#define IDC_WS_LEARN 1184
#define IDC_WS_UP 1017
#define IDC_WS_DOWN 1021
#define ID_WS_COPY 32936
