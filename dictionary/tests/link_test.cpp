#include <gtest/gtest.h>

#include <cstring>

#include "dictionary_link.h"

namespace ombrel::link {
namespace {

struct CommandLineCase {
  const char* tail;
  const char* text;
  int direction;
  int method;  // -1: absent
  bool forward;
  bool topmost;
  bool rejected;
};

TEST(CommandLine, FieldsAfterTheText) {
  const CommandLineCase cases[] = {
      // Text only: direction 0, the method of the setting, nothing forwarded.
      {"%uD559%uAD50", "%uD559%uAD50", 0, -1, false, false, false},
      {"abc,1,0,1,t", "abc", 1, 0, true, true, false},
      {"abc,1,2,0,T", "abc", 1, 2, false, true, false},
      {"abc, 1, 1, 1, x", "abc", 1, 1, true, false, false},
      {",1,0,1,t", "", 1, 0, true, true, false},
      {"abc,1", "abc", 1, -1, false, false, false},
      {"abc,1,0", "abc", 1, 0, false, false, false},
      {"abc,x,1", "abc", 0, -1, false, false, false},
      // A text whose first byte is a control byte is empty.
      {"\x01" "abc,1,0,0,f", "", 1, 0, false, false, false},
      // Out-of-range numbers are refused and keep the defaults.
      {"abc,2,0,1,t", "abc", 0, -1, false, false, true},
      {"abc,-1,0,1,t", "abc", 0, -1, false, false, true},
      {"abc,1,3,1,t", "abc", 1, -1, false, false, true},
      {"abc,1,99999999999,1,t", "abc", 1, -1, false, false, true},
  };
  for (const CommandLineCase& c : cases) {
    SCOPED_TRACE(c.tail);
    const DictionaryCommandLine p = ParseDictionaryCommandLine(c.tail);
    EXPECT_EQ(p.text, c.text);
    EXPECT_EQ(p.direction, c.direction);
    EXPECT_EQ(p.method.value_or(-1), c.method);
    EXPECT_EQ(p.forward, c.forward);
    EXPECT_EQ(p.topmost, c.topmost);
    EXPECT_EQ(p.rejectedField, c.rejected);
  }
}

TEST(CommandLine, TextCutAt384Bytes) {
  const std::string text(400, 'a');
  const DictionaryCommandLine p = ParseDictionaryCommandLine(text + ",1,0,0,f");
  EXPECT_EQ(p.text, std::string(384, 'a'));
  EXPECT_EQ(p.direction, 1);
}

TEST(CommandLine, WriterReadsBack) {
  const std::string tail = FormatDictionaryCommandLine("%uD559+x", 1, 2, true, true);
  EXPECT_EQ(tail, "%uD559+x,1,2,1,t");
  const DictionaryCommandLine p = ParseDictionaryCommandLine(tail);
  EXPECT_EQ(p.text, "%uD559+x");
  EXPECT_EQ(p.method.value_or(-1), 2);
  EXPECT_TRUE(p.forward);
  EXPECT_TRUE(p.topmost);
  EXPECT_EQ(FormatDictionaryCommandLine("a", 0, 0, false, false), "a,0,0,0,f");
}

TEST(Request, BlockLayout) {
  const RequestBlock b = EncodeDictionaryRequest("%uD559", 1, 2, true);
  ASSERT_EQ(b.size(), 268u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data())), "%uD559");
  EXPECT_EQ(b[256], 1);
  EXPECT_EQ(b[260], 2);
  EXPECT_EQ(b[264], 1);
  const auto r = DecodeDictionaryRequest(b.data(), b.size());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->text, "%uD559");
  EXPECT_EQ(r->direction, 1);
  EXPECT_EQ(r->method, 2);
  EXPECT_TRUE(r->topmost);
}

TEST(Request, TextCutAtAnEscapeWithin255Bytes) {
  // 42 escapes of six bytes are 252 bytes; the 43rd would end at 258.
  std::string text;
  for (int i = 0; i < 50; ++i) text += "%uD559";
  const RequestBlock b = EncodeDictionaryRequest(text, 0, 0, false);
  const auto r = DecodeDictionaryRequest(b.data(), b.size());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->text.size(), 252u);
  EXPECT_EQ(EscapedTextCut("ab%41c", 4), 2u);
  EXPECT_EQ(EscapedTextCut("ab%41c", 5), 5u);
}

TEST(Request, HostileBlocksAreRefused) {
  RequestBlock good = EncodeDictionaryRequest("abc", 0, 1, false);
  EXPECT_FALSE(DecodeDictionaryRequest(nullptr, 268).has_value());
  EXPECT_FALSE(DecodeDictionaryRequest(good.data(), 267).has_value());
  EXPECT_FALSE(DecodeDictionaryRequest(good.data(), 0).has_value());
  EXPECT_TRUE(DecodeDictionaryRequest(good.data(), 400).has_value());  // a longer block still holds ours

  RequestBlock noNul = good;
  std::memset(noNul.data(), 'x', 256);
  EXPECT_FALSE(DecodeDictionaryRequest(noNul.data(), noNul.size()).has_value());

  struct {
    int direction, method;
  } const bad[] = {{2, 0}, {-1, 0}, {0, 3}, {0, -1}, {0x7FFFFFFF, 0}};
  for (const auto& b : bad) {
    RequestBlock block = EncodeDictionaryRequest("abc", b.direction, b.method, false);
    EXPECT_FALSE(DecodeDictionaryRequest(block.data(), block.size()).has_value())
        << b.direction << " " << b.method;
  }
  RequestBlock topmost2 = good;
  topmost2[264] = 2;
  const auto r = DecodeDictionaryRequest(topmost2.data(), topmost2.size());
  ASSERT_TRUE(r.has_value());
  EXPECT_FALSE(r->topmost);
}

}  // namespace
}  // namespace ombrel::link
