#include "view_rig.h"

#include <fstream>
#include <iterator>

namespace editorview::test {

const codeconv::GmCodeConverter& Converter() { return codeconv::test::GeneratedConverter(); }

std::string ReadPart(int index) {
  std::ifstream in(std::string(RTF_PARTS_DIR) + "/PART" + std::to_string(index + 1) + ".txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Rig::Rig(std::vector<std::string> lines, RigOptions options) : doc(options.lineLimit) {
  doc.Assign(std::move(lines));
  rtf.SetParts(ReadPart(0), ReadPart(1), ReadPart(2));
  settings.ksCopyFont = "KS P Mincho";
  settings.gmCopyFont = "GM Font";
  ViewEngine::Services services{measurer, host, Converter()};
  services.clipboard = &clipboard;
  services.detector = &detector;
  services.rtfBuilder = &rtf;
  services.settings = &settings;
  view_ = std::make_unique<ViewEngine>(*options.variant, doc, services);
  ViewFont font;
  font.charset = options.charset;
  font.lineHeight = kLineHeight;
  font.averageCharWidth = kNarrow;
  font.face = "View Face";
  view_->SetFont(font);
  view_->Resize(ClientWidthFor(options.textWidth), options.rows * kLineHeight, kScrollBar);
  view_->OnUpdate(0);
  RecordingCanvas canvas;
  view_->Paint(canvas);
  view_->SetFocus();
}

std::vector<std::string> Rig::Lines() {
  view_->CommitLineBuffer();
  std::vector<std::string> lines;
  for (int i = 0; i < doc.LineCount(); ++i) lines.emplace_back(doc.GetLine(i));
  return lines;
}

void Rig::Place(int line, int offset) { view_->SetCaret({line, offset}); }

void Rig::Select(TextPosition start, TextPosition end) {
  Place(start.line, start.offset);
  view_->ExtendSelection(end.line, end.offset);
}

}  // namespace editorview::test
