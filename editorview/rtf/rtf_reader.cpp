// The reader walks the text once, token by token, with its own stack of
// group states (no recursion), so that neither deep nesting nor a cut-off
// text can take it outside the text or the stack.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "ks_gm.h"
#include "rtf_clip.h"

namespace editorview {

namespace {

constexpr std::string_view kRtfStart = "{\\rtf";

// Groups whose first word is one of these are skipped with their text.
constexpr std::array<std::string_view, 13> kSkippedGroups = {
    "bkmkstart", "bkmkend", "pntxta", "pntxtb", "pict", "object", "do",
    "shp", "xe", "stylesheet", "themedata", "colorschememapping", "datastore"};
constexpr std::string_view kSkippedPrefix = "lsdlocked";
// Words whose argument text is dropped.
constexpr std::array<std::string_view, 3> kDroppedArguments = {"panose", "atnid", "atnauthor"};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLead(char c) { return codeconv::IsSystemLeadByte(static_cast<uint8_t>(c)); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Escapes that stand inside text and start no token.
bool IsTextEscape(char next) { return next == '\'' || next == '\\' || next == '{' || next == '}'; }

// Index of the next token start at or after from: "{", "}", ";" or a
// backslash that opens no text escape. A double-byte character is passed
// whole, so that its trail byte never starts a token.
size_t NextTokenStart(std::string_view text, size_t from) {
  size_t i = from;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '{' || c == '}' || c == ';') return i;
    if (c == '\\') {
      if (i + 1 < text.size() && IsTextEscape(text[i + 1])) {
        i += 2;
        continue;
      }
      return i;
    }
    i += IsLead(c) && i + 1 < text.size() ? 2 : 1;
  }
  return text.size();
}

// Text of a token with its escapes undone; CR and LF, which rich text does
// not show, are removed. A cut-off "\'" escape is dropped.
std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      ++i;
    } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\'') {
      const int high = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
      const int low = i + 3 < text.size() ? HexValue(text[i + 3]) : -1;
      if (high < 0 || low < 0) {
        i += 2;
        continue;
      }
      out.push_back(static_cast<char>(high << 4 | low));
      i += 4;
    } else if (c == '\\' && i + 1 < text.size()) {
      out.push_back(text[i + 1]);
      i += 2;
    } else if (c == '\\') {
      ++i;
    } else if (IsLead(c) && i + 1 < text.size()) {
      out.append(text.substr(i, 2));
      i += 2;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

// A control word: its letters, its number (may be empty) and what follows
// its delimiter within the token.
struct ControlWord {
  std::string_view name;
  std::string_view number;
  std::string_view rest;
};

ControlWord SplitControlWord(std::string_view token) {
  ControlWord w;
  size_t i = 1;  // behind the backslash
  if (i < token.size() && !IsLetter(token[i])) {
    w.name = token.substr(i, 1);  // a control symbol such as "\*"
    w.rest = token.substr(std::min(i + 1, token.size()));
    return w;
  }
  const size_t nameStart = i;
  while (i < token.size() && IsLetter(token[i])) ++i;
  w.name = token.substr(nameStart, i - nameStart);
  const size_t numberStart = i;
  if (i + 1 < token.size() && token[i] == '-' && IsDigit(token[i + 1])) ++i;
  while (i < token.size() && IsDigit(token[i])) ++i;
  w.number = token.substr(numberStart, i - numberStart);
  if (i < token.size() && token[i] == ' ') ++i;  // the delimiting blank belongs to the word
  w.rest = token.substr(i);
  return w;
}

bool IsSkippedGroupWord(std::string_view name) {
  return std::find(kSkippedGroups.begin(), kSkippedGroups.end(), name) != kSkippedGroups.end() ||
         name.substr(0, kSkippedPrefix.size()) == kSkippedPrefix;
}

// Text that a word stands for in the body.
std::string_view WordText(std::string_view name) {
  if (name == "par" || name == "page" || name == "sect") return "\r\n";
  if (name == "tab") return "\t";
  if (name == "bullet") return "o";
  if (name == "endash" || name == "emdash") return "-";
  if (name == "lquote" || name == "rquote") return "'";
  if (name == "ldblquote" || name == "rdblquote") return "\"";
  return {};
}

// What a group saves on entry and gets back on exit.
struct GroupState {
  std::string font;
  bool fontTable = false;
  bool body = false;
  bool skip = false;
  bool firstWord = true;  // no word seen in this group yet ("\*" does not count)
  std::string pending;    // font table: the text that the next ";" makes a face
};

class Parser {
 public:
  Parser(std::vector<RtfReader::Font>& fonts, std::vector<RtfReader::Run>& runs) : fonts_(fonts), runs_(runs) {}

  bool Run(std::string_view text) {
    std::vector<GroupState> groups(1);
    groups.back().font = defaultFont_;
    size_t pos = 1;  // behind the opening "{"
    while (pos < text.size()) {
      const size_t end = NextTokenStart(text, pos + 1);
      const std::string_view token = text.substr(pos, end - pos);
      pos = end;
      std::string_view rest;
      switch (token[0]) {
        case '{': {
          if (static_cast<int>(groups.size()) >= RtfReader::kMaxDepth) return false;
          GroupState inner = groups.back();
          inner.firstWord = true;
          inner.pending.clear();  // a nested group (an alternative name) names no face
          groups.push_back(std::move(inner));
          rest = token.substr(1);
          break;
        }
        case '}':
          if (groups.size() == 1) return true;  // the end of the text
          groups.pop_back();
          rest = token.substr(1);
          break;
        case ';':
          if (groups.back().fontTable && !groups.back().skip) {
            if (!fonts_.empty()) fonts_.back().face = groups.back().pending;
            groups.back().pending.clear();
            rest = token.substr(1);
          } else {
            rest = token;  // an ordinary character of the text
          }
          break;
        default:
          rest = Word(groups.back(), SplitControlWord(token));
          break;
      }
      Text(groups.back(), rest);
    }
    // The text ended inside a nested group.
    return groups.size() == 1;
  }

 private:
  // Carries out a control word; returns the text behind it.
  std::string_view Word(GroupState& g, const ControlWord& w) {
    if (w.name == "*") return w.rest;
    if (g.firstWord && IsSkippedGroupWord(w.name)) g.skip = true;
    g.firstWord = false;
    if (g.skip) return {};
    const bool bare = !w.number.empty() && w.number[0] != '-';
    if (w.name == "deff" && bare) {
      defaultFont_ = std::string(w.number);
    } else if (w.name == "fonttbl") {
      g.fontTable = true;
    } else if (w.name == "f" && bare) {
      if (g.fontTable) {
        fonts_.push_back({std::string(w.number)});
      } else {
        g.font = std::string(w.number);
        g.body = true;
      }
    } else if (w.name == "fcharset" && bare) {
      if (!fonts_.empty()) fonts_.back().charset = std::string(w.number);
    } else if (w.name == "pard") {
      g.body = true;
    } else if (w.name == "plain") {
      g.font = defaultFont_;
    } else if (std::find(kDroppedArguments.begin(), kDroppedArguments.end(), w.name) != kDroppedArguments.end()) {
      return {};
    } else if (g.body && !g.fontTable) {
      const std::string_view added = WordText(w.name);
      if (!added.empty()) AddRunText(g.font, std::string(added));
    }
    return w.rest;
  }

  void Text(GroupState& g, std::string_view raw) {
    if (raw.empty() || g.skip) return;
    if (g.fontTable) {
      std::string text = Unescape(raw);
      if (!text.empty()) g.pending = std::move(text);
    } else if (g.body) {
      AddRunText(g.font, Unescape(raw));
    }
  }

  void AddRunText(const std::string& font, std::string text) {
    if (text.empty()) return;
    if (!runs_.empty() && runs_.back().font == font) {
      runs_.back().text += text;
    } else {
      runs_.push_back({font, std::move(text)});
    }
  }

  std::vector<RtfReader::Font>& fonts_;
  std::vector<RtfReader::Run>& runs_;
  std::string defaultFont_ = "0";
};

}  // namespace

void RtfReader::ResetRtfReader() {
  fonts_.clear();
  runs_.clear();
}

int RtfReader::Parse(std::string_view text) {
  ResetRtfReader();
  if (text.substr(0, kRtfStart.size()) != kRtfStart) return 0;
  if (!Parser(fonts_, runs_).Run(text)) {
    ResetRtfReader();
    return 0;
  }
  return 1;
}

const RtfReader::Font* RtfReader::FindFont(std::string_view number) const {
  for (const Font& f : fonts_) {
    if (f.number == number) return &f;
  }
  return nullptr;
}

}  // namespace editorview
