// Resource identifiers of the translation input pad Vestra.EXE.
#pragma once
#define IDR_MAINFRAME 128
#define IDD_VESTRA_DIALOG 102
#define IDC_PAD_TEXT 1000
