#include "companion.h"

namespace ime {

namespace {

constexpr CompanionProgram kPrograms[] = {
    {kCmdEditor, "BRISELV6", false},
    {kCmdConverter, "VIDIDID6", false},
    {kCmdWorkbench, "DALMOK", true},
    {kCmdNavigator, "DRENVIK", false},
    {kCmdDictionary, "Ombrel", false},
    {kCmdPad, "Vestra", true},
    {kCmdSimpleDictionary, "Wimsa_Dic\\QuorelDic", false},
    {kCmdPlayer, "Sorvent", false},
    {kCmdListening, "FERLIN2", false},
};

CompanionStep Step(CompanionStep::Kind kind, uintptr_t window = 0) {
  CompanionStep s;
  s.kind = kind;
  s.window = window;
  return s;
}

using imelink::kAnnounce;
using imelink::kCommit;
using imelink::kLookupClosed;

std::vector<CompanionStep> OnLookupChar(CompanionState& s, uintptr_t wParam, uintptr_t lParam,
                                        const CompanionFacts& facts) {
  std::vector<CompanionStep> steps;
  if (lParam != 0) s.target = lParam;
  if (wParam == kAnnounce) {
    if (facts.focus != 0) s.target = facts.focus;
    return steps;
  }
  if (wParam == kLookupClosed) {
    s.lookup = 0;
    steps.push_back(Step(CompanionStep::kLookupClosed, s.target));
    return steps;
  }
  if (s.savedContext == 0) return steps;
  steps.push_back(Step(CompanionStep::kSetFocus, s.target));
  CompanionStep insert = Step(CompanionStep::kInsertLookupChar);
  insert.context = s.savedContext;
  insert.character = static_cast<uint16_t>(wParam & 0xFFFF);
  steps.push_back(insert);
  CompanionStep again = Step(CompanionStep::kPostSelf);
  again.message = imelink::WM_LOOKUP_CHAR;
  again.wParam = kAnnounce;
  steps.push_back(again);
  return steps;
}

std::vector<CompanionStep> OnTransferChar(CompanionState& s, bool pad, uintptr_t wParam, uintptr_t lParam,
                                          const CompanionFacts& facts) {
  std::vector<CompanionStep> steps;
  uintptr_t& sender = pad ? s.pad : s.workbench;
  if (lParam != 0) {
    if (wParam == kAnnounce) {
      sender = lParam;
    } else {
      s.target = lParam;
    }
    return steps;
  }
  if (wParam == 0) return steps;
  if (wParam == kAnnounce) {
    sender = 0;
    return steps;
  }
  if (s.savedContext == 0) return steps;
  if (wParam == kCommit) {
    if (pad && facts.uiContextApp != 0) s.target = facts.uiContextApp;
    steps.push_back(Step(CompanionStep::kSetFocus, s.target));
    CompanionStep insert = Step(CompanionStep::kInsertText);
    insert.context = s.savedContext;
    insert.text = s.transfer.text();
    steps.push_back(insert);
    CompanionStep again = Step(pad ? CompanionStep::kPostSelf : CompanionStep::kSendSelf);
    again.message = imelink::WM_LOOKUP_CHAR;
    again.wParam = kAnnounce;
    steps.push_back(again);
    s.transfer.Clear();
    return steps;
  }
  if (!s.transfer.Append(static_cast<uint16_t>(wParam & 0xFFFF))) steps.push_back(Step(CompanionStep::kBeep));
  return steps;
}

}  // namespace

const CompanionProgram* FindCompanion(int id) {
  for (const CompanionProgram& p : kPrograms) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

std::string CompanionCommand(const std::string& programFolder, int id, const imelink::LaunchArguments* numbers) {
  const CompanionProgram* p = FindCompanion(id);
  if (!p) return {};
  const std::string path = programFolder + p->name + ".EXE";
  if (p->numbers && numbers) return imelink::ImeLaunchCommandLine(path, *numbers);
  return imelink::CommandLineProgram(path);
}

bool TransferBuffer::Append(uint16_t character) {
  const char first = static_cast<char>(character & 0xFF);
  const char second = static_cast<char>(character >> 8);
  const size_t bytes = second != 0 ? 2 : 1;
  // A zero first byte is no character: it would end the text early.
  if (first == 0 || text_.size() + bytes + 1 > kSize) return false;
  text_.push_back(first);
  if (second != 0) text_.push_back(second);
  return true;
}

std::vector<CompanionStep> OnCompanionMessage(CompanionState& state, unsigned message, uintptr_t wParam,
                                              uintptr_t lParam, const CompanionFacts& facts) {
  switch (message) {
    case imelink::WM_LOOKUP_CHAR:
      return OnLookupChar(state, wParam, lParam, facts);
    case imelink::WM_WORKBENCH_CHAR:
      return OnTransferChar(state, false, wParam, lParam, facts);
    case imelink::WM_PAD_CHAR:
      return OnTransferChar(state, true, wParam, lParam, facts);
    default:
      return {};
  }
}

}  // namespace ime
