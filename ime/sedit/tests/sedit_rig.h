// A table of one variant with its storage on the heap, and a control in it.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "code_page.h"
#include "sedit_editor.h"

namespace sedit::testing {

inline std::array<unsigned char, kLogFontSize> LogFontWithCharset(unsigned charset) {
  std::array<unsigned char, kLogFontSize> lf{};
  lf[23] = static_cast<unsigned char>(charset);  // lfCharSet
  return lf;
}

struct Rig {
  explicit Rig(const Variant& variant)
      : v(variant),
        records(static_cast<size_t>(variant.records)),
        bytes(static_cast<size_t>(2 * variant.records * variant.bufferSize), '\x5A'),
        table(variant, records, bytes) {
    table.Claim(1);
  }
  Record& r(int index = 0) { return table.at(index); }
  Editor ed(int index = 0) { return Editor(table.at(index), v, codeconv::PlatformCodePages()); }
  void Font(unsigned charset, int index = 0) {
    const auto lf = LogFontWithCharset(charset);
    ed(index).ApplyFont(0x100, lf.data(), charset);
  }
  // Text set with the caret at its end and no selection.
  void Text(const std::string& text, int index = 0) {
    Editor e = ed(index);
    e.SetText(text.c_str());
    e.SetSel(0, -1);
    e.KeyRight(false);
  }
  void Type(const std::string& chars) {
    for (unsigned char c : chars) ed().TypeByte(c);
  }

  const Variant& v;
  std::vector<Record> records;
  std::vector<char> bytes;
  InstanceTable table;
};

}  // namespace sedit::testing
