// "辞書指定" (dialog 148): the three user dictionaries of the engine.
#include <windows.h>
#include <commdlg.h>

#include "dialog.h"
#include "file_dialog.h"
#include "gdi.h"
#include "help.h"
#include "ime_layouts.h"
#include "user_dic_dialogs.h"
#include "user_dic_resource.h"
#include "dalmok_help.h"
#include "user_dic_win.h"

namespace dalmok {
namespace {

class DialogUi final : public workbench::DicChoiceUi {
 public:
  explicit DialogUi(HWND dialog) : dialog_(dialog) {}
  void Warn(const std::string& text, workbench::Beep beep) override {
    DicWarn(dialog_, text, beep == workbench::Beep::kAsterisk ? MB_ICONASTERISK : MB_ICONEXCLAMATION);
  }
  bool AskYesNo(const std::string& text) override { return DicAskYesNo(dialog_, text); }
  void WaitCursor(bool on) override {
    if (on) {
      old_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    } else {
      SetCursor(old_);
    }
  }

 private:
  HWND dialog_;
  HCURSOR old_ = nullptr;
};

class CDicSpecDlg final : public fw::Dialog {
 public:
  CDicSpecDlg(HINSTANCE module, workbench::DicSlots& slots)
      : fw::Dialog(fw::Module{module}, IDD_DIC_CHOICE), slots_(slots) {}
  ~CDicSpecDlg() override {
    if (icon_) DestroyIcon(icon_);
  }

 protected:
  bool OnInitDialog() override {
    icon_ = static_cast<HICON>(LoadImageW(module().handle(), MAKEINTRESOURCEW(IDI_DIC_BROWSE), IMAGE_ICON, 16, 16, 0));
    for (int i = 0; i < workbench::kDicChoiceSlots; ++i) {
      SendDlgItemMessageW(hwnd(), IDC_CHOICE_PATH1 + i, EM_LIMITTEXT, 260, 0);
      if (icon_) SendDlgItemMessageW(hwnd(), IDC_CHOICE_BROWSE1 + i, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_));
    }
    SetWindowTextW(hwnd(), Utf8ToWide(workbench::kDicChoiceCaption).c_str());
    if (!DicContext().japaneseIme.empty()) codeconv::ActivateImeByName(hwnd(), DicContext().japaneseIme);
    RegistryUserDics registry;
    const workbench::DicSlots fields = workbench::OpenDicChoice(slots_, *DicContext().engine, registry);
    for (int i = 0; i < workbench::kDicChoiceSlots; ++i)
      SetDlgItemTextW(hwnd(), IDC_CHOICE_PATH1 + i, Utf8ToWide(fields[static_cast<std::size_t>(i)]).c_str());
    return true;
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_HELP) {
      ShowHelp();
      return false;  // the default handling follows
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      const int id = LOWORD(wParam);
      if (id >= IDC_CHOICE_BROWSE1 && id <= IDC_CHOICE_BROWSE3) {
        Browse(id - IDC_CHOICE_BROWSE1);
        return true;
      }
      if (id == IDC_CHOICE_HELP) {
        ShowHelp();
        return true;
      }
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

  void OnOK() override {
    workbench::DicSlots typed;
    for (int i = 0; i < workbench::kDicChoiceSlots; ++i) {
      wchar_t text[300] = {};
      GetDlgItemTextW(hwnd(), IDC_CHOICE_PATH1 + i, text, 299);
      typed[static_cast<std::size_t>(i)] = WideToUtf8(text);
    }
    DialogUi ui(hwnd());
    DiskFiles files;
    RegistryUserDics registry;
    const auto result = workbench::ApplyDicChoice(typed, slots_, *DicContext().engine, files, registry, ui);
    if (!result.ok) {
      SetFocus(GetDlgItem(hwnd(), result.focus));
      return;
    }
    EndDialog(IDOK);
  }

 private:
  void ShowHelp() { dalmok::ShowHelp(workbench::help::kHelpContextDictionaryChoice); }

  void Browse(int slot) {
    const std::string start =
        workbench::BrowseStartFolder(slots_[static_cast<std::size_t>(slot)], RegistryUserDics::Folder());
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    if (!start.empty()) SetCurrentDirectoryW(Utf8ToWide(start).c_str());
    fw::FileDialog dialog(module(), true);  // an explorer-style open dialog
    dialog.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    dialog.filter = fw::FileDialogFilter({{L"ユーザー辞書ﾌｧｲﾙ(*.dic)", L"*.dic"}});
    dialog.title = L"ユーザー辞書ファイル名指定";
    dialog.defaultExtension = L"dic";
    const int answer = dialog.DoModal(hwnd());
    SetCurrentDirectoryW(saved);
    if (answer == IDOK) SetDlgItemTextW(hwnd(), IDC_CHOICE_PATH1 + slot, dialog.fileName.c_str());
  }

  workbench::DicSlots& slots_;
  HICON icon_ = nullptr;
};

}  // namespace

int RunDicChoiceDialog(HWND parent, workbench::DicSlots& slots) {
  CDicSpecDlg dialog(DicContext().module, slots);
  const INT_PTR result = dialog.DoModal(parent);
  return result == IDOK ? 1 : result == -1 ? -1 : 0;
}

}  // namespace dalmok
