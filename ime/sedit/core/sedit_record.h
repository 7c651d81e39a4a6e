// The fixed table of control instances. Each record holds its text and undo
// buffers (in storage that the table is given), its positions, its font and
// its own text rule, so that controls with different fonts never share a
// lead-byte rule.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sedit_text.h"
#include "sedit_variant.h"

namespace sedit {

constexpr int kLogFontSize = 60;  // LOGFONTA
constexpr int kDefaultLineHeight = 16;

// Windows never maps the lowest 64 KiB of an address space, so a WM_SETFONT
// lParam below it (the usual redraw flag TRUE, or 0) is no LOGFONTA pointer.
constexpr std::uintptr_t kLowestPointer = 0x10000;

// The LOGFONTA that WM_SETFONT's lParam points to, or null when lParam cannot
// be one: a small value, or an address whose kLogFontSize bytes readable()
// refuses. The control then has no font record.
template <typename Readable>
const unsigned char* LogFontFromParam(std::uintptr_t lParam, Readable readable) {
  if (lParam < kLowestPointer) return nullptr;
  if (!readable(lParam, static_cast<std::size_t>(kLogFontSize))) return nullptr;
  return reinterpret_cast<const unsigned char*>(lParam);
}

struct Record {
  std::uintptr_t window = 0;  // 0: the record is free
  char* text = nullptr;       // bufferSize bytes, NUL-terminated
  char* undo = nullptr;       // bufferSize bytes: the bytes last removed
  int caret = 0;
  bool focus = false;
  int limit = 0;
  int firstVisible = 0;
  int selStart = -1;          // selStart < selEnd, or both -1
  int selEnd = -1;
  int undoPos = -1;           // where the last edit happened; -1: nothing to undo
  int undoEnd = -1;           // end of the bytes the last edit run inserted; -1: removal only

  // Font given by WM_SETFONT; the LOGFONTA is copied, so the caller's record
  // may go away.
  std::uintptr_t font = 0;
  bool hasLogFont = false;
  unsigned charset = 0;
  alignas(4) std::array<unsigned char, kLogFontSize> logFont{};
  int lineHeight = kDefaultLineHeight;

  TextRule rule;              // this control's lead-byte rule
  unsigned codePage = 932;    // kRecordCodePage: the code page of the font
  bool enabled = true;        // WM_ENABLE of the variants that handle it
  bool ansiDrawing = false;   // kUtf8: drawn through the ANSI code page
  unsigned char pendingLead = 0;  // a typed lead byte waiting for its trail byte

  bool HasSelection() const { return selStart >= 0 && selStart < selEnd; }
  void ClearSelection() { selStart = selEnd = -1; }
};

class InstanceTable {
 public:
  // records must hold variant.records entries and bytes 2 * records * bufferSize.
  InstanceTable(const Variant& variant, std::span<Record> records, std::span<char> bytes);

  const Variant& variant() const { return variant_; }
  int size() const { return static_cast<int>(records_.size()); }
  Record& at(int index) { return records_[static_cast<size_t>(index)]; }

  // Clears every record (registration of the class).
  void Clear();
  // Claims the first free record for the window; -1 when the table is full.
  int Claim(std::uintptr_t window);
  // Frees the window's record; returns its index or -1.
  int Release(std::uintptr_t window);
  Record* Find(std::uintptr_t window);
  int IndexOf(std::uintptr_t window) const;

 private:
  void ResetRecord(Record& r) const;

  const Variant& variant_;
  std::span<Record> records_;
};

// A table with its storage, sized at build time from a variant.
template <const Variant& V>
struct StaticTable {
  std::array<Record, static_cast<size_t>(V.records)> records{};
  std::array<char, static_cast<size_t>(2 * V.records * V.bufferSize)> bytes{};
  InstanceTable table{V, records, bytes};
};

}  // namespace sedit
