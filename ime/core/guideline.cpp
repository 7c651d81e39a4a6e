// The guideline block: a GUIDELINE header followed by its text.
#include <algorithm>
#include <cstring>

#include "engine.h"

namespace ime {

namespace {
constexpr uint32_t kGuidelineSize = 62;
constexpr uint32_t kGuidelineTextOffset = 29;
constexpr uint32_t kGuidelineTextMax = 32;
constexpr uint32_t kGlLevelInformation = 4;  // GL_LEVEL_INFORMATION
}  // namespace

// Entry 0 is the on-screen keyboard of the status toolbar.
const GuidelineEntry GuidelineTable[3] = {
    {kGlLevelInformation, 0x8000, 1010},
    {kGlLevelInformation, 0x8001, 1011},
    {kGlLevelInformation, 0x8002, 1012},
};

void ImeEngine::SetGuideline(ImeContextBlocks& ctx, int entry, const std::string& text) {
  if (entry < 0 || entry > 2 || ctx.guideline == nullptr) return;
  uint8_t* block = ctx.guideline->Resize(kGuidelineSize);
  if (block == nullptr) return;
  std::memset(block, 0, kGuidelineSize);
  const uint32_t length = static_cast<uint32_t>(std::min<size_t>(text.size(), kGuidelineTextMax));
  const uint32_t header[7] = {kGuidelineSize, GuidelineTable[entry].level, GuidelineTable[entry].index,
                              length, kGuidelineTextOffset, 0, 0};
  std::memcpy(block, header, sizeof header);
  std::memcpy(block + kGuidelineTextOffset, text.data(), length);
  if (!ctx.sink || !ctx.sink->Send({kWmImeNotify, kImnGuideline, 0}, settings_.indirectMode)) {
    feedback_.Beep(kBeepDefault);
  }
}

}  // namespace ime
