// Dialog and control numbers of the settings sheet, its pages and its two
// dialogs; shared by ime.rc and the dialog code (plain defines for windres).
#pragma once

// Pages and dialogs.
#define IDD_PAGE_GENERAL 100
#define IDD_PAGE_DICTIONARY 102
#define IDD_PAGE_VERSION 103
#define IDD_FONT 113
#define IDD_PAGE_DISPLAY 114

// General page: arrangement, size, Backspace unit, input position, keyboard,
// interface (KS edition on Windows NT 4.0, 98 and ME), unconfirmed count.
#define IDC_KS2 1060
#define IDC_KS3 1061
#define IDC_ROMAN 1062
#define IDC_HALF_WIDTH 1063
#define IDC_FULL_WIDTH 1064
#define IDC_BACK_JAMO 1054
#define IDC_BACK_SYLLABLE 1055
#define IDC_AT_CURSOR 1067
#define IDC_AT_BOTTOM 1068
#define IDC_KEYBOARD_106 1051
#define IDC_KEYBOARD_98 1052
#define IDC_KEYBOARD_101 1053
#define IDC_INTERFACE_LABEL 1076
#define IDC_INTERFACE_UNICODE 1077
#define IDC_INTERFACE_ASCII 1078
#define IDC_MIKAKU 1045
#define IDC_MIKAKU_LABEL 1046

// Display page: the toolbar's functions 1-12, the preview, the dialogs.
#define IDC_TOOLBAR_FIRST 1079
#define IDC_TOOLBAR_LAST 1090
#define IDC_PREVIEW 1030
#define IDC_FONT_BUTTON 1049
#define IDC_COLOUR_BUTTON 1050

// Dictionary page.
#define IDC_LEARN_ON 1002
#define IDC_LEARN_OFF 1003
#define IDC_DIC_PATH 1004
#define IDC_DIC_EDIT 1005
#define IDC_DIC_BROWSE 1006

// Version page.
#define IDC_EDITION 1007

// Font dialog: the KS and the GM face lists, the size list.
#define IDC_FONT_SIZE 1056
#define IDC_FONT_GM 1057
#define IDC_FONT_KS 1058

// Colour dialog ("COLORBOX"): the pairs, their samples (radio + 16), the
// text and background colour buttons 0-7, the default colours.
#define IDC_PAIR_INPUT 288
#define IDC_PAIR_CONV 289
#define IDC_DEFAULT_COLOURS 291
#define IDC_SAMPLE_INPUT 304
#define IDC_SAMPLE_CONV 305
#define IDC_TEXT_COLOUR 320
#define IDC_BACK_COLOUR 336
