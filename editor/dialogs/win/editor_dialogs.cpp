#include "editor_dialogs.h"

#include "app.h"
#include "dialogs_resources.h"
#include "font_dialog.h"
#include "sedit_window.h"
#include "settings_dialog.h"

namespace brisel {

namespace {

sedit::StaticTable<sedit::kEditorVariant> g_seditTable;
sedit::SEditHost g_seditHost;

const codeconv::GmCodeConverter& NoTables() {
  static const codeconv::GmCodeConverter none;
  return none;
}

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
  return a.lfHeight == b.lfHeight && a.lfCharSet == b.lfCharSet && lstrcmpW(a.lfFaceName, b.lfFaceName) == 0;
}

}  // namespace

bool RegisterEditorSEdit(HINSTANCE instance) {
  WNDCLASSA existing{};
  if (GetClassInfoA(instance, sedit::kSEditClassName, &existing)) return true;
  return sedit::RegisterSEditClass(instance, g_seditTable.table, g_seditHost) != 0;
}

EditorDialogs::EditorDialogs(const Resources& resources, EditorDialogsHost& host)
    : resources_(resources), host_(host) {}

EditorDialogs::~EditorDialogs() {
  if (sheet_ && sheet_->hwnd()) DestroyWindow(sheet_->hwnd());
  sheet_ = nullptr;
}

HWND EditorDialogs::Owner(editorview::HangulView& view) const {
  return view.hwnd() ? GetAncestor(view.hwnd(), GA_ROOT) : nullptr;
}

void EditorDialogs::OpenFindReplace(editorview::HangulView& view, bool replace) {
  const int page = replace ? kReplacePage : kFindPage;
  if (sheet_ && sheet_->hwnd()) {
    if (&sheet_->View() == &view) {
      sheet_->ShowPage(page);
      return;
    }
    DestroyWindow(sheet_->hwnd());  // another view's sheet
  }
  auto* sheet = new CPSheet(resources_.module, view, view.Engine().TakeFindSeed(), resources_.helpFile,
                            [this] { sheet_ = nullptr; });
  sheet_ = sheet;
  if (!sheet->Create()) {
    // No window was made (or it went at once and deleted itself).
    if (sheet_ == sheet) {
      sheet_ = nullptr;
      delete sheet;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  sheet->ShowPage(page);
}

void EditorDialogs::ChooseFont(editorview::HangulView& view) {
  LOGFONTW font = view.ViewLogFont();
  int fontType = host_.FontType();
  CFontSetDlg dialog(resources_.module, resources_.gm ? *resources_.gm : NoTables(), font, fontType,
                     resources_.helpFile, resources_.faces);
  if (dialog.Run(Owner(view)) == IDOK) {
    const bool codeChanged = view.SetViewFont(font);
    // A font that could not be made leaves the one in use: nothing to store.
    if (SameFont(view.ViewLogFont(), font)) {
      host_.FontChosen(font, fontType, codeChanged);
      if (codeChanged) view.ActivateImeForFont();
    }
  }
  host_.RequestImeActivation();
}

void EditorDialogs::EditSettings(editorview::HangulView& view) {
  const int before = host_.ReadingCode();
  CEnvSetDlg dialog(resources_.module, host_.CopySettings(), resources_.helpFile, resources_.faces);
  dialog.DoModal(Owner(view));
  if (host_.ReadingCode() == before || !host_.CanReread()) return;
  const std::wstring question = resources_.module.String(IDS_REREAD_QUESTION);
  const std::wstring caption = fw::App::Current() ? fw::App::Current()->programName() : std::wstring();
  if (MessageBoxW(Owner(view), question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES) host_.Reread();
}

}  // namespace brisel
