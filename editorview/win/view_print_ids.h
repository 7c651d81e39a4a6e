// Resource ids of the editor view's printing (view_print.rc).
#pragma once

#define IDS_PRINT_TITLE 62029    // the title of the printing boxes
#define IDS_NO_PRINT_AREA 62030  // the printable area is too small
