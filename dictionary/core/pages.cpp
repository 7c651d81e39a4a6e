#include "pages.h"

#include <algorithm>
#include <cstdlib>

#include "text_utils.h"

namespace ombrel {

namespace {

constexpr Picture kPictures[kPictureCount] = {
    {"speaker", 501, 12, 12},
    {"irregular_eu", 502, 24, 12},
    {"irregular_leu", 503, 24, 12},
    {"irregular_leo", 504, 24, 12},
    {"irregular_u", 505, 24, 12},
    {"irregular_ha", 506, 24, 12},
    {"irregular_eo", 507, 24, 12},
    {"irregular_b", 508, 24, 12},
    {"irregular_d", 509, 24, 12},
    {"irregular_s", 510, 24, 12},
    {"irregular_h", 511, 24, 12},
    {"rstem", 512, 36, 12},
    {"doe_intransitive", 513, 24, 12},
    {"doe_passive", 514, 36, 12},
    {"ha_intransitive", 515, 24, 12},
    {"ha_transitive", 516, 24, 12},
    {"ha_intransitive_transitive", 517, 36, 12},
    {"ha_adjective", 518, 24, 12},
    {"ha_adjective_intransitive", 519, 36, 12},
    {"noun", 520, 13, 12},
    {"dnoun", 521, 24, 12},
    {"pronoun", 522, 13, 12},
    {"numeral", 523, 13, 12},
    {"intransitive", 524, 13, 12},
    {"transitive", 525, 13, 12},
    {"factitive", 526, 24, 12},
    {"passive", 527, 24, 12},
    {"adjective", 528, 13, 12},
    {"existential", 529, 13, 12},
    {"predicative", 530, 13, 12},
    {"auxverb", 531, 24, 12},
    {"auxadjective", 532, 24, 12},
    {"auxexistential", 533, 24, 12},
    {"adverb", 534, 13, 12},
    {"interjection2", 535, 13, 12},
    {"auxstem", 536, 24, 12},
    {"auxiliary", 537, 13, 12},
    {"ending", 538, 24, 12},
    {"suffix", 539, 24, 12},
    {"prefix", 540, 24, 12},
    {"determiner", 541, 13, 12},
};

std::u16string U16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }
std::u16string Num(long long v) { return U16(std::to_string(v)); }

constexpr std::u16string_view kAnchorStart = u"<A name=\"";
constexpr std::size_t kMaxAnchorUnits = 128;

// Finds the name after "<A name=\"" across chunk boundaries.
class AnchorScanner {
 public:
  void Feed(std::u16string_view text) {
    for (char16_t c : text) {
      if (done_) return;
      if (collecting_) {
        if (c == u'"') {
          done_ = true;
        } else if (name_.size() < kMaxAnchorUnits) {
          name_.push_back(c);
        } else {
          error_ = done_ = true;
        }
        continue;
      }
      matched_ = c == kAnchorStart[matched_] ? matched_ + 1 : (c == kAnchorStart[0] ? 1 : 0);
      if (matched_ == kAnchorStart.size()) collecting_ = true;
    }
  }
  // At the end of the entry: a name that was never closed is an error.
  void End() {
    if (collecting_ && !done_) error_ = done_ = true;
  }
  bool Found() const { return done_ && !error_; }
  bool Error() const { return error_; }
  const std::u16string& Name() const { return name_; }
  bool Done() const { return done_; }

 private:
  std::size_t matched_ = 0;
  bool collecting_ = false;
  bool done_ = false;
  bool error_ = false;
  std::u16string name_;
};

bool IsCjkIdeograph(char16_t c) { return c >= 0x4E01 && c <= 0x9FA5; }

bool IsSegmentSeparator(char16_t c) {
  switch (c) {
    case u'<': case u'>': case u'~': case u'（': case u'）': case u'【': case u'】': case u'-': case u'－':
    case u'‐':
      return true;
    default:
      return false;
  }
}

}  // namespace

const Picture& PictureAt(int n) { return kPictures[std::clamp(n, 0, kPictureCount - 1)]; }

std::u16string HtmlColor(uint32_t colorref) {
  const uint32_t r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
  static constexpr char kHex[] = "0123456789abcdef";
  std::u16string out = u"#";
  for (uint32_t v : {r, g, b}) {
    out.push_back(static_cast<char16_t>(kHex[v >> 4]));
    out.push_back(static_cast<char16_t>(kHex[v & 15]));
  }
  return out;
}

void PageBuffer::Append(std::u16string_view text) {
  if (truncated_) return;
  if (page_.size() + text.size() > kCapacity - kReserve) {
    truncated_ = true;
    return;
  }
  page_.append(text);
}

// ---- speak text ----

void SpeakCollector::Add(std::u16string_view text) {
  const std::size_t room = kMaxUnits - std::min(kMaxUnits, collected_.size());
  collected_.append(text.substr(0, room));
}

void SpeakCollector::Judge() {
  if (!segment_.empty() && !inTag_ && !inSup_ && !inBracket_) {
    const char16_t last = segment_.back();
    if (!IsCjkIdeograph(last) && last != 0x2015) Add(segment_);
  }
  segment_.clear();
}

void SpeakCollector::Feed(std::u16string_view piece, std::u16string_view headword, int direction) {
  for (char16_t c : piece) {
    if (inTag_) {
      if (c == u'>') {
        std::u16string lower = tag_;
        for (char16_t& u : lower)
          if (u >= 'A' && u <= 'Z') u = static_cast<char16_t>(u + 0x20);
        if (lower == u"sup") inSup_ = true;
        if (lower == u"/sup") inSup_ = false;
        inTag_ = false;
        tag_.clear();
      } else if (tag_.size() < 16) {
        tag_.push_back(c);
      }
      continue;
    }
    if (!IsSegmentSeparator(c)) {
      if (segment_.size() < kMaxUnits) segment_.push_back(c);
      continue;
    }
    Judge();
    switch (c) {
      case u'<':
        inTag_ = true;
        tag_.clear();
        break;
      case u'【':
        inBracket_ = true;
        break;
      case u'】':
        inBracket_ = false;
        break;
      case u'~':
        if (direction == 1 && !inSup_ && !inBracket_) {
          std::u16string word;
          for (char16_t h : headword) {
            if (h == u'【') break;
            if (IsCjkIdeograph(h) || (h >= '0' && h <= '9') || h == u'(' || h == u')' || h == u'（' || h == u'）')
              continue;
            word.push_back(h);
          }
          Add(word);
        }
        break;
      default:
        break;
    }
  }
}

std::u16string SpeakCollector::Finish() {
  Judge();
  std::u16string out = std::move(collected_);
  collected_.clear();
  return out;
}

// ---- page head ----

std::u16string BuildPageHead(const PageStyle& style, bool withLineHeight) {
  const std::u16string size = Num(style.sizeTenths / 10);
  const std::u16string line = Num(style.sizeTenths / 10 + 3);
  std::u16string out = u"<HTML>\n<HEAD>\n<STYLE type=\"text/css\">\n<!--\n";
  if (withLineHeight) {
    out += u"\t.jp { font-family: " + style.japaneseFace + u"; font-size: " + size + u"pt; color: " +
           HtmlColor(style.japaneseColor) + u"; line-height: " + line + u"pt;}\n";
    out += u"\t.kr { font-family: " + style.koreanFace + u"; font-size: " + size + u"pt; color: " +
           HtmlColor(style.koreanColor) + u"; line-height: " + line + u"pt }\n-->\n";
  } else {
    out += u"\t.jp { font-family: " + style.japaneseFace + u"; font-size: " + size + u"pt; color: " +
           HtmlColor(style.japaneseColor) + u"; }\n";
    out += u"\t.kr { font-family: " + style.koreanFace + u"; font-size: " + size + u"pt; color: " +
           HtmlColor(style.koreanColor) + u"; }\n-->\n";
  }
  out += u"</STYLE>\n</HEAD>\n<BODY>\n";
  return out;
}

// ---- entry page ----

namespace {

std::u16string SpeakerLink(const std::u16string& text, const PageStyle& style) {
  std::string escaped(text.size() * 6 + 1, '\0');
  codeconv::EscapeForCommandLine(escaped.data(), static_cast<unsigned>(escaped.size()), text.c_str(),
                                 static_cast<int>(text.size()));
  escaped.resize(std::char_traits<char>::length(escaped.c_str()));
  const Picture& p = PictureAt(kSpeakerPicture);
  const int points = style.sizeTenths / 10;
  return u"<A href=\"app:S_" + U16(escaped) + u"\"><IMG src=\"" + style.imageFolder + u"\\" + U16(p.name) +
         u".gif\" width=\"" + Num(p.width * points / 12) + u"\" height=\"" + Num(p.height * points / 12) +
         u"\" border=0></A>";
}

std::u16string PictureTag(int n, const PageStyle& style) {
  const Picture& p = kPictures[n];
  return u"<IMG src=\"" + style.imageFolder + u"/" + U16(p.name) + u".gif\" width=\"" +
         Num(p.width * style.sizeTenths / 120) + u"\" height=\"" + Num(p.height * style.sizeTenths / 120) +
         u"\" border=0>";
}

}  // namespace

bool RenderEntryPage(DictionaryFileSet& files, EntryRef& row, const PageStyle& style, int32_t jumpTarget,
                     EntryPage& out) {
  out = EntryPage{};
  if (row.textOffset == -1 && !LoadEntryByIdIndex(files, row)) return false;
  // Back to the headword's first entry (record 0 never continues anything).
  while ((row.flags & kFlagContinues) != 0) {
    if (!PrevRecord(files, row)) {
      row.flags &= ~kFlagContinues;
      break;
    }
  }
  PageBuffer page;
  page.Append(BuildPageHead(style, true));
  page.Append(u"<span class='jp'>");
  page.Append(u"<B>");
  bool boldOpen = true;
  bool koreanRun = false;
  AnchorScanner anchor;
  SpeakCollector speak;
  const int direction = row.Direction();

  EntryRef entry = row;
  entry.readPosition = 0;
  std::u16string chunkBuffer(1023, u'\0');
  for (;;) {
    std::u16string headword;
    ReadEntryHeadword(files, entry, headword);
    headword.erase(std::remove_if(headword.begin(), headword.end(), [](char16_t c) { return c == u'*' || c == u'-'; }),
                   headword.end());
    const bool target = entry.idIndex == jumpTarget && !anchor.Done();
    int n;
    while ((n = ReadEntryText(files, entry, chunkBuffer.data(), 1023)) > 0) {
      const std::u16string_view chunk(chunkBuffer.data(), static_cast<std::size_t>(n));
      if (target) anchor.Feed(chunk);
      std::size_t start = 0;
      auto flush = [&](std::size_t end) {
        for (std::size_t p = start; p < end; p += 256) {
          const std::u16string_view piece = chunk.substr(p, std::min<std::size_t>(256, end - p));
          page.Append(piece);
          if (koreanRun) speak.Feed(piece, headword, direction);
        }
      };
      for (std::size_t i = 0; i < chunk.size(); ++i) {
        const char16_t c = chunk[i];
        if (c < kKoreanRunBegin || c > kMarkupLast) continue;
        flush(i);
        start = i + 1;
        if (c == kKoreanRunBegin) {
          if (boldOpen) page.Append(u"</B>");
          boldOpen = false;
          page.Append(u"</span>");
          page.Append(u"<span class='kr'>");
          koreanRun = true;
          speak.Begin();
        } else if (c == kKoreanRunEnd) {
          const std::u16string text = koreanRun ? speak.Finish() : std::u16string();
          if (!text.empty()) page.Append(SpeakerLink(text, style));
          koreanRun = false;
          page.Append(u"</span>");
          page.Append(u"<span class='jp'>");
        } else if (c >= kPictureBase && c - kPictureBase < kPictureCount) {
          page.Append(PictureTag(c - kPictureBase, style));
        }
      }
      flush(chunk.size());
    }
    if (target) anchor.End();
    out.lastIdIndex = entry.idIndex;
    if (!NextRecord(files, entry)) break;
    page.Append(u"<BR>");
    if ((entry.flags & kFlagContinues) == 0) break;
  }
  page.AppendClosing(u"</span>");
  page.AppendClosing(u"</BODY>\n</HTML>\n");
  out.truncated = page.Truncated();
  out.anchor = anchor.Found() ? anchor.Name() : std::u16string();
  out.anchorError = anchor.Error();
  out.html = page.Take();
  return true;
}

// ---- example pages ----

std::vector<std::u16string> SplitQueryWords(std::u16string_view query) {
  std::vector<std::u16string> words;
  std::u16string word;
  auto isWordUnit = [](char16_t c) {
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x3040 && c <= 0x30FF) ||
           (c >= 0xAC00 && c <= 0xD7FF) || (c >= 0x1100 && c <= 0x1112) || (c >= 0x3130 && c <= 0x3163);
  };
  for (std::size_t i = 0; i <= query.size(); ++i) {
    if (i < query.size() && isWordUnit(query[i])) {
      word.push_back(query[i]);
      continue;
    }
    if (!word.empty() && static_cast<int>(words.size()) < kMaxQueryWords) words.push_back(word);
    word.clear();
  }
  return words;
}

std::u16string GetTabField(std::u16string_view line, int n) {
  const std::size_t end = line.find_first_of(u"\n\r");
  if (end != std::u16string_view::npos) line = line.substr(0, end);
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const std::size_t tab = line.find(u'\t', start);
    if (tab == std::u16string_view::npos) return {};
    start = tab + 1;
  }
  const std::size_t tab = line.find(u'\t', start);
  return std::u16string(line.substr(start, tab == std::u16string_view::npos ? std::u16string_view::npos : tab - start));
}

bool ExampleFieldMatches(std::u16string_view field, const std::vector<std::u16string>& words) {
  std::u16string text;
  text.reserve(field.size());
  bool tag = false, kakko = false, equals = false;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char16_t c = field[i];
    if (tag) {
      if (c == u'>') tag = false;
      text.push_back(0);
      continue;
    }
    if (kakko) {
      if (c == u'〕') kakko = false;
      text.push_back(0);
      continue;
    }
    if (equals) {
      if (c == 0xFF09) equals = false;
      text.push_back(0);
      continue;
    }
    if (c == u'<') {
      tag = true;
    } else if (c == u'〔') {
      kakko = true;
    } else if (c == 0xFF08 && i + 1 < field.size() && field[i + 1] == 0xFF1D) {
      equals = true;
    } else {
      text.push_back(FoldKatakanaUnit(c));
      continue;
    }
    text.push_back(0);
  }
  for (std::u16string word : words) {
    FoldKatakana(word);
    if (word.empty() || text.find(word) == std::u16string::npos) return false;
  }
  return true;
}

namespace {

std::size_t ReadUnits(std::FILE* file, int64_t offset, std::u16string& units, std::size_t count) {
  std::vector<uint8_t> raw(count * 2);
  const std::size_t got = ReadScrambledText(file, offset, raw.data(), 2, count);
  units.resize(got);
  for (std::size_t i = 0; i < got; ++i) units[i] = static_cast<char16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
  return got;
}

}  // namespace

int64_t FindNextExample(std::FILE* file, int field, int64_t offset, const std::vector<std::u16string>& words,
                        int64_t* nextOffset) {
  std::u16string block;
  bool skippingLongLine = false;
  while (file != nullptr) {
    const std::size_t got = ReadUnits(file, offset, block, kExampleBlockUnits);
    if (got == 0) break;
    const bool full = got == static_cast<std::size_t>(kExampleBlockUnits);
    std::size_t start = 0;
    while (start < got) {
      std::size_t lf = block.find(u'\n', start);
      if (lf == std::u16string::npos) {
        if (full) break;  // the rest of the line lies in the next block
        lf = got;          // the last line of the file, without its LF
      }
      const int64_t lineOffset = offset + static_cast<int64_t>(start) * 2;
      const int64_t after = offset + static_cast<int64_t>(std::min(lf + 1, got)) * 2;
      if (skippingLongLine) {
        skippingLongLine = false;
      } else if (ExampleFieldMatches(GetTabField(std::u16string_view(block).substr(start, lf - start), field), words)) {
        if (nextOffset != nullptr) *nextOffset = after;
        return lineOffset;
      }
      start = lf + 1;
    }
    if (start >= got) {
      if (!full) break;
      offset += static_cast<int64_t>(got) * 2;
      continue;
    }
    if (start == 0) {
      // A line longer than a block: passed over up to its end.
      skippingLongLine = true;
      offset += static_cast<int64_t>(got) * 2;
      continue;
    }
    offset += static_cast<int64_t>(start) * 2;
  }
  if (nextOffset != nullptr) *nextOffset = -1;
  return -1;
}

std::u16string ReadExampleLine(std::FILE* file, int64_t offset) {
  std::u16string units;
  ReadUnits(file, offset, units, 2048);
  const std::size_t lf = units.find(u'\n');
  if (lf != std::u16string::npos) units.resize(lf);
  return units;
}

namespace {

void AppendHit(PageBuffer& page, std::FILE* file, int64_t offset) {
  const std::u16string line = ReadExampleLine(file, offset);
  page.Append(u"<span class='jp'>");
  page.Append(GetTabField(line, 0));
  page.Append(u"\uFF5C</span><span class='kr'>");
  page.Append(GetTabField(line, 1));
  page.Append(u"</span><BR>\n");
}

}  // namespace

std::u16string RenderExampleSearch(std::FILE* file, int direction, std::u16string_view query, const PageStyle& style,
                                   std::vector<int64_t>& hits) {
  hits.clear();
  PageBuffer page;
  page.Append(BuildPageHead(style, false));
  const std::vector<std::u16string> words = SplitQueryWords(query.substr(0, std::min<std::size_t>(query.size(), 256)));
  if (words.empty()) {
    page.Append(u"検索対象を入力してください。<BR>\n");
    page.AppendClosing(u"</BODY>\n</HTML>\n");
    hits.push_back(kHitsEnd);
    return page.Take();
  }
  int64_t offset = 0;
  bool tooMany = false;
  const int field = direction == 1 ? 1 : 0;
  while (offset >= 0) {
    int64_t next = -1;
    const int64_t hit = FindNextExample(file, field, offset, words, &next);
    if (hit < 0) break;
    if (static_cast<int>(hits.size()) == kMaxExampleHits) {
      tooMany = true;
      break;
    }
    hits.push_back(hit);
    AppendHit(page, file, hit);
    offset = next;
  }
  if (tooMany) page.Append(u"<FONT color=red>検索結果が多すぎます。一部省略されました。</FONT>");
  if (hits.empty()) page.Append(u"該当する項目が見つかりませんでした。<BR>\n");
  page.AppendClosing(u"</BODY>\n</HTML>\n");
  hits.push_back(tooMany ? kHitsTooMany : kHitsEnd);
  return page.Take();
}

std::u16string RenderExampleHits(std::FILE* file, const std::vector<int64_t>& hits, const PageStyle& style) {
  PageBuffer page;
  page.Append(BuildPageHead(style, false));
  bool any = false;
  for (int64_t h : hits) {
    if (h == kHitsTooMany) page.Append(u"<FONT color=red>検索結果が多すぎます。一部省略されました。</FONT>");
    if (h < 0) break;
    AppendHit(page, file, h);
    any = true;
  }
  if (!any) page.Append(u"該当する項目が見つかりませんでした。<BR>\n");
  page.AppendClosing(u"</BODY>\n</HTML>\n");
  return page.Take();
}

AppUrl ParseAppUrl(std::string_view url) {
  AppUrl out;
  if (url.size() < 4) return out;
  for (std::size_t i = 0; i < 4; ++i) {
    char c = url[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    if (c != "app:"[i]) return out;
  }
  const std::string_view rest = url.substr(4);
  if (rest.substr(0, 2) == "S_") {
    out.kind = AppUrl::kSpeak;
    out.text.assign(rest.substr(2));
  } else if (rest.substr(0, 2) == "F_") {
    out.kind = AppUrl::kHelp;
    out.number = std::atoi(std::string(rest.substr(2)).c_str());
  } else if (!rest.empty() && rest[0] >= '0' && rest[0] <= '9') {
    out.kind = AppUrl::kJump;
    out.number = std::atoi(std::string(rest.substr(0, 7)).c_str());
  }
  return out;
}

}  // namespace ombrel
