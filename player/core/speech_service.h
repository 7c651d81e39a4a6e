// The text player's speech service, without a window: the requester window
// read from the command line, the request of a WM_COPYDATA block, the
// 10-byte "STOP" notice, and the clipboard text turned into the KS text that
// the player's editor takes (by the "VoiceCode" setting).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "code_page.h"
#include "gm_converter.h"

namespace tessaly {

// ---- command line ----

// The requester's window handle: the decimal number at the start of the
// program's arguments (blanks, a sign and digits, as "%d" reads them).
// Nothing when there is none, when it does not fit 32 bits, or when it is 0
// or 0xFFFF (the handle that would broadcast the notice to every window).
std::optional<int32_t> ParseRequesterWindow(std::string_view arguments);

// ---- requests ----

enum class ServiceRequest { kNone, kSpeak, kStop };

// The command of a request block: its bytes up to the first NUL inside the
// block (or all of them), compared exactly with "SPEAK" and "STOP". A null
// block is no request; nothing past size bytes is read.
ServiceRequest ParseServiceRequest(const void* data, std::size_t size);

// The notice block: "STOP" and six zero bytes.
inline constexpr std::size_t kNoticeSize = 10;
std::array<unsigned char, kNoticeSize> StopNotice();

// ---- clipboard text ----

// The most characters (Unicode) or bytes (8-bit text) a request speaks.
inline constexpr std::size_t kClipboardLimit = 60000;

// What the clipboard's text becomes.
struct ClipboardSpeech {
  enum class Verdict { kText, kTooLong } verdict = Verdict::kText;
  std::string ks;  // the editor's text, KS code
};

// The code page a Unicode text is converted with: 949 for "VoiceCode" 0,
// 932 for any other value.
unsigned ClipboardCodePage(int voiceCode);

// CF_UNICODETEXT of a block of units (its size over 2): the text ends at the
// first NUL inside the block, or with the block. More than kClipboardLimit
// characters is too long. Converted with ClipboardCodePage; with "VoiceCode"
// 1 the bytes are GM code and become KS code.
ClipboardSpeech SpeechFromUnicode(std::u16string_view block, int voiceCode, const codeconv::CodePageConverter& pages,
                                  const codeconv::GmCodeConverter& gm);
// CF_TEXT of a block of bytes, bounded the same way; with "VoiceCode" 1 the
// bytes become KS code, otherwise they are taken as they are.
ClipboardSpeech SpeechFromBytes(std::string_view block, int voiceCode, const codeconv::GmCodeConverter& gm);

}  // namespace tessaly
