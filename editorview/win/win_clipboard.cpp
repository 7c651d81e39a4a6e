#include "win_clipboard.h"

#include <cstring>
#include <vector>

namespace editorview {

namespace {

// A moveable, zero-filled block holding bytes with room extra zero bytes behind.
HGLOBAL NewBlock(const void* data, size_t bytes, size_t room) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes + room);
  if (!block) return nullptr;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  if (bytes) std::memcpy(p, data, bytes);
  GlobalUnlock(block);
  return block;
}

UINT FormatOf(ClipFormat format) {
  switch (format) {
    case ClipFormat::kText: return CF_TEXT;
    case ClipFormat::kUnicodeText: return CF_UNICODETEXT;
    case ClipFormat::kLocale: return CF_LOCALE;
    case ClipFormat::kRichText: return Win32Clipboard::RichTextFormat();
  }
  return 0;
}

// The locked bytes of a block, with their size.
template <typename Read>
auto WithBlock(HANDLE h, Read read) -> std::optional<decltype(read(nullptr, 0))> {
  if (!h) return std::nullopt;
  const void* p = GlobalLock(h);
  if (!p) return std::nullopt;
  auto value = read(p, GlobalSize(h));
  GlobalUnlock(h);
  return value;
}

}  // namespace

UINT Win32Clipboard::RichTextFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Rich Text Format");
  return format;
}

std::optional<std::string> BlockBytes(HANDLE block) {
  return WithBlock(block, [](const void* p, size_t size) { return TextFromBlock(p, size); });
}

std::optional<std::u16string> BlockUnits(HANDLE block) {
  return WithBlock(block, [](const void* p, size_t size) { return UnicodeFromBlock(p, size); });
}

std::optional<std::string> ClipboardBytes(UINT format) { return BlockBytes(GetClipboardData(format)); }
std::optional<std::u16string> ClipboardUnits(UINT format) { return BlockUnits(GetClipboardData(format)); }

bool Win32Clipboard::Has(ClipFormat format) const { return IsClipboardFormatAvailable(FormatOf(format)) != FALSE; }

bool Win32Clipboard::Write(const ClipboardWrite& data) {
  struct Item {
    UINT format;
    HGLOBAL block;
  };
  std::vector<Item> items;
  bool made = true;
  auto add = [&](UINT format, const void* bytes, size_t size, size_t room) {
    HGLOBAL block = NewBlock(bytes, size, room);
    if (!block) made = false;
    else items.push_back({format, block});
  };
  // In this order: CF_TEXT, CF_LOCALE, CF_UNICODETEXT, rich text.
  if (data.text) add(CF_TEXT, data.text->data(), data.text->size(), 4);
  if (data.locale) {
    const LCID locale = *data.locale;
    add(CF_LOCALE, &locale, sizeof locale, 0);
  }
  if (data.unicode) add(CF_UNICODETEXT, data.unicode->data(), data.unicode->size() * sizeof(char16_t), sizeof(char16_t));
  if (data.richText) add(RichTextFormat(), data.richText->data(), data.richText->size(), 1);
  const bool opened = made && OpenClipboard(owner_);
  if (opened) {
    EmptyClipboard();
    for (Item& item : items) {
      if (SetClipboardData(item.format, item.block)) item.block = nullptr;  // the clipboard's now
    }
    CloseClipboard();
  }
  for (const Item& item : items) {
    if (item.block) GlobalFree(item.block);
  }
  return opened;
}

std::optional<ClipboardRead> Win32Clipboard::Read(bool texts, bool richText) {
  if (!OpenClipboard(owner_)) return std::nullopt;
  ClipboardRead read;
  if (texts) {
    if (IsClipboardFormatAvailable(CF_TEXT)) read.text = ClipboardBytes(CF_TEXT);
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) read.unicode = ClipboardUnits(CF_UNICODETEXT);
  }
  if (richText && IsClipboardFormatAvailable(RichTextFormat())) read.richText = ClipboardBytes(RichTextFormat());
  CloseClipboard();
  return read;
}

}  // namespace editorview
