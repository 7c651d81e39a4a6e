// The companion programs: the launcher, the lookup window, and the text
// that the lookup window, the translation workbench and the translation
// input pad send back to the UI window, committed into the saved context.
#include "ime_context.h"
#include "ime_ui.h"

namespace ime {

namespace {

HWND AsWindow(uintptr_t h) { return reinterpret_cast<HWND>(h); }
uintptr_t Handle(const void* p) { return reinterpret_cast<uintptr_t>(p); }

imelink::CreateLookupWindowFn BindLookupLibrary(ImeModule& m) {
  if (!m.lookupLibrary) {
    // Only from the program folder: a lookup library found elsewhere on the
    // search path is not ours.
    const std::string path = m.config.programFolder + imelink::kLookupLibrary;
    m.lookupLibrary = LoadLibraryA(path.c_str());
    if (!m.lookupLibrary) return nullptr;
  }
  return reinterpret_cast<imelink::CreateLookupWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(m.lookupLibrary, MAKEINTRESOURCEA(imelink::kLookupOrdinal))));
}

// Commits received text into a context; a context that cannot be locked
// beeps and the text is lost.
void CommitInto(HIMC himc, const CompanionStep& step) {
  ImeModule& m = Module();
  ContextLock lock(himc);
  if (!lock.get()) {
    m.feedback.Beep(0);
    return;
  }
  LockedBlocks blocks(himc, lock.get());
  if (step.kind == CompanionStep::kInsertLookupChar) {
    m.engine->InsertLookupChar(blocks.blocks, step.character);
  } else {
    m.engine->InsertTransferredText(blocks.blocks, step.text);
  }
}

}  // namespace

void LaunchCompanion(int id) {
  ImeModule& m = Module();
  const CompanionProgram* program = FindCompanion(id);
  if (!program) return;
  imelink::LaunchArguments numbers;
  bool withNumbers = false;
  if (program->numbers && m.uiWindow) {
    HIMC himc = UiContext(m.uiWindow);
    ContextLock lock(himc);
    if (LPINPUTCONTEXT ic = lock.get()) {
      HWND app = ContextWindow(ic);
      m.companions.target = Handle(app);
      m.companions.savedContext = Handle(himc);
      numbers = {imelink::HandleNumber(m.uiWindow), imelink::HandleNumber(app), m.settings.koreanCode};
      withNumbers = true;
    }
  }
  const std::string command = CompanionCommand(m.config.programFolder, id, withNumbers ? &numbers : nullptr);
  WinExec(command.c_str(), SW_SHOWNORMAL);
}

int OpenLookupWindow(HIMC himc) {
  ImeModule& m = Module();
  if (m.companions.lookup && IsWindow(AsWindow(m.companions.lookup))) return 0;
  m.companions.lookup = 0;
  bool composing = false;
  {
    ContextLock lock(himc);
    LPINPUTCONTEXT ic = lock.get();
    if (!ic) return 0;
    LockedBlocks blocks(himc, ic);
    m.engine->CancelComposition(blocks.blocks);
    m.companions.target = Handle(ContextWindow(ic));
    composing = IsComposing(blocks.blocks);
  }
  if (composing) {
    m.feedback.Beep(0);
    return 0;
  }
  m.companions.savedContext = Handle(himc);
  imelink::CreateLookupWindowFn create = BindLookupLibrary(m);
  if (!create) {
    m.feedback.Beep(0);
    return 0;
  }
  HWND lookup = static_cast<HWND>(create(m.instance, AsWindow(m.companions.target), m.uiWindow,
                                         m.settings.koreanCode, m.config.currentFace.c_str(),
                                         m.config.fileName.c_str()));
  RefreshGuideWindow();
  if (!lookup || !IsWindow(lookup)) return 0;
  m.companions.lookup = Handle(lookup);
  PostMessageA(lookup, WM_LOOKUP_CHAR, reinterpret_cast<WPARAM>(m.uiWindow), 0);
  return 1;
}

LRESULT OnToolWindowMessage(HWND ui, UINT message, WPARAM wParam, LPARAM lParam) {
  ImeModule& m = Module();
  CompanionFacts facts;
  facts.focus = Handle(GetFocus());
  if (HIMC himc = UiContext(ui)) {
    ContextLock lock(himc);
    if (lock.get()) facts.uiContextApp = Handle(ContextWindow(lock.get()));
  }
  const std::vector<CompanionStep> steps =
      OnCompanionMessage(m.companions, message, static_cast<uintptr_t>(wParam), static_cast<uintptr_t>(lParam), facts);
  for (const CompanionStep& step : steps) {
    switch (step.kind) {
      case CompanionStep::kSetFocus:
        if (IsWindow(AsWindow(step.window))) SetFocus(AsWindow(step.window));
        break;
      case CompanionStep::kInsertLookupChar:
      case CompanionStep::kInsertText:
        CommitInto(reinterpret_cast<HIMC>(step.context), step);
        break;
      case CompanionStep::kSendSelf:
        SendMessageA(ui, step.message, step.wParam, 0);
        break;
      case CompanionStep::kPostSelf:
        PostMessageA(ui, step.message, step.wParam, 0);
        break;
      case CompanionStep::kLookupClosed:
        if (HWND status = StatusWindowOf(ui)) {
          if (IsWindow(AsWindow(step.window))) SetFocus(AsWindow(step.window));
          SendMessageA(status, WM_UI_REFRESH, 0, 0);
        }
        break;
      case CompanionStep::kBeep:
        m.feedback.Beep(0);
        break;
    }
  }
  return 0;
}

}  // namespace ime
