// The workbench's user-dictionary dialogs that the frame and the editor
// run modally: the dictionary selection "辞書指定" and the dictionary list
// "辞書一覧" with its search prompt.
#pragma once
#include <windows.h>

#include <string>

#include "dic_choice.h"

namespace dalmok {

// Runs "辞書指定" over the three slots (UTF-8 paths without extension);
// 1 when it ended with OK (the slots and the registry then rewritten), 0
// when cancelled, -1 when the dialog could not be made.
int RunDicChoiceDialog(HWND parent, workbench::DicSlots& slots);

// Runs "辞書一覧" on a dictionary: 0 nothing changed, -1 entries were
// deleted, or the number of the entry chosen with "修正".
int RunDicListDialog(HWND parent, const std::string& dictionaryName);

}  // namespace dalmok
