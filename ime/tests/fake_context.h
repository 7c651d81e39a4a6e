// A native input context for engine tests: the two records, a sink that
// records the messages and feedback that counts beeps.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "code_page.h"
#include "engine.h"

namespace ime::test {

struct RecordingSink : MessageSink {
  struct Entry {
    ImeMessage m;
    bool indirect;
  };
  std::vector<Entry> sent;
  bool Send(const ImeMessage& m, bool indirect) override {
    sent.push_back({m, indirect});
    return true;
  }
  std::vector<ImeMessage> Messages() const {
    std::vector<ImeMessage> out;
    for (const Entry& e : sent) out.push_back(e.m);
    return out;
  }
};

struct CountingFeedback : UserFeedback {
  std::vector<unsigned> beeps;
  std::vector<std::string> boxes;
  void Beep(unsigned type) override { beeps.push_back(type); }
  int ShowMessage(const std::string& text, unsigned) override {
    boxes.push_back(text);
    return 1;
  }
};

struct FakeContext {
  ImeCompString comp{};
  ImeCandInfo cand{};
  RecordingSink sink;
  ImeContextBlocks blocks;

  FakeContext() {
    InitCompStr(comp, kBothParts);
    cand.info.dwSize = kCandInfoSize;
    blocks = {&comp, sizeof comp, &cand, sizeof cand, &sink};
  }

  std::u16string CompW() const { return Units16(comp.compStr, comp.h.dwCompStrLen); }
  std::u16string ReadW() const { return Units16(comp.compReadStr, comp.h.dwCompReadStrLen); }
  std::u16string ResultW() const { return Units16(comp.resultStr, comp.h.dwResultStrLen); }
  std::string CompA() const { return Bytes(comp.compStr, comp.h.dwCompStrLen); }
  std::string ResultA() const { return Bytes(comp.resultStr, comp.h.dwResultStrLen); }

  static std::u16string Units16(const uint8_t* p, uint32_t n) {
    std::u16string s;
    for (uint32_t i = 0; i < n; ++i) s.push_back(static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8));
    return s;
  }
  static std::string Bytes(const uint8_t* p, uint32_t n) { return std::string(reinterpret_cast<const char*>(p), n); }
};

// An engine with its own settings and feedback.
struct EngineFixture {
  ImeSettings settings;
  CountingFeedback feedback;
  ImeEngine engine{settings, feedback, codeconv::PlatformCodePages()};
  FakeContext ctx;

  // Types ASCII keys as character keys (virtual key = upper-case letter).
  void Type(const std::string& keys) {
    for (char c : keys) {
      unsigned vk = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
      unsigned packed = vk | static_cast<unsigned char>(c) << 8;
      if (!engine.DispatchEditKey(ctx.blocks, packed)) engine.InputCharKey(ctx.blocks, static_cast<uint8_t>(c), vk);
    }
  }
  void Key(unsigned vk) {
    if (!engine.DispatchEditKey(ctx.blocks, vk)) engine.InputCharKey(ctx.blocks, 0, vk);
  }
};

inline char16_t Syl(int initial, int vowel, int final = 0) {
  return static_cast<char16_t>(0xAC00 + (initial * 21 + vowel) * 28 + final);
}

}  // namespace ime::test
