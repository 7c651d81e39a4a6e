// The HTML pages of the browser panes: entry pages (every entry of a
// headword, speaker links after Korean runs, inline pictures) and example
// pages (the example sentences holding every word of a query).
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "data_files.h"

namespace ombrel {

// Entry markup in the Private Use Area.
inline constexpr char16_t kKoreanRunBegin = 0xE100;
inline constexpr char16_t kKoreanRunEnd = 0xE101;
inline constexpr char16_t kPictureBase = 0xE200;
inline constexpr char16_t kMarkupLast = 0xF000;

struct Picture {
  const char* name;
  int id;
  int width;
  int height;
};
// The 41 pictures (sizes in pixels at 12 points).
inline constexpr int kPictureCount = 41;
const Picture& PictureAt(int n);

inline constexpr int kSpeakerPicture = 0;

// What the pages are drawn with.
struct PageStyle {
  std::u16string japaneseFace = u"ＭＳ 明朝";
  std::u16string koreanFace = u"KS Mincho";
  int sizeTenths = 160;            // font size in tenths of a point
  uint32_t japaneseColor = 0;      // COLORREF (0x00BBGGRR)
  uint32_t koreanColor = 0xFF0000;
  std::u16string imageFolder;      // data root + "html\Images"
};

// "#RRGGBB" of a COLORREF, red first.
std::u16string HtmlColor(uint32_t colorref);

// Collects a page with a bound on its size: once the bound is near, further
// text is dropped (and Truncated() says so), while the closing text is
// always written.
class PageBuffer {
 public:
  static constexpr std::size_t kCapacity = 1u << 18;  // units
  static constexpr std::size_t kReserve = 256;         // kept for the closing tags
  void Clear() {
    page_.clear();
    truncated_ = false;
  }
  void Append(std::u16string_view text);
  void AppendClosing(std::u16string_view text) { page_.append(text); }
  const std::u16string& Text() const { return page_; }
  std::u16string Take() { return std::move(page_); }
  bool Truncated() const { return truncated_; }

 private:
  std::u16string page_;
  bool truncated_ = false;
};

// The speakable part of a Korean run, fed in pieces (its state runs from
// piece to piece within the run): segments between "<>~（）【】-－‐" that lie
// outside tags, "<sup>" ... "</sup>" and 【 ... 】 and do not end with a CJK
// ideograph or U+2015; in direction 1 '~' stands for the headword.
class SpeakCollector {
 public:
  static constexpr std::size_t kMaxUnits = 1024;
  void Begin() { *this = SpeakCollector(); }
  void Feed(std::u16string_view piece, std::u16string_view headword, int direction);
  // Ends the run: the last segment is judged; returns the text and empties it.
  std::u16string Finish();

 private:
  void Judge();
  void Add(std::u16string_view text);
  std::u16string collected_;
  std::u16string segment_;
  std::u16string tag_;
  bool inTag_ = false;
  bool inSup_ = false;
  bool inBracket_ = false;
};

// Head of every page; withLineHeight for entry pages.
std::u16string BuildPageHead(const PageStyle& style, bool withLineHeight);

struct EntryPage {
  std::u16string html;
  std::u16string anchor;       // the anchor of the jump target, when found
  bool anchorError = false;    // an anchor name without its closing quote
  int32_t lastIdIndex = -1;    // the id index of the last entry shown
  bool truncated = false;
};

// The entry page of a row: every entry of its headword, whichever entry the
// row holds. The row is completed and moved to the headword's first entry.
// jumpTarget: the id index whose anchor the page should scroll to, or -1.
bool RenderEntryPage(DictionaryFileSet& files, EntryRef& row, const PageStyle& style, int32_t jumpTarget,
                     EntryPage& out);

// ---- example pages ----
inline constexpr int kMaxQueryWords = 15;
inline constexpr int kMaxExampleHits = 255;
inline constexpr int kExampleBlockUnits = 8191;
inline constexpr int32_t kHitsEnd = -1;
inline constexpr int32_t kHitsTooMany = -2;

// Words of a query: runs of CJK ideographs, kana, Hangul syllables and jamo.
std::vector<std::u16string> SplitQueryWords(std::u16string_view query);
// Field n of a TAB-separated line (cut at its end).
std::u16string GetTabField(std::u16string_view line, int n);
// True when the field holds every word outside '<'...'>', 〔...〕 and
// （＝ ... ）, katakana and hiragana counting as equal.
bool ExampleFieldMatches(std::u16string_view field, const std::vector<std::u16string>& words);

// Reads examples.dat in blocks; the byte offset of the next line at or
// after offset whose field holds every word, or -1. A line longer than a
// block is passed over.
int64_t FindNextExample(std::FILE* file, int field, int64_t offset, const std::vector<std::u16string>& words,
                        int64_t* nextOffset);
// The line at a byte offset (at most 4096 bytes).
std::u16string ReadExampleLine(std::FILE* file, int64_t offset);

// A new example search: the page and the hit offsets (ended by kHitsEnd or
// kHitsTooMany).
std::u16string RenderExampleSearch(std::FILE* file, int direction, std::u16string_view query,
                                   const PageStyle& style, std::vector<int64_t>& hits);
// The same page again from remembered hits.
std::u16string RenderExampleHits(std::FILE* file, const std::vector<int64_t>& hits, const PageStyle& style);

// ---- in-page links ----
struct AppUrl {
  enum Kind { kNone, kSpeak, kHelp, kJump } kind = kNone;
  std::string text;     // kSpeak: the escaped text
  int number = 0;       // kHelp: topic; kJump: idlist index
};
// "app:S_..." speak, "app:F_n" help topic, "app:" + digits an entry; the
// prefix is compared without regard to case. kNone for other URLs.
AppUrl ParseAppUrl(std::string_view url);

}  // namespace ombrel
