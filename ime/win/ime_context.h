// Access to an input context for the length of one call: the context
// itself and its composition, candidate and guideline blocks, with the
// context's message path as the engine's sink.
#pragma once
#include "ime_state.h"

namespace ime {

// The blocks of a locked input context, locked for one entry point call.
class LockedBlocks final : public MessageSink, public GuidelineBlock {
 public:
  LockedBlocks(HIMC himc, LPINPUTCONTEXT context) : himc_(himc), context_(context) {
    blocks.sink = this;
    blocks.guideline = this;
    blocks.conversionMode = context_->fdwConversion;
    if (context_->hCompStr) {
      blocks.comp = static_cast<ImeCompString*>(ImmLockIMCC(context_->hCompStr));
      blocks.compSize = blocks.comp ? ImmGetIMCCSize(context_->hCompStr) : 0;
    }
    if (context_->hCandInfo) {
      blocks.cand = static_cast<ImeCandInfo*>(ImmLockIMCC(context_->hCandInfo));
      blocks.candSize = blocks.cand ? ImmGetIMCCSize(context_->hCandInfo) : 0;
    }
  }
  ~LockedBlocks() override {
    if (blocks.comp) ImmUnlockIMCC(context_->hCompStr);
    if (blocks.cand) ImmUnlockIMCC(context_->hCandInfo);
    if (guideline_) ImmUnlockIMCC(context_->hGuideLine);
  }
  LockedBlocks(const LockedBlocks&) = delete;
  LockedBlocks& operator=(const LockedBlocks&) = delete;

  bool Send(const ImeMessage& m, bool indirect) override {
    TRANSMSG tm{m.message, static_cast<WPARAM>(m.wParam), static_cast<LPARAM>(m.lParam)};
    return GenerateImeMessage(himc_, context_, tm, indirect) != FALSE;
  }

  uint8_t* Resize(size_t size) override {
    if (guideline_) {
      ImmUnlockIMCC(context_->hGuideLine);
      guideline_ = nullptr;
    }
    HIMCC block = ImmReSizeIMCC(context_->hGuideLine, static_cast<DWORD>(size));
    if (!block) return nullptr;
    context_->hGuideLine = block;
    guideline_ = static_cast<uint8_t*>(ImmLockIMCC(block));
    return guideline_;
  }

  ImeContextBlocks blocks;

 private:
  HIMC himc_;
  LPINPUTCONTEXT context_;
  uint8_t* guideline_ = nullptr;
};

// Locks an input context for the duration of a call.
class ContextLock {
 public:
  explicit ContextLock(HIMC himc) : himc_(himc), context_(himc ? ImmLockIMC(himc) : nullptr) {}
  ~ContextLock() {
    if (context_) ImmUnlockIMC(himc_);
  }
  ContextLock(const ContextLock&) = delete;
  ContextLock& operator=(const ContextLock&) = delete;
  LPINPUTCONTEXT get() const { return context_; }

 private:
  HIMC himc_;
  LPINPUTCONTEXT context_;
};

}  // namespace ime
