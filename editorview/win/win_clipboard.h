// The engine's clipboard over the Win32 clipboard: CF_TEXT, CF_LOCALE,
// CF_UNICODETEXT and "Rich Text Format". Every read is bounded by the size of
// its block, since other programs need not end CF_TEXT with a NUL.
#pragma once
#include <windows.h>

#include "view_seams.h"

namespace editorview {

class Win32Clipboard final : public Clipboard {
 public:
  // owner: the window that opens the clipboard (the view).
  explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  static UINT RichTextFormat();  // RegisterClipboardFormat("Rich Text Format")

  bool Has(ClipFormat format) const override;
  // Each block is made before the clipboard is opened; false (nothing
  // changed) when one cannot be made or the clipboard cannot be opened.
  bool Write(const ClipboardWrite& data) override;
  std::optional<ClipboardRead> Read(bool texts, bool richText) override;

 private:
  HWND owner_;
};

// The text of a global memory block: up to its NUL and never beyond the
// block's size; nothing when the block cannot be locked.
std::optional<std::string> BlockBytes(HANDLE block);
std::optional<std::u16string> BlockUnits(HANDLE block);
// The same for the clipboard's block of a format (the clipboard open);
// nothing when the format is absent.
std::optional<std::string> ClipboardBytes(UINT format);
std::optional<std::u16string> ClipboardUnits(UINT format);

}  // namespace editorview
