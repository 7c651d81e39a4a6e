// "辞書編集" (dialog 131): the modeless user-dictionary editor.
#include "user_dic_editor.h"

#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <cstring>
#include <vector>

#include "candidate_list_rules.h"
#include "dialog.h"
#include "dic_edit.h"
#include "gdi.h"
#include "help.h"
#include "ime_layouts.h"
#include "ks_gm.h"
#include "sedit_variant.h"
#include "owner_draw_list.h"
#include "part_of_speech.h"
#include "text_codes.h"
#include "user_dic_dialogs.h"
#include "user_dic_resource.h"
#include "dalmok_help.h"
#include "user_dic_win.h"

namespace dalmok {
namespace {

HWND g_frameEditor = nullptr;

std::string Field(const char* p, std::size_t room) { return std::string(p, strnlen(p, room)); }

std::string KsToGm(std::string_view ks) { return workbench::KsToGmBytes(ks); }

// A field's notification asking its owner for a beep.
constexpr unsigned kFieldBeep = 0x501;

class CDicEditDlg final : public fw::Dialog {
 public:
  CDicEditDlg(HINSTANCE module, std::string word) : fw::Dialog(fw::Module{module}, IDD_DIC_EDIT), word_(std::move(word)) {}
  ~CDicEditDlg() override {
    for (HFONT f : {koreanFont_, japaneseFont_})
      if (f) DeleteObject(f);
    for (HICON i : icons_)
      if (i) DestroyIcon(i);
  }

 protected:
  bool OnInitDialog() override {
    parent_ = GetParent(hwnd());
    SetWindowTextW(hwnd(), Utf8ToWide(workbench::kEditCaption).c_str());
    CenterOnParent();
    list_ = GetDlgItem(hwnd(), IDC_EDIT_LIST);
    // The translations (column 0) are drawn by the list itself in the code
    // mode's Korean font, over whole rows.
    ownerList_.SubclassList(list_, Ks() ? 949 : 932);
    ownerList_.SetFontColumn(0);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    RECT r{};
    GetClientRect(list_, &r);
    AddListColumn(list_, 0, L"訳語", (r.right - r.left) * 40 / 50);
    AddListColumn(list_, 1, L"品詞", (r.right - r.left) * 9 / 50);
    MakeFonts();
    HWND classes = GetDlgItem(hwnd(), IDC_EDIT_CLASS);
    for (std::size_t i = 0; i < workbench::kNounClassCount; ++i)
      SendMessageW(classes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(workbench::NounClassAt(i).name).c_str()));
    HWND combo = GetDlgItem(hwnd(), IDC_EDIT_DICTIONARY);
    for (char digit : {'0', '1', '2'}) {
      char d = digit;
      std::string name;
      int count = 0;
      if (Engine().GetUserDicInfo(d, name, count) < 0 || name.empty()) continue;
      dictionaries_.push_back({digit, name, count});
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
    }
    if (!dictionaries_.empty()) {
      SendMessageW(combo, CB_SETCURSEL, 0, 0);
      chosen_ = 0;
    }
    SendDlgItemMessageA(hwnd(), IDC_EDIT_SOURCE, EM_LIMITTEXT, 40, 0);
    SendDlgItemMessageA(hwnd(), IDC_EDIT_TRANSLATION, EM_LIMITTEXT, 40, 0);
    if (!ShowCount()) {
      PostMessageW(hwnd(), WM_COMMAND, IDCANCEL, 0);
      return true;
    }
    EnableWindow(GetDlgItem(hwnd(), IDC_EDIT_SELECT), FALSE);
    EnableWindow(GetDlgItem(hwnd(), IDC_EDIT_DELETE), FALSE);
    SendMessageW(classes, CB_SETCURSEL, 0, 0);
    CheckDlgButton(hwnd(), IDC_EDIT_HANJA, BST_UNCHECKED);
    EnableWindow(GetDlgItem(hwnd(), IDC_EDIT_HANJA), FALSE);
    SetIcon(IDC_EDIT_UP, IDI_MOVE_UP_ICON, 0);
    SetIcon(IDC_EDIT_DOWN, IDI_MOVE_DOWN_ICON, 1);
    SetIcon(IDC_EDIT_FILL, IDI_DIC_FILL, 2);
    settingSource_ = true;
    SetFieldBytes(Item(IDC_EDIT_SOURCE), word_);
    settingSource_ = false;
    const bool ks = DicContext().ks;
    koreanLayout_ = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName(ks ? "ZORBENV6.IME" : "WARBENV6.IME"));
    if (!DicContext().japaneseIme.empty())
      japaneseLayout_ = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName(DicContext().japaneseIme));
    LookUpEntries();
    HanjaRule();
    return true;
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_HELP:
        ShowHelp();
        return false;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == list_ && header->code == NM_DBLCLK) {
          Select();
          return true;
        }
        return false;
      }
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
      case WM_DESTROY:
        SendMessageW(parent_, kUserDicEditorClosed, 1, 0);
        return false;
      default:
        return fw::Dialog::OnMessage(message, wParam, lParam, result);
    }
  }

  void OnFinalMessage() override {
    if (g_frameEditor == self_) g_frameEditor = nullptr;
    fw::Window::DeleteLater(this);
  }

 public:
  void Remember(HWND self) { self_ = self; }

 private:
  struct Dictionary {
    char digit;
    std::string name;
    int count;
  };

  workbench::UserDicEngine& Engine() { return *DicContext().engine; }
  bool Ks() const { return DicContext().ks; }
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

  bool OnCommand(int id, int code) {
    switch (id) {
      case IDCANCEL:
        if (code == BN_CLICKED || code == 0) DestroyWindow(hwnd());  // modeless: destroyed, not ended
        return true;
      case IDOK:
        return true;  // Enter is no command here
      case IDC_EDIT_REGISTER:
        if (code == BN_CLICKED) Register();
        return true;
      case IDC_EDIT_SELECT:
        if (code == BN_CLICKED) Select();
        return true;
      case IDC_EDIT_DELETE:
        if (code == BN_CLICKED) Delete();
        return true;
      case IDC_EDIT_UP:
      case IDC_EDIT_DOWN:
        if (code == BN_CLICKED) Move(id == IDC_EDIT_UP);
        return true;
      case IDC_EDIT_FILL:
        if (code == BN_CLICKED) Fill();
        return true;
      case IDC_EDIT_DIC_LIST:
        if (code == BN_CLICKED) DictionaryList();
        return true;
      case IDC_EDIT_HELP:
        if (code == BN_CLICKED) ShowHelp();
        return true;
      case IDC_EDIT_CLASS:
        if (code == CBN_SELCHANGE) ClassChanged();
        return true;
      case IDC_EDIT_DICTIONARY:
        if (code == CBN_SELCHANGE) DictionaryChanged();
        return true;
      case IDC_EDIT_SOURCE:
        if (code == kFieldBeep) MessageBeep(0);
        if (code == sedit::kNotifyFocusGained) SwitchLayout(japaneseLayout_);
        if (code == sedit::kNotifyChanged && !settingSource_) {
          LookUpEntries();
          HanjaRule();
        }
        return true;
      case IDC_EDIT_TRANSLATION:
        if (code == kFieldBeep) MessageBeep(0);
        if (code == sedit::kNotifyFocusGained) SwitchLayout(koreanLayout_);
        return true;
      default:
        return false;
    }
  }

  void ShowHelp() { dalmok::ShowHelp(workbench::help::kHelpContextDictionaryEditor); }

  void CenterOnParent() {
    RECT me{}, area{};
    GetWindowRect(hwnd(), &me);
    if (!parent_ || !GetWindowRect(parent_, &area)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int x = area.left + ((area.right - area.left) - (me.right - me.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (me.bottom - me.top)) / 2;
    SetWindowPos(hwnd(), nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void MakeFonts() {
    auto height = [&](int id) {
      RECT r{};
      GetClientRect(Item(id), &r);
      return (r.bottom - r.top) - 8;
    };
    const bool ks = Ks();
    koreanFont_ = SetFieldFont(Item(IDC_EDIT_TRANSLATION), ks ? L"KS P Mincho" : L"ＧＭ韓国明朝",
                               ks ? HANGUL_CHARSET : SHIFTJIS_CHARSET, height(IDC_EDIT_TRANSLATION), koreanLog_);
    japaneseFont_ = SetFieldFont(Item(IDC_EDIT_SOURCE), L"ＭＳ Ｐ明朝", SHIFTJIS_CHARSET, height(IDC_EDIT_SOURCE),
                                 japaneseLog_);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(koreanFont_), FALSE);
    ownerList_.SetDrawStyle(workbench::candidates::kWholeRow, koreanFont_);
  }

  void SetIcon(int button, int icon, int slot) {
    icons_[slot] = static_cast<HICON>(LoadImageW(module().handle(), MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, 0));
    HWND b = Item(button);
    if (icons_[slot]) {
      SendMessageW(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icons_[slot]));
    } else {
      // Without its picture the button shows its text.
      SetWindowLongW(b, GWL_STYLE, GetWindowLongW(b, GWL_STYLE) & ~BS_ICON);
    }
  }

  // The chosen dictionary's count in 134, "辞書一覧" enabled when it has
  // entries; false when the engine reports a negative count.
  bool ShowCount() {
    int count = 0;
    if (chosen_ >= 0) {
      Dictionary& d = dictionaries_[static_cast<std::size_t>(chosen_)];
      char digit = d.digit;
      std::string name = d.name;
      if (Engine().GetUserDicInfo(digit, name, d.count) < 0) d.count = -1;
      count = d.count;
    }
    if (count < 0) return false;
    SetDlgItemTextW(hwnd(), IDC_EDIT_COUNT, std::to_wstring(count).c_str());
    EnableWindow(Item(IDC_EDIT_DIC_LIST), count > 0);
    return true;
  }

  std::string Source() { return workbench::TrimTrailingBlanks(FieldBytes(Item(IDC_EDIT_SOURCE))); }

  void LeaveModify() {
    modifying_ = 0;
    SetDlgItemTextW(hwnd(), IDC_EDIT_REGISTER, Utf8ToWide(workbench::kRegisterNew).c_str());
  }

  std::wstring RowTranslation(const workbench::DicCandidateRecord& r) const {
    return KsToWide(Field(r.korean, sizeof r.korean));
  }

  void FillList() {
    ListView_DeleteAllItems(list_);
    ownerList_.fontTexts.clear();
    for (std::size_t i = 0; i < records_.size(); ++i) {
      const auto& r = records_[i];
      const std::string ks = Field(r.korean, sizeof r.korean);
      ownerList_.fontTexts.push_back(Ks() ? ks : KsToGm(ks));
      std::wstring korean = RowTranslation(r);
      const std::wstring name = Utf8ToWide(workbench::EditorClassName(r.partOfSpeech[0], r.partOfSpeech[1]));
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = korean.data();
      ListView_InsertItem(list_, &item);
      ListView_SetItemText(list_, static_cast<int>(i), 1, const_cast<wchar_t*>(name.c_str()));
    }
  }

  void SelectRow(int row) {
    if (row < 0 || row >= static_cast<int>(records_.size())) return;
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row, FALSE);
  }

  void LookUpEntries() {
    LeaveModify();
    records_.clear();
    ListView_DeleteAllItems(list_);
    ownerList_.fontTexts.clear();
    const std::string source = Source();
    bool any = false;
    if (chosen_ >= 0 && !source.empty()) {
      const int dictionary = dictionaries_[static_cast<std::size_t>(chosen_)].digit - '0';
      if (buffer_.size() < 10) buffer_.resize(10);
      int n = Engine().ReadCandidates(source, dictionary, buffer_.data(), static_cast<int>(buffer_.size()));
      if (n > static_cast<int>(buffer_.size())) {
        try {
          buffer_.resize(static_cast<std::size_t>(n));
        } catch (const std::bad_alloc&) {
          DicWarn(hwnd(), workbench::kMemoryError);
          return;
        }
        n = Engine().ReadCandidates(source, dictionary, buffer_.data(), n);
      }
      if (n > 0) {
        records_.assign(buffer_.begin(), buffer_.begin() + std::min<std::ptrdiff_t>(n, static_cast<std::ptrdiff_t>(buffer_.size())));
        any = true;
      }
    }
    FillList();
    if (any) SelectRow(0);
    EnableWindow(Item(IDC_EDIT_SELECT), any);
    EnableWindow(Item(IDC_EDIT_DELETE), any);
  }

  int ClassIndex() { return static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_EDIT_CLASS, CB_GETCURSEL, 0, 0)); }

  void HanjaRule() {
    EnableWindow(Item(IDC_EDIT_HANJA), workbench::HanjaOutputEnabled(Source(), ClassIndex()));
  }

  void Register() {
    if (chosen_ < 0) {
      DicWarn(hwnd(), workbench::kNoDictionary);
      return;
    }
    const std::string translation = FieldBytes(Item(IDC_EDIT_TRANSLATION));
    const workbench::EntryCheck check =
        workbench::CheckEntry(FieldBytes(Item(IDC_EDIT_SOURCE)), translation, modifying_ == 0, Ks());
    if (check.beep) MessageBeep(0);
    if (check.source != FieldBytes(Item(IDC_EDIT_SOURCE)) && !check.source.empty()) {
      settingSource_ = true;
      SetFieldBytes(Item(IDC_EDIT_SOURCE), check.source);
      settingSource_ = false;
    }
    if (!check.ok) {
      DicWarn(hwnd(), check.message);
      return;
    }
    const int classIndex = ClassIndex() < 0 ? 0 : ClassIndex();
    const bool hanjaEnabled = IsWindowEnabled(Item(IDC_EDIT_HANJA)) != FALSE;
    workbench::DicCandidateRecord record =
        workbench::MakeEntryRecord(check.source, translation, Ks(), static_cast<std::size_t>(classIndex), hanjaEnabled,
                                   IsDlgButtonChecked(hwnd(), IDC_EDIT_HANJA) == BST_CHECKED, modifying_);
    if (modifying_ != 0) {
      // A loaded entry keeps its part-of-speech bytes unless its class changed.
      record.partOfSpeech[0] = loadedPos_[0];
      if (loadedPos_[0] == workbench::kNounType) record.partOfSpeech[1] = workbench::NounClassAt(static_cast<std::size_t>(classIndex)).subtype;
      else record.partOfSpeech[1] = loadedPos_[1];
      record.partOfSpeech[2] = loadedPos_[2];
      std::memcpy(record.carried, loadedClass_, sizeof record.carried);
    }
    const Dictionary& d = dictionaries_[static_cast<std::size_t>(chosen_)];
    const int number = modifying_;
    const int result = Engine().UpdateUserDic(d.name, d.digit, record, modifying_ != 0 ? 1 : 0);
    if (result == -2) {
      DicWarn(hwnd(), workbench::kSameEntry);
      for (std::size_t i = 0; i < records_.size(); ++i)
        if (records_[i].number == record.number) SelectRow(static_cast<int>(i));
      return;
    }
    if (result < 0) {
      DestroyWindow(hwnd());  // the engine failed: the editor ends
      return;
    }
    if (number == 0) {
      if (!ShowCount()) {
        DestroyWindow(hwnd());
        return;
      }
      LookUpEntries();
      for (std::size_t i = 0; i < records_.size(); ++i)
        if (records_[i].number == record.number) SelectRow(static_cast<int>(i));
    } else {
      for (std::size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].number != number) continue;
        workbench::DicCandidateRecord shown = record;
        const std::string gm = Field(record.korean, sizeof record.korean);
        // The list keeps KS code, as the engine gives it back.
        const std::string ks = workbench::GmToKsBytes(gm);
        std::memset(shown.korean, 0, sizeof shown.korean);
        std::memcpy(shown.korean, ks.data(), std::min(ks.size(), sizeof shown.korean - 1));
        records_[i] = shown;
        FillList();
        SelectRow(static_cast<int>(i));
        break;
      }
      LeaveModify();
    }
  }

  int SelectedRow() { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

  void Load(int number) {
    if (chosen_ < 0) {
      DicWarn(hwnd(), workbench::kNoDictionary);
      return;
    }
    const Dictionary& d = dictionaries_[static_cast<std::size_t>(chosen_)];
    workbench::DicCandidateRecord r{};
    r.number = number;
    if (Engine().ListData(d.name, static_cast<uint8_t>(d.digit), 1, &r, 1) <= 0) return;
    const std::string ks = Field(r.korean, sizeof r.korean);
    SetFieldBytes(Item(IDC_EDIT_TRANSLATION), Ks() ? ks : KsToGm(ks));
    SendDlgItemMessageW(hwnd(), IDC_EDIT_CLASS, CB_SETCURSEL, workbench::NounClassIndexOf(r.partOfSpeech[0], r.partOfSpeech[1]), 0);
    std::memcpy(loadedPos_, r.partOfSpeech, 3);
    std::memcpy(loadedClass_, r.carried, sizeof loadedClass_);
    CheckDlgButton(hwnd(), IDC_EDIT_HANJA, r.hanjaFlag ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(hwnd(), IDC_EDIT_REGISTER, Utf8ToWide(workbench::kRegisterModify).c_str());
    modifying_ = number;
    HanjaRule();
  }

  void Select() {
    const int row = SelectedRow();
    if (row < 0) {
      DicWarn(hwnd(), workbench::kChooseEntry);
      return;
    }
    Load(records_[static_cast<std::size_t>(row)].number);
  }

  void Delete() {
    const int row = SelectedRow();
    if (row < 0 || chosen_ < 0) return;
    if (!DicAskYesNo(hwnd(), workbench::kDeleteQuestion)) return;
    const Dictionary& d = dictionaries_[static_cast<std::size_t>(chosen_)];
    workbench::DicCandidateRecord record = records_[static_cast<std::size_t>(row)];
    if (Engine().UpdateUserDic(d.name, d.digit, record, 2) < 0) {
      DestroyWindow(hwnd());
      return;
    }
    const int deleted = records_[static_cast<std::size_t>(row)].number;
    records_.erase(records_.begin() + row);
    for (auto& r : records_)
      if (r.number > deleted) --r.number;  // entry numbers are places in the dictionary
    FillList();
    if (!ShowCount()) {
      DestroyWindow(hwnd());
      return;
    }
    if (!records_.empty()) SelectRow(std::min(row, static_cast<int>(records_.size()) - 1));
    EnableWindow(Item(IDC_EDIT_SELECT), !records_.empty());
    EnableWindow(Item(IDC_EDIT_DELETE), !records_.empty());
    LeaveModify();
  }

  void Move(bool up) {
    const int row = SelectedRow();
    const int count = static_cast<int>(records_.size());
    if (row < 0 || count == 0 || (up && row == 0) || (!up && row == count - 1)) {
      MessageBeep(MB_ICONEXCLAMATION);
      return;
    }
    const int to = up ? row - 1 : row + 1;
    const char digit = dictionaries_[static_cast<std::size_t>(chosen_)].digit;
    const int result = Engine().OrderChange(digit, records_.data(), count, row, to);
    if (result == 0) {
      std::swap(records_[static_cast<std::size_t>(row)], records_[static_cast<std::size_t>(to)]);
      std::swap(records_[static_cast<std::size_t>(row)].number, records_[static_cast<std::size_t>(to)].number);
      FillList();
      SelectRow(to);
      SetFocus(list_);
      return;
    }
    if (result > 0) return;
    const char* message = result == -11 ? "日本語の品詞がカ変動詞・サ変動詞と、それ以外の品詞とで優先順位を変更することはできません。"
                          : result == -12 ? "動詞・形容詞・形容動詞の品詞と、それ以外の品詞とで優先順位を変更することはできません。"
                          : result == -13 ? "システム辞書の訳語順序ファイルの 読み込みでエラーが発生しました！\n訳語順序を初期化してよろしいですか？"
                                          : "エラーが発生しました！辞書順序を変更できません。";
    DicWarn(hwnd(), message);
    if (result != -11 && result != -12) DestroyWindow(hwnd());
  }

  void Fill() {
    std::string ks;
    const int result = Engine().ConvertCharacters(FieldBytes(Item(IDC_EDIT_SOURCE)), ks, 40);
    if (result != 0 && result != 333) return;
    SetFieldBytes(Item(IDC_EDIT_TRANSLATION), Ks() ? ks : KsToGm(ks));
    SetFocus(Item(IDC_EDIT_TRANSLATION));
  }

  void ClassChanged() {
    if (modifying_ != 0 && !workbench::ClassChangeAllowed(true, loadedPos_[0])) {
      DicWarn(hwnd(), workbench::kClassFixed);
      SendDlgItemMessageW(hwnd(), IDC_EDIT_CLASS, CB_SETCURSEL, workbench::NounClassIndexOf(loadedPos_[0], loadedPos_[1]), 0);
      return;
    }
    HanjaRule();
  }

  void DictionaryChanged() {
    const int index = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_EDIT_DICTIONARY, CB_GETCURSEL, 0, 0));
    if (index < 0 || index == chosen_) return;
    chosen_ = index;
    ShowCount();
    LookUpEntries();
  }

  void DictionaryList() {
    if (chosen_ < 0) return;
    LeaveModify();
    const int answer = RunDicListDialog(hwnd(), dictionaries_[static_cast<std::size_t>(chosen_)].name);
    SetFocus(Item(IDC_EDIT_SOURCE));
    if (answer != 0) {
      if (!ShowCount()) {
        DestroyWindow(hwnd());
        return;
      }
      if (answer >= 1) {
        LookUpEntries();
        Load(answer);
        for (std::size_t i = 0; i < records_.size(); ++i)
          if (records_[i].number == answer) SelectRow(static_cast<int>(i));
      } else {
        LookUpEntries();
      }
    }
    SetFocus(Item(IDC_EDIT_REGISTER));
  }

  void SwitchLayout(HKL layout) {
    if (!layout || layout == GetKeyboardLayout(0)) return;
    HIMC imc = ImmGetContext(hwnd());
    const bool open = imc && ImmGetOpenStatus(imc);
    if (open) ImmSetOpenStatus(imc, FALSE);
    ActivateKeyboardLayout(layout, 0);
    if (open) ImmSetOpenStatus(imc, TRUE);
    if (imc) ImmReleaseContext(hwnd(), imc);
  }

  std::string word_;
  HWND parent_ = nullptr, self_ = nullptr, list_ = nullptr;
  COwnerDrawList ownerList_;
  std::vector<Dictionary> dictionaries_;
  int chosen_ = -1;
  int modifying_ = 0;  // the entry number being modified; 0: a new entry
  uint8_t loadedPos_[3] = {};
  uint8_t loadedClass_[9] = {};
  std::vector<workbench::DicCandidateRecord> buffer_, records_;
  HFONT koreanFont_ = nullptr, japaneseFont_ = nullptr;
  LOGFONTA koreanLog_{}, japaneseLog_{};
  HICON icons_[3] = {};
  HKL koreanLayout_ = nullptr, japaneseLayout_ = nullptr;
  bool settingSource_ = false;
};

}  // namespace

HWND CreateUserDicEditor(HWND parent, const std::string& japaneseSjis) {
  auto* editor = new (std::nothrow) CDicEditDlg(DicContext().module, japaneseSjis);
  if (!editor) return nullptr;
  HWND window = editor->CreateModeless(parent);
  if (!window) {
    delete editor;
    return nullptr;
  }
  editor->Remember(window);
  ShowWindow(window, SW_SHOW);
  return window;
}

HWND FrameUserDicEditor() { return g_frameEditor; }

void SetFrameUserDicEditor(HWND editor) { g_frameEditor = editor; }

}  // namespace dalmok
