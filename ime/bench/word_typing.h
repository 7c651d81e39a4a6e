// Real words typed through the input method: the physical keys that type a
// Hangul text on each arrangement (from the arrangement tables and the 3-set
// key map), a typist that presses them through the whole key-down path and
// collects what is committed, and the readings of a hanja word list.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "code_page.h"
#include "engine.h"
#include "reading_table.h"

namespace ime::bench {

// One key as the keyboard gives it: its character, virtual key and Shift.
struct PhysicalKey {
  char ch = 0;
  unsigned vk = 0;
  bool shift = false;
};

// The keys that type text (syllables and compatibility jamo) on an
// arrangement (0 roman, 1 2-set, 2 3-set), one character after another, on
// the 106-key keyboard; false when a character has no keys there.
bool KeysForText(int inputMode, const std::u16string& text, std::vector<PhysicalKey>* keys);

// The Enter key that commits a word.
PhysicalKey EnterKey();

// Messages kept as the input method's message list keeps them; with capture
// on, the result strings are collected as UTF-16 (Unicode interface) or
// as bytes widened to units (ANSI interface).
class CommitSink final : public MessageSink {
 public:
  bool Send(const ImeMessage& m, bool indirect) override;
  void Attach(const ImeCompString* comp, bool unicode) {
    comp_ = comp;
    unicode_ = unicode;
  }
  bool capture = false;
  std::u16string committed;
  size_t messages = 0;

 private:
  const ImeCompString* comp_ = nullptr;
  bool unicode_ = true;
  struct Entry {
    uint32_t message;
    uint64_t wParam;
    int64_t lParam;
  };
  Entry last_[8] = {};
};

// An input context with its engine under settings of one arrangement and
// interface (the ANSI interface with the arrangement's generated reading
// table); keys go through ProcessKeyDecision, PackKeyCharacter and
// ImeKeyDownCore as ImeProcessKey and ImeToAsciiEx pass them.
class Typist {
 public:
  Typist(int inputMode, bool unicode);
  void Press(const PhysicalKey& key);
  // Types a text's keys and Enter; what was committed, in UTF-16 for the
  // Unicode interface and as the KS bytes (one unit each) for the ANSI one.
  std::u16string TypeWord(const std::vector<PhysicalKey>& keys);
  ImeSettings settings;
  CommitSink sink;

 private:
  SilentFeedback feedback_;
  ReadingTable table_;
  std::unique_ptr<ImeEngine> engine_;
  ImeCompString comp_{};
  ImeCandInfo cand_{};
  ImeContextBlocks ctx_;
  uint8_t keyState_[256] = {};
};

// The distinct readings of a list of lines "reading:word:comment" (UTF-8,
// lines starting with # skipped) made only of precomposed syllables, in the
// order of the list.
std::vector<std::u16string> HanjaReadings(const std::string& path);

}  // namespace ime::bench
