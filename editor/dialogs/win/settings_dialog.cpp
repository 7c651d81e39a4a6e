#include "settings_dialog.h"

#include <vector>

#include "dialogs_resources.h"
#include "display_faces.h"
#include "help.h"
#include "module.h"

namespace brisel {

CEnvSetDlg::CEnvSetDlg(const fw::Module& module, editorview::ViewSettings& settings, std::string helpFile,
                       FaceSource faces)
    : fw::Dialog(module, IDD_ENV_SET),
      settings_(settings),
      helpFile_(std::move(helpFile)),
      source_(std::move(faces)),
      codes_{{IDC_GM_COPY_TEXT, IDC_GM_COPY_RICH, IDC_GM_COPY_FONT, &editorview::ViewSettings::gmCopyRichText,
              &editorview::ViewSettings::gmCopyFont, FaceCode::kGm, {}},
             {IDC_KS_COPY_TEXT, IDC_KS_COPY_RICH, IDC_KS_COPY_FONT, &editorview::ViewSettings::ksCopyRichText,
              &editorview::ViewSettings::ksCopyFont, FaceCode::kKs, {}}} {}

bool CEnvSetDlg::OnInitDialog() {
  const FaceList faces = FacesFrom(source_);
  for (CopyCode& c : codes_) {
    HWND box = GetDlgItem(hwnd(), c.boxId);
    std::vector<std::u16string> names;
    for (const FaceEntry* f : faces.OfCode(c.code)) {
      names.push_back(f->name);
      SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(f->name).c_str()));
    }
    const int at = FindFaceName(names, U16(fw::FromCodePage(932, settings_.*c.face)));
    if (at >= 0) SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    c.state = InitialCopyControls(!names.empty(), settings_.*c.flag);
    settings_.*c.flag = c.state.flag;
    Show(c);
  }
  return true;
}

void CEnvSetDlg::Show(const CopyCode& c) {
  CheckRadioButton(hwnd(), c.textId, c.richId, c.state.richChecked ? c.richId : c.textId);
  EnableWindow(GetDlgItem(hwnd(), c.richId), c.state.richEnabled);
  EnableWindow(GetDlgItem(hwnd(), c.boxId), c.state.boxEnabled);
}

std::string CEnvSetDlg::ChosenFace(const CopyCode& c) const {
  HWND box = GetDlgItem(hwnd(), c.boxId);
  const LRESULT at = SendMessageW(box, CB_GETCURSEL, 0, 0);
  if (at < 0) return settings_.*c.face;  // nothing chosen: the face stays
  const LRESULT n = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0);
  if (n <= 0) return settings_.*c.face;
  std::wstring name(static_cast<size_t>(n) + 1, L'\0');
  SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(name.data()));
  name.resize(wcslen(name.c_str()));
  if (name.size() > kCopyFaceLimit) name.resize(kCopyFaceLimit);
  return fw::ToCodePage(932, name);
}

void CEnvSetDlg::OnOK() {
  for (const CopyCode& c : codes_) settings_.*c.face = ChosenFace(c);
  EndDialog(IDOK);
}

bool CEnvSetDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int id = LOWORD(wParam);
    if (id == IDC_ENV_HELP) {
      fw::CurrentHelpViewer().ShowContext(hwnd(), helpFile_, HELP_ENV_SET);
      result = 0;
      return true;
    }
    for (CopyCode& c : codes_) {
      if (id != c.textId && id != c.richId) continue;
      // The flag changes at once: Cancel keeps it.
      c.state = ChooseCopy(c.state, id == c.richId);
      settings_.*c.flag = c.state.flag;
      EnableWindow(GetDlgItem(hwnd(), c.boxId), c.state.boxEnabled);
      result = 0;
      return true;
    }
  }
  return fw::Dialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace brisel
