#include "text_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <unordered_map>
#include <utility>

#include "gm_text.h"
#include "ks_gm.h"
#include "pair_walk.h"
#include "text_utils.h"
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

constexpr bool IsHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
constexpr bool IsLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

// A control byte (unit) c that a reader leaves out: the CR of a CR LF is
// part of the line end; any other is a change to the text.
void CountDropped(ReadOutcome& out, unsigned c, bool lfFollows) {
  if (c != '\r') {
    ++out.droppedControls;
  } else if (!lfFollows) {
    ++out.loneCrs;
  }
}

// Whether every byte of line belongs to a well-formed UTF-8 sequence.
bool IsWellFormedUtf8(std::string_view line) {
  const auto* s = reinterpret_cast<const Byte*>(line.data());
  for (size_t i = 0; i < line.size();) {
    const int length = codeconv::Utf8SequenceLength(s + i, line.size() - i);
    if (length <= 0) return false;
    i += static_cast<size_t>(length);
  }
  return true;
}

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

// Pieces (lines) each ended by LF in one buffer, converted together and
// handed to each(data, size) one by one. Should the conversion not keep
// exactly the ending LFs, every piece is converted alone instead.
template <class Text, class Converted, class Convert, class Each>
void ConvertJoined(const Text& joined, size_t pieces, Convert convert, Each each) {
  using In = typename Text::value_type;
  using Out = typename Converted::value_type;
  if (pieces == 0) return;
  const Converted all = convert(joined);
  const bool kept = static_cast<size_t>(std::count(all.begin(), all.end(), Out('\n'))) == pieces;
  size_t from = 0;
  for (size_t k = 0; k < pieces; ++k) {
    if (kept) {
      const size_t at = all.find(Out('\n'), from);
      each(all.data() + from, at - from);
      from = at + 1;
    } else {
      const size_t at = joined.find(In('\n'), from);
      const Converted one = convert(joined.substr(from, at - from));
      each(one.data(), one.size());
      from = at + 1;
    }
  }
}

// The converter's GmCharToKs of every pair that starts with a GM lead
// byte, so that a whole file turns from GM into KS by table.
class GmToKsTable {
 public:
  explicit GmToKsTable(const codeconv::GmCodeConverter& gm) : pairs_(1u << 16) {
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
      if (!codeconv::IsGmLeadByte(static_cast<uint8_t>(lead))) continue;
      for (unsigned trail = 0; trail <= 0xFF; ++trail) {
        const auto pair = static_cast<codeconv::DbChar>(lead << 8 | trail);
        pairs_[pair] = gm.GmCharToKs(pair);
      }
    }
  }
  // As GmCodeConverter::GmToKs.
  std::string ToKs(const std::string& gm) const {
    std::string ks(gm);
    auto* bytes = reinterpret_cast<uint8_t*>(ks.data());
    codeconv::ConvertPairs(bytes, bytes, ks.size(), codeconv::IsGmLeadByte,
                           [this](codeconv::DbChar pair) { return pairs_[pair]; });
    return ks;
  }

 private:
  std::vector<codeconv::DbChar> pairs_;
};

// A 4-byte UTF-8 sequence at s (n bytes there): its code point, or 0.
char32_t FourByteCharacter(const Byte* s, size_t n) {
  if (n < 4 || s[0] < 0xF0 || s[0] > 0xF4 || !IsContinuation(s[1]) || !IsContinuation(s[2]) ||
      !IsContinuation(s[3])) {
    return 0;
  }
  const char32_t c = (s[0] & 0x07u) << 18 | (s[1] & 0x3Fu) << 12 | (s[2] & 0x3Fu) << 6 | (s[3] & 0x3Fu);
  return c >= 0x10000 && c <= 0x10FFFF ? c : 0;
}

// The 3-byte form of one UTF-16 unit.
void AppendUnitUtf8(std::string& out, unsigned u) {
  out.push_back(static_cast<char>(0xE0 | u >> 12));
  out.push_back(static_cast<char>(0x80 | (u >> 6 & 0x3F)));
  out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
}

// The UTF-16 of a UTF-8 line appended to units; a 4-byte sequence gives its
// surrogate pair.
void AppendUtf16(std::u16string& units, std::string_view line) {
  std::string pairs;
  const auto* s = reinterpret_cast<const Byte*>(line.data());
  if (std::any_of(s, s + line.size(), [](Byte b) { return b >= 0xF0; })) {
    pairs.reserve(line.size() + line.size() / 2);
    for (size_t i = 0; i < line.size();) {
      if (const char32_t c = s[i] >= 0xF0 ? FourByteCharacter(s + i, line.size() - i) : 0) {
        AppendUnitUtf8(pairs, 0xD800 + ((c - 0x10000) >> 10));
        AppendUnitUtf8(pairs, 0xDC00 + ((c - 0x10000) & 0x3FF));
        i += 4;
      } else {
        pairs.push_back(static_cast<char>(s[i++]));
      }
    }
    line = pairs;
  }
  const size_t old = units.size();
  units.resize(old + line.size());  // a unit takes at least one byte
  const int n = editorview::Utf8ToUtf16(line.data(), units.data() + old, static_cast<int>(line.size()));
  units.resize(old + static_cast<size_t>(n));
}

// A line for a UTF-8 file: a surrogate pair kept as two 3-byte units
// becomes the one 4-byte sequence of its character.
void AppendUtf8Line(std::string& file, std::string_view line) {
  const auto* s = reinterpret_cast<const Byte*>(line.data());
  const size_t n = line.size();
  if (line.find('\xED') == std::string_view::npos) {
    file += line;
    return;
  }
  for (size_t i = 0; i < n;) {
    if (i + 6 <= n && s[i] == 0xED && s[i + 1] >= 0xA0 && s[i + 1] <= 0xAF && IsContinuation(s[i + 2]) &&
        s[i + 3] == 0xED && s[i + 4] >= 0xB0 && s[i + 4] <= 0xBF && IsContinuation(s[i + 5])) {
      const unsigned high = 0xD000u | (s[i + 1] & 0x3Fu) << 6 | (s[i + 2] & 0x3Fu);
      const unsigned low = 0xD000u | (s[i + 4] & 0x3Fu) << 6 | (s[i + 5] & 0x3Fu);
      const char32_t c = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
      file.push_back(static_cast<char>(0xF0 | c >> 18));
      file.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
      file.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      file.push_back(static_cast<char>(0x80 | (c & 0x3F)));
      i += 6;
    } else {
      file.push_back(static_cast<char>(s[i++]));
    }
  }
}

// One character of units at i (a surrogate pair or a unit) and its length.
std::pair<char32_t, size_t> CharacterAt(const std::u16string& units, size_t i) {
  if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
    return {0x10000 + ((char32_t(units[i]) - 0xD800) << 10) + (units[i + 1] - 0xDC00), 2};
  }
  return {units[i], 1};
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
      if (!IsWellFormedUtf8(line)) ++out.undecodableLines;
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
            ++out.splitLines;
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
      if (pos < n) {
        const Byte b = s[pos++];
        if (b == '\n') {
          if (!end()) return;
        } else {
          CountDropped(out, b, pos < n && s[pos] == '\n');
        }
      }
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
    if (n % 2 != 0) ++out.undecodableLines;
    auto unitAt = [&](size_t i) {
      return little ? static_cast<char16_t>(s[i] | s[i + 1] << 8) : static_cast<char16_t>(s[i] << 8 | s[i + 1]);
    };
    for (size_t i = 2; i + 1 < n; i += 2) {
      const char16_t u = unitAt(i);
      if (u == u'\n') {
        if (!end()) return;
        continue;
      }
      if (IsDropped(u)) {
        CountDropped(out, u, i + 3 < n && unitAt(i + 2) == u'\n');
        continue;
      }
      if (line.size() >= kUnitLineLimit) {
        // The line ends before a surrogate pair that the limit would cut.
        ++out.splitLines;
        const char16_t carried = IsLowSurrogate(u) && IsHighSurrogate(line.back()) ? line.back() : 0;
        if (carried) line.pop_back();
        if (!end()) return;
        if (carried) line.push_back(carried);
      }
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
    LineCount count(out);
    // The lines of a batch, each ended by LF, then the pending line.
    std::string joined;
    size_t lineStart = 0, pieces = 0;
    std::string scratch;
    auto store = [&](const char16_t* units, size_t n) {
      scratch.resize(n * 3);
      const int bytes = editorview::Utf16ToUtf8(units, scratch.data(), static_cast<int>(n));
      StoreUtf8(out, std::string(scratch.data(), static_cast<size_t>(bytes)));
    };
    std::optional<GmToKsTable> gmTable;
    if (gm) gmTable.emplace(conversions.Gm());
    auto toUnicode = [&](const std::string& bytes) {
      return gm ? conversions.Pages().ToUtf16(editorview::kKsCodePage, gmTable->ToKs(bytes))
                : conversions.CodeToUnicode(bytes, convertCode);
    };
    // The way back, to tell the lines whose bytes the code cannot give back.
    std::optional<editorview::KsToGmTable> ksToGm;
    if (gm) ksToGm.emplace(conversions.Gm());
    auto fromUnicode = [&](const std::u16string& text) {
      return gm ? editorview::KsToGmText(*ksToGm, conversions.UnicodeToCode(text, kCodeKs))
                : conversions.UnicodeToCode(text, kCodeKs);
    };
    std::u16string decoded;  // the batch's lines as converted, each ended by LF
    auto storeAndKeep = [&](const char16_t* units, size_t n) {
      decoded.append(units, n);
      decoded.push_back(u'\n');
      store(units, n);
    };
    auto flush = [&]() {
      decoded.clear();
      ConvertJoined<std::string, std::u16string>(joined, pieces, toUnicode, storeAndKeep);
      const std::string back = pieces ? fromUnicode(decoded) : std::string();
      if (back != joined.substr(0, lineStart)) {
        // Line by line: the lines of the batch whose bytes came back otherwise.
        size_t from = 0, fromDecoded = 0;
        for (size_t k = 0; k < pieces; ++k) {
          const size_t at = joined.find('\n', from);
          const size_t atDecoded = decoded.find(u'\n', fromDecoded);
          if (fromUnicode(decoded.substr(fromDecoded, atDecoded - fromDecoded)) != joined.substr(from, at - from)) {
            ++out.undecodableLines;
          }
          from = at + 1;
          fromDecoded = atDecoded + 1;
        }
      }
      joined.clear();
      lineStart = pieces = 0;
    };
    auto lineSize = [&]() { return joined.size() - lineStart; };
    auto end = [&]() {
      if (!count.Admit()) return false;
      joined.push_back('\n');
      ++pieces;
      lineStart = joined.size();
      if (joined.size() >= kBatchSize) flush();
      return true;
    };
    const auto* s = reinterpret_cast<const Byte*>(file.data());
    const size_t n = file.size();
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
        CountDropped(out, b, pos < n && s[pos] == '\n');
        continue;
      }
      if (lineSize() >= kUnitLineLimit) {
        ++out.splitLines;
        if (!end()) {
          stopped = true;
          continue;
        }
      }
      // A run of single bytes and of lead bytes with their trail bytes right
      // after them, while the line is below the limit (a pair may end one
      // byte above it), goes in as it stands.
      const size_t room = kUnitLineLimit - lineSize();
      size_t q = pos;
      while (q < n && q - pos < room && IsPlain(s[q])) {
        if (!isLead(s[q])) {
          ++q;
        } else if (q + 1 < n && IsPlain(s[q + 1])) {
          q += 2;
        } else {
          break;
        }
      }
      if (q > pos) {
        joined.append(reinterpret_cast<const char*>(s + pos), q - pos);
        pos = q;
        continue;
      }
      // A lead byte before a control byte, LF or the end of the file takes
      // the next byte that is not dropped as its trail, unless that is LF
      // (which still ends the line).
      size_t trail = pos + 1;
      for (; trail < n && IsDropped(s[trail]); ++trail) CountDropped(out, s[trail], trail + 1 < n && s[trail + 1] == '\n');
      joined.push_back(static_cast<char>(b));
      if (trail < n && s[trail] != '\n') {
        joined.push_back(static_cast<char>(s[trail]));
        pos = trail + 1;
      } else {
        pos = trail;
      }
    }
    if (!stopped && count.WantsLast(lineSize() == 0)) end();
    joined.resize(lineStart);  // a line that was refused
    flush();
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
                       const editorview::TextCode& conversions, MissingCharacters* missing) {
  if (missing) *missing = MissingCharacters();
  std::string file;
  const int count = lines.LineCount();
  switch (outFileType) {
    case kOutUnicode: {
      file = "\xFF\xFE";
      std::u16string units;
      for (int i = 0; i < count; ++i) {
        units.clear();
        AppendUtf16(units, lines.GetLine(i));
        units += u"\r\n";
        const size_t old = file.size();
        file.resize(old + 2 * units.size());
        char* p = file.data() + old;
        for (char16_t u : units) {
          *p++ = static_cast<char>(u & 0xFF);
          *p++ = static_cast<char>(u >> 8);
        }
      }
      break;
    }
    case kOutFontCode:
    case kOutKs:
    case kOutGm: {
      const int code = outFileType == kOutKs   ? kCodeKs
                       : outFileType == kOutGm ? kCodeGm
                       : fontCode == kCodeGm   ? kCodeGm
                                               : kCodeKs;
      std::u16string joined;
      size_t pieces = 0;
      // GM goes through KS, as UnicodeToCode takes it, with the GM pairs by table.
      std::optional<editorview::KsToGmTable> gmTable;
      if (code == kCodeGm) gmTable.emplace(conversions.Gm());
      auto toCode = [&](const std::u16string& text) {
        return gmTable ? editorview::KsToGmText(*gmTable, conversions.UnicodeToCode(text, kCodeKs))
                       : conversions.UnicodeToCode(text, code);
      };
      // The way back, to find the characters that the code lacks: each
      // character that does not come back alone is one of them.
      std::optional<GmToKsTable> gmToKs;
      if (missing && code == kCodeGm) gmToKs.emplace(conversions.Gm());
      auto fromCode = [&](const std::string& bytes) {
        return gmToKs ? conversions.Pages().ToUtf16(editorview::kKsCodePage, gmToKs->ToKs(bytes))
                      : conversions.CodeToUnicode(bytes, kCodeKs);
      };
      std::unordered_map<char32_t, bool> lacks;
      int batchFirstLine = 0;
      std::string written;
      auto findMissing = [&]() {
        if (fromCode(written) == joined) return;
        int line = batchFirstLine;
        for (size_t i = 0; i < joined.size();) {
          const auto [c, length] = CharacterAt(joined, i);
          if (c == u'\n') {
            ++line;
          } else {
            auto it = lacks.find(c);
            if (it == lacks.end()) {
              const std::u16string one = joined.substr(i, length);
              it = lacks.emplace(c, fromCode(toCode(one)) != one).first;
            }
            if (it->second) {
              if (missing->count++ == 0) {
                missing->first = c;
                missing->firstLine = line;
              }
            }
          }
          i += length;
        }
      };
      auto flush = [&]() {
        written.clear();
        ConvertJoined<std::u16string, std::string>(
            joined, pieces, toCode,
            [&](const char* bytes, size_t n) {
              file.append(bytes, n);
              file += "\r\n";
              if (missing) {
                written.append(bytes, n);
                written.push_back('\n');
              }
            });
        if (missing) findMissing();
        batchFirstLine += static_cast<int>(pieces);
        joined.clear();
        pieces = 0;
      };
      for (int i = 0; i < count; ++i) {
        AppendUtf16(joined, lines.GetLine(i));
        joined.push_back(u'\n');
        ++pieces;
        if (joined.size() >= kBatchSize) flush();
      }
      flush();
      break;
    }
    default:  // kOutUtf8, and any unknown setting
      for (int i = 0; i < count; ++i) {
        AppendUtf8Line(file, lines.GetLine(i));
        file += "\r\n";
      }
      break;
  }
  return file;
}

}  // namespace brisel
