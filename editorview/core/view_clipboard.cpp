// Copy and paste in KS, GM and UTF-16, with the choice between the
// clipboard's formats by their "?" count, and the rich-text paste.
#include <algorithm>
#include <cstring>

#include "clipboard_text.h"
#include "ks_gm.h"
#include "view_engine.h"

namespace editorview {

namespace {

constexpr uint32_t kKsLocale = 1042;
constexpr uint32_t kGmLocale = 1041;
constexpr std::string_view kKsCharsetText = "129";
constexpr std::string_view kGmCharsetText = "128";

}  // namespace

std::string ViewEngine::SelectedText() const {
  if (!HasSelection()) return {};
  return TextBetween(selStart_, selEnd_);
}

std::string ViewEngine::GetAllText() const {
  return TextBetween({0, 0}, {LastLine(), static_cast<int>(LineText(LastLine()).size())});
}

std::string ViewEngine::CopyText() const { return HasSelection() ? SelectedText() : GetAllText(); }

std::string ViewEngine::TakeFindSeed() {
  findSeed_ = SelectedText();
  return findSeed_;
}

bool ViewEngine::CopyToClipboard(std::string_view text, int code) {
  if (text.empty()) return false;
  WaitScope wait(host_);
  const std::u16string unicode = code_.ToUtf16(text);
  const std::string bytes = code_.UnicodeToCode(unicode, code);
  ClipboardWrite data;
  if (!bytes.empty()) data.text = bytes;
  data.locale = code == kCodeGm ? kGmLocale : kKsLocale;
  if (code == kCodeKs) data.unicode = unicode;
  const ViewSettings& s = Settings();
  const bool richText = code == kCodeGm ? s.gmCopyRichText : s.ksCopyRichText;
  if (!bytes.empty() && richText && rtfBuilder_) {
    data.richText = rtfBuilder_->BuildRtf(code == kCodeGm ? kGmCharsetText : kKsCharsetText,
                                          code == kCodeGm ? s.gmCopyFont : s.ksCopyFont, font_.lfHeight, bytes,
                                          font_.logPixelsY);
  }
  if (!clipboard_ || !clipboard_->Write(data)) {
    host_.Notify(Notice::kClipboardWriteError);
    return false;
  }
  return true;
}

bool ViewEngine::ForkCopy(std::string_view text) {
  if (text.empty()) return false;
  WaitScope wait(host_);
  ClipboardWrite data;
  data.text = std::string(text);
  if (!code_.GmFont()) data.unicode = code_.CodeToUnicode(text, kCodeKs);
  if (rtfBuilder_) {
    data.richText = rtfBuilder_->BuildRtf(code_.GmFont() ? kGmCharsetText : kKsCharsetText, font_.face, font_.lfHeight,
                                          text, font_.logPixelsY);
  }
  if (!clipboard_ || !clipboard_->Write(data)) {
    host_.Notify(Notice::kClipboardWriteError);
    return false;
  }
  return true;
}

std::u16string ViewEngine::ClipBytesToUnicode(std::string_view bytes, int code) {
  if (code < 0) code = detector_ && (detector_->Detect(bytes, kPasteDetectMask) & kDetectedGm) ? kCodeGm : kCodeKs;
  return code_.CodeToUnicode(bytes, code);
}

std::optional<std::string> ViewEngine::TextPaste(int pasteCode) {
  WaitScope wait(host_);
  const std::optional<ClipboardRead> read = clipboard_ ? clipboard_->Read(true, false) : std::nullopt;
  if (!read || (!read->text && !read->unicode)) {
    host_.Notify(Notice::kClipboardReadError);
    return std::nullopt;
  }
  const PasteSource source = ChoosePasteSource(read->text, read->unicode, pasteCode);
  const std::u16string unicode =
      source == PasteSource::kUnicode ? *read->unicode : ClipBytesToUnicode(*read->text, pasteCode - 1);
  return code_.FromUtf16(unicode);
}

std::optional<std::string> ViewEngine::PasteRtf() {
  const std::optional<ClipboardRead> read = clipboard_ ? clipboard_->Read(false, true) : std::nullopt;
  if (!read || !read->richText) {
    host_.Notify(Notice::kClipboardReadError);
    return std::nullopt;
  }
  RtfReader reader;
  if (!reader.Parse(*read->richText)) {
    host_.Notify(Notice::kRtfInvalid);
    return std::string();
  }
  const std::string gmFacePrefix = code_.Pages().FromUtf16(kJapaneseCodePage, std::u16string(kGmFacePrefix));
  std::u16string joined;
  bool lossy = false;
  for (const RtfReader::Run& run : reader.Runs()) {
    const RtfReader::Font* font = reader.FindFont(run.font);
    if (font && font->charset == kGmCharsetText && !gmFacePrefix.empty() &&
        font->face.compare(0, gmFacePrefix.size(), gmFacePrefix) == 0) {
      joined += code_.CodeToUnicode(run.text, kCodeGm);
    } else if (font && font->charset == kKsCharsetText) {
      joined += code_.CodeToUnicode(run.text, kCodeKs);
    } else {
      joined += RunToUnicodeLossy(run.text, lossy);
    }
  }
  reader.ResetRtfReader();
  if (lossy) host_.Notify(Notice::kRtfUnconvertible);
  return code_.FromUtf16(joined);
}

void ViewEngine::Paste() {
  if (!clipboard_) return;
  std::optional<std::string> text;
  if (variant_.clipboard == ClipboardRule::kFork) {
    WaitScope wait(host_);
    const std::optional<ClipboardRead> read = clipboard_->Read(true, false);
    if (!read || (!read->text && !read->unicode)) {
      host_.Notify(Notice::kClipboardReadError);
      return;
    }
    text = ForkPasteBytes(read->text, read->unicode, code_.GmFont(), code_.Pages());
  } else {
    const int pasteCode = Settings().pasteCode;
    if (pasteCode != 0 || !clipboard_->Has(ClipFormat::kRichText)) {
      text = TextPaste(pasteCode);
    } else {
      text = PasteRtf();
      if (!text || text->empty()) return;
      // Rich text that came out mostly as "?" gives way to the KS text.
      if (MostlyQuestionMarks(*text)) text = TextPaste(1);
    }
  }
  if (!text || text->empty()) return;
  doc_.SetModifiedFlag();
  const bool replacing = HasSelection();
  const UndoRecord before = undo_;
  if (replacing && !DeleteSelection()) return;
  const TextPosition start = Caret();
  InsertMultilineText(*text);
  if (Caret() == start) {
    // Nothing went in (the first segment did not fit): the selection comes
    // back as it was, and undo still takes back the edit before the paste.
    if (replacing) Undo();
    undo_ = before;
    return;
  }
  Repaint();
  UpdateCaretPosition();
  host_.LineStatusChanged();
}

}  // namespace editorview
