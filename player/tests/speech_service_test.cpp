#include "speech_service.h"

#include <gtest/gtest.h>

#include <string>

#include "code_page.h"
#include "fixtures.h"

namespace tessaly {
namespace {

TEST(Requester, TheNumberAtTheStartOfTheArguments) {
  struct Case {
    const char* arguments;
    std::optional<int32_t> window;
  } const cases[] = {
      {"123456", 123456},
      {"  4242 more words", 4242},
      {"+77", 77},
      {"-5", -5},
      {"12abc", 12},
      {"", std::nullopt},
      {"abc 123", std::nullopt},
      {"-", std::nullopt},
      // No window at all, and the handle that would broadcast to every window.
      {"0", std::nullopt},
      {"65535", std::nullopt},
      {"0x1234", std::nullopt},
      // Past 32 bits.
      {"4294967296", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseRequesterWindow(c.arguments), c.window) << '"' << c.arguments << '"';
  }
}

TEST(Request, ComparedWithinTheBlock) {
  struct Case {
    const char* what;
    std::string bytes;
    size_t size;  // cbData
    ServiceRequest request;
  } const cases[] = {
      {"SPEAK with its NUL", std::string("SPEAK\0", 6), 6, ServiceRequest::kSpeak},
      {"STOP with its NUL", std::string("STOP\0", 5), 5, ServiceRequest::kStop},
      {"SPEAK filling the block, no NUL", "SPEAK", 5, ServiceRequest::kSpeak},
      {"STOP filling the block, no NUL", "STOP", 4, ServiceRequest::kStop},
      {"the notice's own shape", std::string("STOP\0\0\0\0\0\0", 10), 10, ServiceRequest::kStop},
      {"bytes after the NUL are not read", std::string("SPEAK\0xyz", 9), 9, ServiceRequest::kSpeak},
      {"a short cbData cuts SPEAK", std::string("SPEAK\0", 6), 3, ServiceRequest::kNone},
      {"a short cbData cuts STOP", std::string("STOP\0", 5), 4, ServiceRequest::kStop},
      {"cbData 0", std::string("SPEAK\0", 6), 0, ServiceRequest::kNone},
      {"a trailing blank", std::string("SPEAK \0", 7), 7, ServiceRequest::kNone},
      {"STOPX", std::string("STOPX\0", 6), 6, ServiceRequest::kNone},
      {"STOPX without NUL", "STOPX", 5, ServiceRequest::kNone},
      {"lower case", std::string("speak\0", 6), 6, ServiceRequest::kNone},
      {"a leading blank", std::string(" STOP\0", 6), 6, ServiceRequest::kNone},
      {"empty text", std::string("\0", 1), 1, ServiceRequest::kNone},
  };
  for (const Case& c : cases) {
    // The block alone in memory of exactly cbData bytes, so that a read past it trips the sanitizer.
    std::unique_ptr<char[]> block(new char[c.size == 0 ? 1 : c.size]);
    std::copy(c.bytes.begin(), c.bytes.begin() + static_cast<std::ptrdiff_t>(c.size), block.get());
    EXPECT_EQ(ParseServiceRequest(block.get(), c.size), c.request) << c.what;
  }
  EXPECT_EQ(ParseServiceRequest(nullptr, 6), ServiceRequest::kNone) << "a null block";
}

TEST(Request, TheNoticeIsStopAndSixZeroBytes) {
  const auto notice = StopNotice();
  ASSERT_EQ(notice.size(), 10u);
  EXPECT_EQ(std::string(notice.begin(), notice.end()), std::string("STOP\0\0\0\0\0\0", 10));
  EXPECT_EQ(ParseServiceRequest(notice.data(), notice.size()), ServiceRequest::kStop);
}

class ClipboardTest : public ::testing::Test {
 protected:
  const codeconv::CodePageConverter& pages_ = codeconv::PlatformCodePages();
  const codeconv::GmCodeConverter& gm_ = codeconv::test::GeneratedConverter();

  std::string GmOf(std::string ks) const {
    gm_.KsToGm(ks.data(), static_cast<unsigned>(ks.size()));
    return ks;
  }
};

// 한 is C7 D1 in KS code (code page 949). Its GM code comes from the
// converter (tested on its own); a GM text put on the clipboard as Unicode is
// that GM code read as code page 932.
TEST_F(ClipboardTest, UnicodeTextByVoiceCode) {
  const std::string gm = GmOf("\xc7\xd1");
  ASSERT_NE(gm, "\xc7\xd1");
  const std::u16string gmAsUnicode = pages_.ToUtf16(932, gm);
  struct Case {
    const char* what;
    std::u16string text;
    int voiceCode;
    std::string ks;
  } const cases[] = {
      {"code 0: code page 949", u"한 a", 0, "\xc7\xd1 a"},
      {"code 1: GM through code page 932, then KS", gmAsUnicode + u" a", 1, "\xc7\xd1 a"},
      {"code 2: code page 932 and no GM conversion", gmAsUnicode + u" a", 2, gm + " a"},
      {"code 0 keeps line breaks", u"한\r\n한", 0, "\xc7\xd1\r\n\xc7\xd1"},
      {"an empty text", u"", 0, ""},
  };
  for (const Case& c : cases) {
    const ClipboardSpeech got = SpeechFromUnicode(c.text, c.voiceCode, pages_, gm_);
    EXPECT_EQ(got.verdict, ClipboardSpeech::Verdict::kText) << c.what;
    EXPECT_EQ(got.ks, c.ks) << c.what;
  }
  EXPECT_EQ(ClipboardCodePage(0), 949u);
  EXPECT_EQ(ClipboardCodePage(1), 932u);
  EXPECT_EQ(ClipboardCodePage(-3), 932u);
}

TEST_F(ClipboardTest, EightBitTextByVoiceCode) {
  const std::string gm = GmOf("\xc7\xd1");
  EXPECT_EQ(SpeechFromBytes(gm + "!", 1, gm_).ks, "\xc7\xd1!");
  EXPECT_EQ(SpeechFromBytes("\xc7\xd1!", 0, gm_).ks, "\xc7\xd1!");
  EXPECT_EQ(SpeechFromBytes(gm + "!", 2, gm_).ks, gm + "!");
}

TEST_F(ClipboardTest, TheTextEndsAtANulOrWithItsBlock) {
  const std::u16string block(u"한한\0garbage", 10);
  EXPECT_EQ(SpeechFromUnicode(block, 0, pages_, gm_).ks, "\xc7\xd1\xc7\xd1");
  EXPECT_EQ(SpeechFromUnicode(std::u16string_view(block).substr(0, 1), 0, pages_, gm_).ks, "\xc7\xd1");
  EXPECT_EQ(SpeechFromBytes(std::string_view("ab\0cd", 5), 0, gm_).ks, "ab");
  EXPECT_EQ(SpeechFromBytes(std::string_view("abcd", 3), 0, gm_).ks, "abc");
}

TEST_F(ClipboardTest, AtMost60000CharactersOrBytes) {
  std::u16string text(60000, u'가');
  ClipboardSpeech got = SpeechFromUnicode(text, 0, pages_, gm_);
  EXPECT_EQ(got.verdict, ClipboardSpeech::Verdict::kText);
  EXPECT_EQ(got.ks.size(), 120000u);
  text += u'가';
  EXPECT_EQ(SpeechFromUnicode(text, 0, pages_, gm_).verdict, ClipboardSpeech::Verdict::kTooLong);
  // What lies after a NUL does not count.
  text += std::u16string(u"\0", 1);
  text.insert(0, std::u16string(u"a\0", 2));
  EXPECT_EQ(SpeechFromUnicode(text, 0, pages_, gm_).ks, "a");

  std::string bytes(60000, 'a');
  EXPECT_EQ(SpeechFromBytes(bytes, 0, gm_).verdict, ClipboardSpeech::Verdict::kText);
  bytes += 'a';
  EXPECT_EQ(SpeechFromBytes(bytes, 0, gm_).verdict, ClipboardSpeech::Verdict::kTooLong);
}

}  // namespace
}  // namespace tessaly
