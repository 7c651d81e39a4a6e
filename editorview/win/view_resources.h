// Resource ids of the Hangul editor view: its right-click menus, the
// status-bar texts and the message boxes it shows. The program that hosts
// the view includes view_resources.rc in its own resource script.
#pragma once

#define IDR_VIEW_POPUP 131            // the editor's right-click menu
#define IDR_FORK_POPUP 145            // the listening program's and the text player's
#define IDR_WORKBENCH_POPUP 197       // the translation workbench's
#define IDS_CODE_GM 62014             // status pane 2: "GM"
#define IDS_CODE_KS 62016             // status pane 2: "KS"
#define IDS_FONT_CODE_CHANGED 62023
#define IDS_RTF_INVALID 62025
#define IDS_CLIPBOARD_WRITE_ERROR 62026
#define IDS_CLIPBOARD_READ_ERROR 62027
#define IDS_RTF_UNCONVERTIBLE 62028

// Commands of the right-click menu (the view's own).
#define ID_VIEW_UNDO 57643
#define ID_VIEW_CUT 57635
#define ID_VIEW_KS_COPY 57634
#define ID_VIEW_GM_COPY 57638
#define ID_VIEW_PASTE 57637
#define ID_VIEW_DELETE 32772
#define ID_VIEW_SELECT_ALL 57642

// The paste-code box of the editor's tool bar (paste_code_bar.rc) and the
// editor's tool bar (editor_toolbar.rc).
#define IDR_EDITOR_TOOLBAR 128
#define IDS_TOOLBAR_TITLE 62001       // "ﾂｰﾙ ﾊﾞｰ"
#define IDC_PASTE_CODE_BOX 62003      // its id and its tool tip and prompt
#define IDS_PASTE_AUTO 62009
#define IDS_PASTE_KS 62010
#define IDS_PASTE_GM 62011
