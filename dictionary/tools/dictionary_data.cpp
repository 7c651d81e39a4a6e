#include "dictionary_data.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "code_page.h"
#include "data_files.h"
#include "key_compare.h"
#include "pages.h"

namespace ombrel::data {

namespace {

const codeconv::CodePageConverter& Pages() { return codeconv::PlatformCodePages(); }

bool InCodePage(unsigned cp, char16_t c) {
  const std::u16string u(1, c);
  const std::string b = Pages().FromUtf16(cp, u);
  return !b.empty() && Pages().ToUtf16(cp, b) == u;
}

char16_t ParseCode(const std::string& s) {
  if (s.rfind("U+", 0) != 0) return 0;
  const unsigned long v = std::stoul(s.substr(2), nullptr, 16);
  return v <= 0xFFFF ? static_cast<char16_t>(v) : 0;
}

std::u16string Seven(int32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%07d", v);
  return std::u16string(text, text + 7);
}

void PutLe32(std::string& out, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(u >> (8 * i)));
}

void PutUtf16(std::string& out, std::u16string_view s) {
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
}

void WriteFile(const std::string& path, std::string bytes, bool scrambled, WrittenFiles& written,
               const std::string& name) {
  if (scrambled) ScrambleBytes(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), 0);
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
  written.bytes[name] = bytes.size();
}

}  // namespace

std::u16string FromUtf8(const std::string& s) { return Pages().ToUtf16(65001, s); }
std::string ToUtf8(const std::u16string& s) { return Pages().FromUtf16(65001, s); }
bool IsHangulSyllable(char16_t c) { return c >= 0xAC00 && c <= 0xD7A3; }
bool IsHanja(char16_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x3400 && c <= 0x4DBF); }

// ---- writing a direction ----

WrittenFiles WriteDirection(const std::vector<Headword>& headwords, int direction, const std::string& folder) {
  struct KeyRec {
    std::u16string key, display;
    std::size_t headword;
    bool primary;
  };
  std::vector<KeyRec> keys;
  for (std::size_t h = 0; h < headwords.size(); ++h) {
    keys.push_back({headwords[h].key.substr(0, kMaxKeyUnits), headwords[h].display, h, true});
    for (const auto& [k, d] : headwords[h].extraKeys) keys.push_back({k.substr(0, kMaxKeyUnits), d, h, false});
  }
  const int32_t flags = direction == 1 ? kFlagKorean : 0;
  std::stable_sort(keys.begin(), keys.end(),
                   [flags](const KeyRec& a, const KeyRec& b) { return CompareKeys(flags, a.key, b.key) < 0; });

  // Entries in the order of their headwords' primary keys.
  std::vector<int32_t> primaryIndex(headwords.size(), -1);
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (!keys[i].primary) continue;
    primaryIndex[keys[i].headword] = static_cast<int32_t>(i);
    order.push_back(keys[i].headword);
  }
  std::vector<int32_t> firstId(headwords.size(), -1);
  std::map<std::pair<std::u16string, std::u16string>, int32_t> tagged;
  std::map<std::u16string, int32_t> byKey;
  int32_t id = 0;
  for (std::size_t h : order) {
    firstId[h] = id;
    byKey.emplace(headwords[h].key, id);
    for (const EntryText& e : headwords[h].entries) tagged.emplace(std::make_pair(headwords[h].key, e.tag), id++);
  }

  WrittenFiles written;
  std::string keylist, keydata, worddata, idlist, dicdata;
  for (const KeyRec& k : keys) {
    PutLe32(keylist, static_cast<int32_t>(keydata.size()));
    PutLe32(keylist, static_cast<int32_t>(worddata.size()));
    PutLe32(keylist, firstId[k.headword]);
    PutUtf16(keydata, k.key);
    PutUtf16(worddata, k.display);
  }
  PutLe32(keylist, static_cast<int32_t>(keydata.size()));
  PutLe32(keylist, static_cast<int32_t>(worddata.size()));
  PutLe32(keylist, id);

  for (std::size_t h : order) {
    bool first = true;
    for (const EntryText& e : headwords[h].entries) {
      const int32_t self = static_cast<int32_t>(idlist.size() / kIdListRecordSize);
      PutLe32(idlist, primaryIndex[h]);
      const int32_t offset = static_cast<int32_t>(dicdata.size());
      PutLe32(idlist, first ? offset : static_cast<int32_t>(static_cast<uint32_t>(offset) | kContinuesBit));
      first = false;
      // Resolve the placeholders.
      std::u16string text;
      const std::u16string& t = e.text;
      for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == kSelfId) {
          text += Seven(self);
        } else if (t[i] == kLinkOpen) {
          const std::size_t sep = t.find(kLinkSep, i);
          const std::size_t close = t.find(kLinkClose, i);
          const std::u16string key = t.substr(i + 1, sep - i - 1);
          const std::u16string tag = t.substr(sep + 1, close - sep - 1);
          const auto it = tagged.find({key, tag});
          const auto any = byKey.find(key);
          const int32_t target = it != tagged.end() ? it->second : (any != byKey.end() ? any->second : -1);
          // The link text follows up to "</A>" in the source; a link without target keeps only its text.
          if (target >= 0) {
            text += u"<A href=\"app:" + Seven(target) + u"\">";
          }
          const std::size_t end = t.find(u"</A>", close);
          text += t.substr(close + 1, end - close - 1);
          if (target >= 0) text += u"</A>";
          i = end + 3;
        } else {
          text.push_back(t[i]);
        }
      }
      PutUtf16(dicdata, text);
    }
  }
  PutLe32(idlist, 0);
  PutLe32(idlist, static_cast<int32_t>(dicdata.size()));

  // Reversed keys, sorted by their own comparator.
  struct RevRec {
    std::u16string key;
    int32_t forward;
  };
  std::vector<RevRec> rev;
  for (std::size_t i = 0; i < keys.size(); ++i)
    rev.push_back({std::u16string(keys[i].key.rbegin(), keys[i].key.rend()), static_cast<int32_t>(i)});
  const int32_t revFlags = flags | kFlagReversed;
  std::stable_sort(rev.begin(), rev.end(),
                   [revFlags](const RevRec& a, const RevRec& b) { return CompareKeys(revFlags, a.key, b.key) < 0; });
  std::string keylistRev, keydataRev;
  for (const RevRec& r : rev) {
    PutLe32(keylistRev, static_cast<int32_t>(keydataRev.size()));
    PutLe32(keylistRev, r.forward);
    PutLe32(keylistRev, 0);
    PutUtf16(keydataRev, r.key);
  }
  PutLe32(keylistRev, static_cast<int32_t>(keydataRev.size()));
  PutLe32(keylistRev, static_cast<int32_t>(keys.size()));
  PutLe32(keylistRev, 0);

  const std::string sep = "/";
  WriteFile(folder + sep + "keylist.dat", keylist, false, written, "keylist.dat");
  WriteFile(folder + sep + "keydata.dat", keydata, true, written, "keydata.dat");
  WriteFile(folder + sep + "keylist_rev.dat", keylistRev, false, written, "keylist_rev.dat");
  WriteFile(folder + sep + "keydata_rev.dat", keydataRev, true, written, "keydata_rev.dat");
  WriteFile(folder + sep + "worddata.dat", worddata, true, written, "worddata.dat");
  WriteFile(folder + sep + "idlist.dat", idlist, false, written, "idlist.dat");
  WriteFile(folder + sep + "dicdata.dat", dicdata, true, written, "dicdata.dat");
  written.keys = keys.size();
  written.entries = static_cast<std::size_t>(id);
  return written;
}

// ---- sources ----

std::vector<char16_t> KanjiForms::FormsOf(char16_t c) const {
  const auto it = forms.find(c);
  if (it != forms.end()) return it->second;
  return {c};
}

KanjiForms ReadKanjiForms(std::istream& variants, std::istream& otherMappings) {
  std::set<char16_t> joyo;
  std::map<char16_t, char16_t> modern;
  std::string line;
  while (std::getline(otherMappings, line)) {
    std::istringstream ss(line);
    std::string code, field, value;
    if (!(ss >> code >> field >> value)) continue;
    const char16_t c = ParseCode(code);
    if (c == 0) continue;
    if (field == "kJoyoKanji") joyo.insert(c);
    const std::size_t plus = value.find(":U+");
    if (field == "kJinmeiyoKanji" && plus != std::string::npos) {
      if (const char16_t to = ParseCode(value.substr(plus + 1))) modern[c] = to;
    }
  }
  std::map<char16_t, std::vector<char16_t>> variantsOf;
  static const char* const kFields[] = {"kZVariant", "kSemanticVariant", "kSpecializedSemanticVariant",
                                        "kSimplifiedVariant", "kTraditionalVariant"};
  while (std::getline(variants, line)) {
    std::istringstream ss(line);
    std::string code, field;
    if (!(ss >> code >> field)) continue;
    if (std::find(std::begin(kFields), std::end(kFields), field) == std::end(kFields)) continue;
    const char16_t c = ParseCode(code);
    if (c == 0) continue;
    for (std::string v; ss >> v;) {
      if (const char16_t to = ParseCode(v.substr(0, v.find('<')))) variantsOf[c].push_back(to);
    }
  }
  KanjiForms out;
  std::set<char16_t> all;
  for (const auto& [c, v] : variantsOf) all.insert(c);
  for (const auto& [c, m] : modern) all.insert(c);
  for (char16_t c : all) {
    std::vector<char16_t> list;
    auto add = [&](char16_t f) {
      if (std::find(list.begin(), list.end(), f) == list.end() && InCodePage(932, f)) list.push_back(f);
    };
    if (const auto m = modern.find(c); m != modern.end()) add(m->second);
    if (joyo.count(c)) add(c);
    const auto v = variantsOf.find(c);
    if (v != variantsOf.end()) {
      for (char16_t f : v->second)
        if (joyo.count(f)) add(f);
    }
    add(c);
    if (v != variantsOf.end()) {
      for (char16_t f : v->second) add(f);
    }
    if (list.size() > 4) list.resize(4);
    out.forms[c] = list;
  }
  return out;
}

std::unordered_map<std::u16string, EdictWord> ReadEdict(std::istream& utf8) {
  std::unordered_map<std::u16string, EdictWord> out;
  std::string line;
  bool firstLine = true;
  while (std::getline(utf8, line)) {
    if (firstLine) {  // the file's own description line
      firstLine = false;
      continue;
    }
    const std::size_t slash = line.find(" /");
    if (slash == std::string::npos) continue;
    std::string head = line.substr(0, slash);
    std::string reading;
    const std::size_t bracket = head.find(" [");
    if (bracket != std::string::npos) {
      const std::size_t close = head.find(']', bracket);
      if (close == std::string::npos) continue;
      reading = head.substr(bracket + 2, close - bracket - 2);
      head = head.substr(0, bracket);
    }
    const std::u16string word = FromUtf8(head);
    if (word.empty()) continue;
    EdictWord& w = out[word];
    w.word = word;
    if (!reading.empty()) {
      const std::u16string r = FromUtf8(reading);
      if (std::find(w.readings.begin(), w.readings.end(), r) == w.readings.end()) w.readings.push_back(r);
    }
    // The glosses: "(n,vs) ..." tags at the start of a gloss, "(P)" a common word.
    std::size_t p = slash + 2;
    while (p < line.size()) {
      const std::size_t end = line.find('/', p);
      const std::string gloss = line.substr(p, end == std::string::npos ? std::string::npos : end - p);
      if (gloss == "(P)") w.common = true;
      std::size_t q = 0;
      while (q < gloss.size() && gloss[q] == '(') {
        const std::size_t c = gloss.find(')', q);
        if (c == std::string::npos) break;
        std::stringstream tags(gloss.substr(q + 1, c - q - 1));
        for (std::string t; std::getline(tags, t, ',');) w.tags.insert(t);
        q = c + 1;
        while (q < gloss.size() && gloss[q] == ' ') ++q;
      }
      if (end == std::string::npos) break;
      p = end + 1;
    }
  }
  return out;
}

std::vector<HanjaLine> ReadHanjaList(std::istream& in) {
  std::vector<HanjaLine> out;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t a = line.find(':');
    const std::size_t b = a == std::string::npos ? a : line.find(':', a + 1);
    if (b == std::string::npos) continue;
    HanjaLine h{FromUtf8(line.substr(0, a)), FromUtf8(line.substr(a + 1, b - a - 1)), FromUtf8(line.substr(b + 1))};
    if (h.hangul.empty() || h.hanja.empty()) continue;
    out.push_back(std::move(h));
  }
  return out;
}

std::vector<WordPair> PairWords(const std::vector<HanjaLine>& hanja, const KanjiForms& forms,
                                const std::unordered_map<std::u16string, EdictWord>& edict) {
  std::vector<WordPair> out;
  std::set<std::pair<std::u16string, std::u16string>> seen;
  for (const HanjaLine& h : hanja) {
    if (h.hangul.size() != h.hanja.size() || h.hangul.size() > static_cast<std::size_t>(kMaxKeyUnits)) continue;
    if (!std::all_of(h.hangul.begin(), h.hangul.end(), IsHangulSyllable)) continue;
    if (!std::all_of(h.hanja.begin(), h.hanja.end(), IsHanja)) continue;
    if (!seen.insert({h.hangul, h.hanja}).second) continue;
    // Every combination of the characters' Japanese forms, the likeliest first.
    std::vector<std::vector<char16_t>> choices;
    std::size_t combinations = 1;
    for (char16_t c : h.hanja) {
      choices.push_back(forms.FormsOf(c));
      combinations *= choices.back().size();
    }
    if (combinations > 64) combinations = 64;
    for (std::size_t n = 0; n < combinations; ++n) {
      std::u16string word;
      std::size_t rest = n;
      for (const auto& ch : choices) {
        word.push_back(ch[rest % ch.size()]);
        rest /= ch.size();
      }
      const auto it = edict.find(word);
      if (it == edict.end() || it->second.readings.empty()) continue;
      out.push_back({h.hangul, h.hanja, word, &it->second});
      break;
    }
  }
  return out;
}

HanjaGlosses CollectGlosses(const std::vector<HanjaLine>& hanja) {
  HanjaGlosses out;
  for (const HanjaLine& h : hanja) {
    if (h.hanja.size() != 1 || h.hangul.size() != 1 || h.gloss.empty()) continue;
    out.emplace(std::make_pair(h.hanja[0], h.hangul[0]), h.gloss);
  }
  return out;
}

namespace {

// Part-of-speech pictures of a word after its translation.
std::u16string Pictures(const EdictWord& w) {
  std::u16string out;
  auto has = [&](const char* t) { return w.tags.count(t) != 0; };
  auto pic = [&](int n) { out.push_back(static_cast<char16_t>(kPictureBase + n)); };
  if (has("vs")) {
    pic(has("vi") && has("vt") ? 16 : has("vi") ? 14 : has("vt") ? 15 : 16);
  } else if (has("adj-na")) {
    pic(17);
  } else if (has("n")) {
    pic(19);
  }
  if (has("adv")) pic(33);
  if (has("num")) pic(22);
  if (has("pn")) pic(21);
  if (has("int")) pic(34);
  if (has("pref")) pic(39);
  if (has("suf")) pic(38);
  if (has("adj-pn")) pic(40);
  return out;
}

std::u16string Readings(const EdictWord& w) {
  std::u16string out;
  for (std::size_t i = 0; i < w.readings.size() && i < 4; ++i) {
    if (i > 0) out += u"・";
    out += w.readings[i];
  }
  return out;
}

std::u16string Link(const std::u16string& key, const std::u16string& tag, const std::u16string& text) {
  return std::u16string(1, kLinkOpen) + key + kLinkSep + tag + kLinkClose + text + u"</A>";
}

std::u16string Anchor() { return u"<A name=\"e" + std::u16string(1, kSelfId) + u"\"></A>"; }

const std::u16string* GlossOf(const HanjaGlosses& g, char16_t hanja, char16_t syllable) {
  const auto it = g.find({hanja, syllable});
  return it == g.end() ? nullptr : &it->second;
}

bool CommonFirst(const WordPair* a, const WordPair* b) { return a->edict->common && !b->edict->common; }

}  // namespace

std::vector<Headword> BuildKoreanToJapanese(const std::vector<WordPair>& pairs, const HanjaGlosses& glosses) {
  std::map<std::u16string, std::vector<const WordPair*>> byHangul;
  for (const WordPair& p : pairs) byHangul[p.hangul].push_back(&p);
  std::vector<Headword> out;
  for (auto& [hangul, list] : byHangul) {
    std::stable_sort(list.begin(), list.end(), CommonFirst);
    Headword h{hangul, hangul, {}, {}};
    for (const WordPair* p : list) {
      std::u16string t = Anchor() + kKoreanRunBegin + u"<B>" + hangul + u"</B>" + kKoreanRunEnd + u"<B>【" + p->hanja +
                         u"】</B><BR>" + Pictures(*p->edict) + p->japanese + u"（" + Readings(*p->edict) + u"）<BR>";
      for (std::size_t i = 0; i < p->hanja.size(); ++i) {
        const std::u16string* g = GlossOf(glosses, p->hanja[i], hangul[i]);
        if (g == nullptr) continue;
        const std::u16string ch(1, p->hanja[i]);
        t += (p->hanja.size() > 1 ? Link(std::u16string(1, hangul[i]), ch, ch) : ch) + kKoreanRunBegin + *g +
             kKoreanRunEnd + u"　";
      }
      h.entries.push_back({t, p->hanja});
    }
    out.push_back(std::move(h));
  }
  return out;
}

std::vector<Headword> BuildJapaneseToKorean(const std::vector<WordPair>& pairs, const HanjaGlosses& glosses,
                                            const KanjiForms& forms,
                                            const std::unordered_map<std::u16string, EdictWord>& edict) {
  std::map<std::u16string, std::vector<const WordPair*>> byWord;
  for (const WordPair& p : pairs) {
    if (p.japanese.size() > 1) byWord[p.japanese].push_back(&p);
  }
  // Single kanji: each hanja's Japanese form with its readings and glosses.
  struct Reading {
    char16_t syllable;
    char16_t hanja;
    std::u16string gloss;
  };
  std::map<std::u16string, std::vector<Reading>> byKanji;
  for (const auto& [key, gloss] : glosses) {
    for (char16_t f : forms.FormsOf(key.first)) {
      if (edict.count(std::u16string(1, f)) == 0) continue;
      auto& list = byKanji[std::u16string(1, f)];
      if (std::none_of(list.begin(), list.end(), [&](const Reading& r) { return r.syllable == key.second; }))
        list.push_back({key.second, key.first, gloss});
      break;
    }
  }
  std::vector<Headword> out;
  for (auto& [word, list] : byWord) {
    const EdictWord& w = *list.front()->edict;
    Headword h{word, word, {}, {}};
    for (const std::u16string& r : w.readings) {
      if (r.size() <= static_cast<std::size_t>(kMaxKeyUnits) && IsAllKana(r))
        h.extraKeys.push_back({r, r + u"【" + word + u"】"});
    }
    for (const WordPair* p : list) {
      std::u16string t = Anchor() + word + u"（" + Readings(w) + u"）" + kKoreanRunBegin + p->hangul + kKoreanRunEnd +
                         u"【" + p->hanja + u"】" + Pictures(w) + u"<BR>";
      for (std::size_t i = 0; i < word.size(); ++i) {
        const std::u16string ch(1, word[i]);
        if (byKanji.count(ch) == 0) continue;
        t += Link(ch, std::u16string(1, p->hangul[i]), ch) + kKoreanRunBegin + std::u16string(1, p->hangul[i]) +
             kKoreanRunEnd + u"　";
      }
      h.entries.push_back({t, p->hangul});
    }
    out.push_back(std::move(h));
  }
  for (auto& [kanji, readings] : byKanji) {
    const EdictWord& w = edict.at(kanji);
    Headword h{kanji, kanji, {}, {}};
    for (const Reading& r : readings) {
      std::u16string t = Anchor() + kanji + u"（" + Readings(w) + u"）" + kKoreanRunBegin + r.syllable +
                         kKoreanRunEnd + u"【" + r.hanja + u"】<BR>" + kKoreanRunBegin + r.gloss + kKoreanRunEnd;
      h.entries.push_back({t, std::u16string(1, r.syllable)});
    }
    // A single kanji that is also a word of the pairs keeps one headword.
    out.push_back(std::move(h));
  }
  return out;
}

// ---- examples ----

std::vector<Example> ReadExamples(std::istream& utf8) {
  std::vector<Example> out;
  std::u16string heading;
  std::string line;
  while (std::getline(utf8, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '*') {
      heading = FromUtf8(line.substr(line.find_first_not_of("* ")));
      continue;
    }
    std::vector<std::string> fields;
    std::stringstream ss(line);
    for (std::string f; std::getline(ss, f, '|');) {
      const std::size_t a = f.find_first_not_of(' ');
      const std::size_t b = f.find_last_not_of(' ');
      fields.push_back(a == std::string::npos ? std::string() : f.substr(a, b - a + 1));
    }
    if (fields.size() < 2 || fields[0].empty() || fields[1].empty())
      throw std::runtime_error("an example line without its Korean: " + line);
    Example e{FromUtf8(fields[0]), FromUtf8(fields[1]), heading, {}};
    if (fields.size() > 2) {
      std::stringstream words(fields[2]);
      for (std::string w; std::getline(words, w, ',');)
        if (!w.empty()) e.headwords.push_back(FromUtf8(w));
    }
    out.push_back(std::move(e));
  }
  return out;
}

std::string EncodeExampleFile(const std::vector<Example>& examples) {
  auto escape = [](const std::u16string& s) {
    std::u16string o;
    for (char16_t c : s) {
      if (c == u'&') o += u"&amp;";
      else if (c == u'<') o += u"&lt;";
      else if (c == u'>') o += u"&gt;";
      else if (c != u'\t' && c != u'\n' && c != u'\r') o.push_back(c);
    }
    return o;
  };
  std::string out;
  for (const Example& e : examples) PutUtf16(out, escape(e.japanese) + u"\t" + escape(e.korean) + u"\n");
  ScrambleBytes(reinterpret_cast<uint8_t*>(out.data()), out.size(), 0);
  return out;
}

// ---- GIF ----

std::string EncodeGif(int width, int height, const std::vector<uint32_t>& pixels, uint32_t transparent) {
  // Palette: the transparent colour, then a 6 x 6 x 6 cube and greys.
  std::vector<uint32_t> palette{transparent};
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) palette.push_back(static_cast<uint32_t>(r * 51 << 16 | g * 51 << 8 | b * 51));
  while (palette.size() < 256) {
    const int v = static_cast<int>((palette.size() - 217) * 255 / 38);
    palette.push_back(static_cast<uint32_t>(v << 16 | v << 8 | v));
  }
  auto nearest = [&](uint32_t c) {
    if (c == transparent) return 0;
    int best = 1, bestDistance = 1 << 30;
    for (int i = 1; i < 256; ++i) {
      const int dr = static_cast<int>(c >> 16 & 255) - static_cast<int>(palette[i] >> 16 & 255);
      const int dg = static_cast<int>(c >> 8 & 255) - static_cast<int>(palette[i] >> 8 & 255);
      const int db = static_cast<int>(c & 255) - static_cast<int>(palette[i] & 255);
      const int d = dr * dr + dg * dg + db * db;
      if (d < bestDistance) {
        bestDistance = d;
        best = i;
      }
    }
    return best;
  };
  std::string out = "GIF89a";
  auto put16 = [&](int v) {
    out.push_back(static_cast<char>(v & 255));
    out.push_back(static_cast<char>(v >> 8 & 255));
  };
  put16(width);
  put16(height);
  out.push_back(static_cast<char>(0xF7));  // global palette of 256 colours
  out.push_back(0);
  out.push_back(0);
  for (uint32_t c : palette) {
    out.push_back(static_cast<char>(c >> 16 & 255));
    out.push_back(static_cast<char>(c >> 8 & 255));
    out.push_back(static_cast<char>(c & 255));
  }
  // Graphic control: colour 0 transparent.
  out += std::string("\x21\xF9\x04\x01\x00\x00\x00\x00", 8);
  out.push_back(',');
  put16(0);
  put16(0);
  put16(width);
  put16(height);
  out.push_back(0);
  out.push_back(8);  // minimum code size
  // LZW without compression: 9-bit codes, a clear code before the table grows.
  std::string data;
  uint32_t bits = 0;
  int count = 0;
  auto code = [&](int c) {
    bits |= static_cast<uint32_t>(c) << count;
    count += 9;
    while (count >= 8) {
      data.push_back(static_cast<char>(bits & 255));
      bits >>= 8;
      count -= 8;
    }
  };
  int run = 0;
  code(256);
  for (uint32_t p : pixels) {
    if (run == 250) {
      code(256);
      run = 0;
    }
    code(nearest(p));
    ++run;
  }
  code(257);
  if (count > 0) data.push_back(static_cast<char>(bits & 255));
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    out.push_back(static_cast<char>(n));
    out.append(data, i, n);
  }
  out.push_back(0);
  out.push_back(';');
  return out;
}

}  // namespace ombrel::data
