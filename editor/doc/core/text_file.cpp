#include "text_file.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "utf8_text.h"

namespace brisel {

namespace {

using Byte = unsigned char;
using editorview::kCodeGm;
using editorview::kCodeKs;

constexpr bool IsContinuation(Byte b) { return (b & 0xC0) == 0x80; }
// Control bytes (units) that the readers drop: all below 0x20 but TAB and LF.
constexpr bool IsDropped(unsigned c) { return c < 0x20 && c != '\t' && c != '\n'; }
constexpr bool IsPlain(Byte b) { return b >= 0x20 || b == '\t'; }

// Lines are converted this many source bytes (units) at a time.
constexpr size_t kBatchSize = 1 << 18;

size_t PlainRun(const Byte* s, size_t n) {
  size_t i = 0;
  while (i < n && IsPlain(s[i])) ++i;
  return i;
}

// Continuation bytes that the last character of line still lacks, as its
// lead byte announces them (110xxxxx 2 bytes, 1110xxxx 3, 11110xxx 4).
size_t MissingContinuations(const std::string& line) {
  size_t i = line.size(), have = 0;
  while (i > 0 && have < 4 && IsContinuation(static_cast<Byte>(line[i - 1]))) {
    --i;
    ++have;
  }
  if (i == 0) return 0;
  const Byte lead = static_cast<Byte>(line[i - 1]);
  const size_t k = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 1;
  return k > have + 1 ? k - have - 1 : 0;
}

// The line count of a read: refuses the line after kMaxLines.
class LineCount {
 public:
  explicit LineCount(ReadOutcome& out) : out_(out) {}
  bool Admit() {
    if (count_ >= static_cast<size_t>(kMaxLines)) {
      out_.cut = true;
      return false;
    }
    ++count_;
    return true;
  }
  // At the end of the file: the pending line is stored unless it is empty
  // after at least one line.
  bool WantsLast(bool pendingEmpty) const { return !pendingEmpty || count_ == 0; }

 private:
  ReadOutcome& out_;
  size_t count_ = 0;
};

// A line converted to UTF-8 goes in; one too long goes in empty.
void StoreUtf8(ReadOutcome& out, std::string&& utf8) {
  if (utf8.size() > kMaxStoredLineBytes) {
    out.tooLong = true;
    utf8.clear();
  }
  out.lines.push_back(std::move(utf8));
}

// The reader's body; memory running out keeps the lines so far.
template <class Body>
ReadOutcome Guarded(Body body) {
  ReadOutcome out;
  try {
    body(out);
  } catch (const std::bad_alloc&) {
    out.outOfMemory = true;
  }
  if (out.failed) {
    out = ReadOutcome();
    out.failed = true;
  }
  if (out.lines.empty()) out.lines.emplace_back();
  return out;
}

// Pieces (lines) joined by LF, converted together, split again. Should the
// conversion not keep exactly the joining LFs, every piece is converted
// alone instead.
template <class Piece, class Converted, class Convert, class Take>
class JoinedConversion {
 public:
  using Unit = typename Piece::value_type;
  using OutUnit = typename Converted::value_type;
  JoinedConversion(Convert convert, Take take) : convert_(convert), take_(take) {}

  void Add(const Piece& piece) {
    joined_ += piece;
    joined_.push_back(Unit('\n'));
    ++pieces_;
    if (joined_.size() >= kBatchSize) Flush();
  }
  void Flush() {
    if (pieces_ == 0) return;
    const Converted all = convert_(joined_);
    if (static_cast<size_t>(std::count(all.begin(), all.end(), OutUnit('\n'))) == pieces_) {
      Split(all, [&](Converted piece) { take_(std::move(piece)); });
    } else {
      Split(joined_, [&](const Piece& piece) { take_(convert_(piece)); });
    }
    joined_.clear();
    pieces_ = 0;
  }

 private:
  template <class Text, class Each>
  static void Split(const Text& text, Each each) {
    size_t from = 0;
    for (size_t at; (at = text.find(typename Text::value_type('\n'), from)) != Text::npos; from = at + 1) {
      each(text.substr(from, at - from));
    }
  }

  Convert convert_;
  Take take_;
  Piece joined_;
  size_t pieces_ = 0;
};

template <class Piece, class Converted, class Convert, class Take>
JoinedConversion<Piece, Converted, Convert, Take> MakeJoined(Convert convert, Take take) {
  return JoinedConversion<Piece, Converted, Convert, Take>(convert, take);
}

}  // namespace

bool IsValidUtf8(std::string_view line) {
  static constexpr Byte kLowestLead[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
  const size_t n = line.size();
  for (size_t i = 0; i < n;) {
    if (static_cast<Byte>(line[i]) < 0x80) {
      ++i;
      continue;
    }
    // Utf8CharLength looks at most 5 bytes on and stops at a NUL.
    char tail[8] = {};
    std::memcpy(tail, line.data() + i, std::min<size_t>(n - i, 6));
    const int k = editorview::Utf8CharLength(tail);
    if (k >= 2 && static_cast<Byte>(line[i]) < kLowestLead[k]) return false;
    i += static_cast<size_t>(k);
  }
  return true;
}

ReadOutcome ReadUtf8(std::string_view file) {
  return Guarded([&](ReadOutcome& out) {
    LineCount count(out);
    const auto* s = reinterpret_cast<const Byte*>(file.data());
    const size_t n = file.size();
    std::string line;
    auto end = [&]() {
      if (!IsValidUtf8(line)) {
        out.failed = true;
        return false;
      }
      if (!count.Admit()) return false;
      out.lines.push_back(std::move(line));
      line.clear();
      return true;
    };
    size_t pos = 0;
    while (pos < n) {
      size_t run = PlainRun(s + pos, n - pos);
      while (run > 0) {
        size_t take;
        if (line.size() >= kUtf8LineLimit) {
          // At the limit only the bytes that complete the last character go on.
          const size_t missing = MissingContinuations(line);
          for (take = 0; take < run && take < missing && IsContinuation(s[pos + take]);) ++take;
          if (take == 0) {
            if (!end()) return;
            continue;
          }
        } else {
          take = std::min(run, kUtf8LineLimit - line.size());
        }
        line.append(reinterpret_cast<const char*>(s + pos), take);
        pos += take;
        run -= take;
      }
      if (pos < n && s[pos++] == '\n' && !end()) return;
    }
    if (count.WantsLast(line.empty())) end();
  });
}

ReadOutcome ReadUnicode(std::string_view file) {
  return Guarded([&](ReadOutcome& out) {
    const auto* s = reinterpret_cast<const Byte*>(file.data());
    const size_t n = file.size();
    const bool little = n >= 2 && s[0] == 0xFF && s[1] == 0xFE;
    const bool big = n >= 2 && s[0] == 0xFE && s[1] == 0xFF;
    if (!little && !big) {
      out.failed = true;
      return;
    }
    LineCount count(out);
    std::u16string line;
    auto end = [&]() {
      if (!count.Admit()) return false;
      StoreUtf8(out, editorview::Utf16ToUtf8String(line));
      line.clear();
      return true;
    };
    // An odd last byte is no unit.
    for (size_t i = 2; i + 1 < n; i += 2) {
      const char16_t u = little ? static_cast<char16_t>(s[i] | s[i + 1] << 8) : static_cast<char16_t>(s[i] << 8 | s[i + 1]);
      if (u == u'\n') {
        if (!end()) return;
        continue;
      }
      if (IsDropped(u)) continue;
      if (line.size() >= kUnitLineLimit && !end()) return;
      line.push_back(u);
    }
    if (count.WantsLast(line.empty())) end();
  });
}

ReadOutcome ReadMultiByte(std::string_view file, int code, const editorview::TextCode& conversions) {
  return Guarded([&](ReadOutcome& out) {
    const bool gm = code == kCodeGm;
    const int convertCode = gm ? kCodeGm : kCodeKs;
    auto isLead = [gm](Byte b) { return gm ? (b >= 0x81 && b <= 0x9F) || b >= 0xE0 : b >= 0x81; };
    auto batch = MakeJoined<std::string, std::u16string>(
        [&](const std::string& bytes) { return conversions.CodeToUnicode(bytes, convertCode); },
        [&](std::u16string units) { StoreUtf8(out, editorview::Utf16ToUtf8String(units)); });
    LineCount count(out);
    const auto* s = reinterpret_cast<const Byte*>(file.data());
    const size_t n = file.size();
    std::string line;
    auto end = [&]() {
      if (!count.Admit()) return false;
      batch.Add(line);
      line.clear();
      return true;
    };
    bool stopped = false;
    for (size_t pos = 0; pos < n && !stopped;) {
      const Byte b = s[pos];
      if (b == '\n') {
        ++pos;
        stopped = !end();
        continue;
      }
      if (IsDropped(b)) {
        ++pos;
        continue;
      }
      if (line.size() >= kUnitLineLimit && !end()) {
        stopped = true;
        continue;
      }
      if (!isLead(b)) {
        // A run of single bytes, up to the limit.
        size_t take = 1;
        const size_t room = kUnitLineLimit - line.size();
        while (take < room && pos + take < n && IsPlain(s[pos + take]) && !isLead(s[pos + take])) ++take;
        line.append(reinterpret_cast<const char*>(s + pos), take);
        pos += take;
        continue;
      }
      // A lead byte takes the next byte that is not dropped as its trail,
      // unless that is LF (which still ends the line).
      size_t trail = pos + 1;
      while (trail < n && IsDropped(s[trail])) ++trail;
      line.push_back(static_cast<char>(b));
      if (trail < n && s[trail] != '\n') {
        line.push_back(static_cast<char>(s[trail]));
        pos = trail + 1;
      } else {
        pos = trail;
      }
    }
    if (!stopped && count.WantsLast(line.empty())) end();
    batch.Flush();
  });
}

ReaderChoice ChooseReader(unsigned detectedFlags, int fontCode) {
  if (detectedFlags & kDetectedUtf16) return {Reader::kUnicode, 0};
  if (detectedFlags & kDetectedUtf8) return {Reader::kUtf8, 0};
  // GM first: GM text may look like KS as well.
  if (detectedFlags & kDetectedGm) return {Reader::kMultiByte, kCodeGm};
  if (detectedFlags & kDetectedKs) return {Reader::kMultiByte, kCodeKs};
  return {Reader::kMultiByte, fontCode == kCodeGm ? kCodeGm : kCodeKs};
}

std::string WriteLines(const editorview::LineDocument& lines, int outFileType, int fontCode,
                       const editorview::TextCode& conversions) {
  std::string file;
  const int count = lines.LineCount();
  switch (outFileType) {
    case kOutUnicode:
      file = "\xFF\xFE";
      for (int i = 0; i < count; ++i) {
        for (char16_t u : editorview::Utf8ToUtf16String(lines.GetLine(i))) {
          file.push_back(static_cast<char>(u & 0xFF));
          file.push_back(static_cast<char>(u >> 8));
        }
        file.append("\r\0\n\0", 4);
      }
      break;
    case kOutFontCode:
    case kOutKs:
    case kOutGm: {
      const int code = outFileType == kOutKs ? kCodeKs : outFileType == kOutGm ? kCodeGm : fontCode == kCodeGm ? kCodeGm : kCodeKs;
      auto batch = MakeJoined<std::u16string, std::string>(
          [&](const std::u16string& text) { return conversions.UnicodeToCode(text, code); },
          [&](std::string bytes) {
            file += bytes;
            file += "\r\n";
          });
      for (int i = 0; i < count; ++i) batch.Add(editorview::Utf8ToUtf16String(lines.GetLine(i)));
      batch.Flush();
      break;
    }
    default:  // kOutUtf8, and any unknown setting
      for (int i = 0; i < count; ++i) {
        file += lines.GetLine(i);
        file += "\r\n";
      }
      break;
  }
  return file;
}

}  // namespace brisel
