// The user-dictionary editor "辞書編集" (dialog 131): a modeless window in
// which the user adds, modifies, deletes and reorders the noun entries of
// the translation engine's user dictionaries.
//
// Opened by the frame's command "辞書編集" and by the word chooser's
// "辞書登録". It destroys itself when closed (DestroyWindow, never
// EndDialog) and, when destroyed, sends kUserDicEditorClosed with wParam 1
// to the window it was created for.
#pragma once
#include <windows.h>

#include <string>

namespace dalmok {

inline constexpr UINT kUserDicEditorClosed = 0x413;

// Creates and shows the editor for parent with the Japanese word (Shift-JIS,
// may be empty) as its source word. Returns the editor's window, or null
// when it cannot be made (the caller tells the user).
HWND CreateUserDicEditor(HWND parent, const std::string& japaneseSjis);

// The editor the frame opened and keeps while it is open, or null; the
// chooser shows it instead of making a second one.
HWND FrameUserDicEditor();
// The frame notes the editor it opened (forgotten when it is destroyed).
void SetFrameUserDicEditor(HWND editor);

}  // namespace dalmok
