// Window messages and flags that the engine sends to the application.
#pragma once
#include <cstdint>

namespace ime {

constexpr uint32_t kWmImeStartComposition = 0x010D;
constexpr uint32_t kWmImeEndComposition = 0x010E;
constexpr uint32_t kWmImeComposition = 0x010F;
constexpr uint32_t kWmImeNotify = 0x0282;

constexpr uint32_t kImnChangeCandidate = 0x0003;
constexpr uint32_t kImnCloseCandidate = 0x0004;
constexpr uint32_t kImnOpenCandidate = 0x0005;
constexpr uint32_t kImnGuideline = 0x000D;

constexpr uint32_t kGcsCompReadStr = 0x0001;
constexpr uint32_t kGcsCompReadAttr = 0x0002;
constexpr uint32_t kGcsCompReadClause = 0x0004;
constexpr uint32_t kGcsCompStr = 0x0008;
constexpr uint32_t kGcsCompAttr = 0x0010;
constexpr uint32_t kGcsCompClause = 0x0020;
constexpr uint32_t kGcsCursorPos = 0x0080;
constexpr uint32_t kGcsDeltaStart = 0x0100;
constexpr uint32_t kGcsResultReadStr = 0x0200;
constexpr uint32_t kGcsResultReadClause = 0x0400;
constexpr uint32_t kGcsResultStr = 0x0800;
constexpr uint32_t kGcsResultClause = 0x1000;

// The six reading and composition flags, the eight with cursor and delta
// start, and the four result flags.
constexpr uint32_t kGcsCompSix = kGcsCompReadStr | kGcsCompReadAttr | kGcsCompReadClause |
                                 kGcsCompStr | kGcsCompAttr | kGcsCompClause;
constexpr uint32_t kGcsCompEight = kGcsCompSix | kGcsCursorPos | kGcsDeltaStart;
constexpr uint32_t kGcsResultFour = kGcsResultReadStr | kGcsResultReadClause | kGcsResultStr |
                                    kGcsResultClause;

struct ImeMessage {
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  bool operator==(const ImeMessage&) const = default;
};

// Where the engine's messages go (GenerateImeMessage in the DLL). indirect is
// true for messages that take the deferred route when IndirectMode is on.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual bool Send(const ImeMessage& m, bool indirect) = 0;
};

}  // namespace ime
