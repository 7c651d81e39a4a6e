// Text that companion programs send back: one character of the lookup
// window (GM95) or a collected text of the workbench or the pad (already in
// the code in use), committed to the application as result strings.
#include <cstring>

#include "engine.h"

namespace ime {

namespace {
constexpr uint32_t kClauseBytes = 8;
}  // namespace

void ImeEngine::CommitReceived(ImeContextBlocks& ctx, const Text& text) {
  if (!Valid(ctx)) {
    feedback_.Beep(kBeepDefault);
    return;
  }
  ImeCompString& cs = *ctx.comp;
  // A text longer than the result area goes out as several results, each
  // cut at a whole character.
  const size_t unitBytes = settings_.Unicode() ? 2 : 1;
  size_t next = 0;
  while (next < text.size()) {
    size_t end = next, bytes = 0;
    while (end < text.size() && bytes + unitBytes * text[end].w + unitBytes <= sizeof cs.resultStr) {
      bytes += unitBytes * text[end].w;
      ++end;
    }
    if (end == next) break;
    const Text part(text.begin() + static_cast<long>(next), text.begin() + static_cast<long>(end));
    next = end;
    // A list left open would stand for a composition that is gone.
    CloseCandidates(ctx);
    InitCompStr(cs, kBothParts);
    marks_.clear();
    Send(ctx, kWmImeStartComposition, 0, 0, true);
    WriteResult(cs, part, part);
    PutU32(cs.compClause, 0);
    PutU32(cs.compClause + 4, 0);
    PutU32(cs.compReadClause, 0);
    PutU32(cs.compReadClause + 4, 0);
    cs.h.dwCompClauseLen = cs.h.dwCompReadClauseLen = kClauseBytes;
    SendComposition(ctx, kGcsResultFour, true);
    Send(ctx, kWmImeEndComposition, 0, 0, true);
  }
}

void ImeEngine::InsertLookupChar(ImeContextBlocks& ctx, uint16_t character) {
  const uint8_t first = static_cast<uint8_t>(character & 0xFF);
  const uint8_t second = static_cast<uint8_t>(character >> 8);
  std::string bytes(1, static_cast<char>(first));
  if (second != 0) {
    const codeconv::DbChar c = FromGm95(codeconv::MakeDb(first, second));
    bytes = {static_cast<char>(codeconv::Lead(c)), static_cast<char>(codeconv::Trail(c))};
  }
  CommitReceived(ctx, FromDbCode(bytes));
}

void ImeEngine::InsertTransferredText(ImeContextBlocks& ctx, const std::string& bytes) {
  const std::string text = bytes.substr(0, std::strlen(bytes.c_str()));
  if (text.empty()) return;
  CommitReceived(ctx, FromDbCode(text));
}

}  // namespace ime
