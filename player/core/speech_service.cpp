#include "speech_service.h"

#include <cstring>

namespace tessaly {

std::optional<int32_t> ParseRequesterWindow(std::string_view arguments) {
  size_t i = 0;
  while (i < arguments.size() && (arguments[i] == ' ' || (arguments[i] >= '\t' && arguments[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < arguments.size() && (arguments[i] == '+' || arguments[i] == '-')) negative = arguments[i++] == '-';
  int64_t value = 0;
  bool digits = false;
  for (; i < arguments.size() && arguments[i] >= '0' && arguments[i] <= '9'; ++i) {
    digits = true;
    value = value * 10 + (arguments[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (!digits) return std::nullopt;
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  if (value == 0 || value == 0xFFFF) return std::nullopt;
  return static_cast<int32_t>(value);
}

ServiceRequest ParseServiceRequest(const void* data, std::size_t size) {
  if (data == nullptr) return ServiceRequest::kNone;
  const char* bytes = static_cast<const char*>(data);
  const void* nul = std::memchr(bytes, '\0', size);
  const std::string_view command(bytes, nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : size);
  if (command == "SPEAK") return ServiceRequest::kSpeak;
  if (command == "STOP") return ServiceRequest::kStop;
  return ServiceRequest::kNone;
}

std::array<unsigned char, kNoticeSize> StopNotice() { return {'S', 'T', 'O', 'P', 0, 0, 0, 0, 0, 0}; }

unsigned ClipboardCodePage(int voiceCode) { return voiceCode != 0 ? 932 : 949; }

namespace {

// GM code to KS code, when the setting says the text is GM.
std::string FromGmWhenAsked(std::string bytes, int voiceCode, const codeconv::GmCodeConverter& gm) {
  if (voiceCode != 1 || bytes.empty()) return bytes;
  std::string ks(bytes.size() + 1, '\0');
  gm.GmToKs(ks.data(), bytes.data(), static_cast<unsigned>(bytes.size()));
  ks.resize(std::strlen(ks.c_str()));
  return ks;
}

}  // namespace

ClipboardSpeech SpeechFromUnicode(std::u16string_view block, int voiceCode, const codeconv::CodePageConverter& pages,
                                  const codeconv::GmCodeConverter& gm) {
  const size_t end = block.find(u'\0');
  const std::u16string_view text = block.substr(0, end);
  if (text.size() > kClipboardLimit) return {ClipboardSpeech::Verdict::kTooLong, {}};
  std::string bytes = pages.FromUtf16(ClipboardCodePage(voiceCode), std::u16string(text));
  return {ClipboardSpeech::Verdict::kText, FromGmWhenAsked(std::move(bytes), voiceCode, gm)};
}

ClipboardSpeech SpeechFromBytes(std::string_view block, int voiceCode, const codeconv::GmCodeConverter& gm) {
  const size_t end = block.find('\0');
  const std::string_view text = block.substr(0, end);
  if (text.size() > kClipboardLimit) return {ClipboardSpeech::Verdict::kTooLong, {}};
  return {ClipboardSpeech::Verdict::kText, FromGmWhenAsked(std::string(text), voiceCode, gm)};
}

}  // namespace tessaly
