// "辞書一覧" (dialog 149): the entries of one user dictionary, 13 rows a
// page, with delete and find; "検索文字列の指定" (dialog 151), its prompt.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>

#include "candidate_list_rules.h"
#include "dialog.h"
#include "dic_edit.h"
#include "dic_list.h"
#include "gdi.h"
#include "help.h"
#include "ime_layouts.h"
#include "owner_draw_list.h"
#include "part_of_speech.h"
#include "text_codes.h"
#include "user_dic_dialogs.h"
#include "user_dic_resource.h"
#include "dalmok_help.h"
#include "user_dic_win.h"

namespace dalmok {
namespace {

constexpr std::string_view kListCaption = "辞書一覧";
constexpr std::string_view kSearchCaption = "検索文字列の指定";

HFONT MakeFont(HWND window, const wchar_t* face, int points, BYTE charset) {
  HDC dc = GetDC(window);
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(window, dc);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

class CSearchStringDlg final : public fw::Dialog {
 public:
  explicit CSearchStringDlg(HINSTANCE module) : fw::Dialog(fw::Module{module}, IDD_SEARCH_STRING) {}
  ~CSearchStringDlg() override {
    if (font_) DeleteObject(font_);
  }
  std::string text;  // Shift-JIS

 protected:
  bool OnInitDialog() override {
    SetWindowTextW(hwnd(), Utf8ToWide(kSearchCaption).c_str());
    HWND field = GetDlgItem(hwnd(), IDC_SEARCH_TEXT);
    RECT r{};
    GetClientRect(field, &r);
    font_ = SetFieldFont(field, L"ＭＳ Ｐ明朝", SHIFTJIS_CHARSET, (r.bottom - r.top) - 8, log_);
    SendDlgItemMessageA(hwnd(), IDC_SEARCH_TEXT, EM_LIMITTEXT, 40, 0);
    SetDlgItemTextW(hwnd(), IDC_SEARCH_LABEL, L"検索日本語文字");
    const std::string& ime = DicContext().japaneseIme;
    if (!ime.empty()) {
      const HKL layout = reinterpret_cast<HKL>(codeconv::FindImeLayoutByName(ime));
      if (layout && layout != GetKeyboardLayout(0)) codeconv::ActivateImeByName(hwnd(), ime);
    }
    return true;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_SEARCH_OK && HIWORD(wParam) == BN_CLICKED) {
      text = FieldBytes(GetDlgItem(hwnd(), IDC_SEARCH_TEXT));
      if (text.empty()) {
        MessageBeep(0);
        return true;
      }
      EndDialog(IDOK);
      return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) return true;  // Enter stays with the OK button
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

 private:
  HFONT font_ = nullptr;
  LOGFONTA log_{};
};

class CDicListDlg final : public fw::Dialog {
 public:
  CDicListDlg(HINSTANCE module, const std::string& name)
      : fw::Dialog(fw::Module{module}, IDD_DIC_LIST), name_(name), pager_(*DicContext().engine, name) {}
  ~CDicListDlg() override {
    if (listFont_) DeleteObject(listFont_);
    if (koreanFont_) DeleteObject(koreanFont_);
  }
  int result = 0;

 protected:
  bool OnInitDialog() override {
    SetWindowTextW(hwnd(), Utf8ToWide(kListCaption).c_str());
    listFont_ = MakeFont(hwnd(), L"ＭＳ 明朝", 10, SHIFTJIS_CHARSET);
    koreanFont_ = MakeFont(hwnd(), L"KS Mincho", 12, HANGUL_CHARSET);
    list_ = GetDlgItem(hwnd(), IDC_LIST_ENTRIES);
    // The Japanese columns in the list's font; the translation column (KS
    // code) drawn by the list itself with the Korean font, over whole rows.
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), FALSE);
    ownerList_.SubclassList(list_, 949);
    ownerList_.SetFontColumn(2);
    ownerList_.SetDrawStyle(workbench::candidates::kWholeRow, koreanFont_);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    RECT r{};
    GetClientRect(list_, &r);
    const int width = r.right - r.left;
    AddListColumn(list_, 0, L"原語", width * 20 / 50);
    AddListColumn(list_, 1, L"品詞", width * 9 / 50);
    AddListColumn(list_, 2, L"訳語", width * 20 / 50);
    // Rows 20 pixels high: an image list of that height sets it.
    HIMAGELIST rows = ImageList_Create(1, 20, ILC_COLOR, 1, 0);
    ListView_SetImageList(list_, rows, LVSIL_SMALL);
    HWND combo = GetDlgItem(hwnd(), IDC_LIST_DICTIONARY);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name_).c_str()));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetDlgItemTextW(hwnd(), IDCANCEL, L"戻る");
    // The list's paging and row keys are the dialog's: the list never moves
    // past its page by itself.
    SetWindowSubclass(list_, ListKeys, 1, reinterpret_cast<DWORD_PTR>(this));
    pager_.Open();
    Show();
    return true;
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_HELP:
        ShowHelp();
        return false;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom != list_) return false;
        if (header->code == LVN_ITEMCHANGED) {
          const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
          if ((change->uNewState & LVIS_SELECTED) && !filling_) {
            pager_.Select(change->iItem);
            ShowRowNumber();
          }
          return true;
        }
        return false;
      }
      case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) break;
        switch (LOWORD(wParam)) {
          case IDOK: return true;  // Enter does not close the dialog
          case IDC_LIST_NEXT: Page(true); return true;
          case IDC_LIST_PREVIOUS: Page(false); return true;
          case IDC_LIST_FIND: Find(); return true;
          case IDC_LIST_MODIFY: Modify(); return true;
          case IDC_LIST_DELETE: Delete(); return true;
          case IDC_LIST_HELP: ShowHelp(); return true;
          case IDCANCEL: EndDialog(IDCANCEL); return true;
          default: break;
        }
        break;
      default:
        break;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

 private:
  void ShowHelp() { dalmok::ShowHelp(workbench::help::kHelpContextDictionaryList); }

  void Show() {
    filling_ = true;
    ListView_DeleteAllItems(list_);
    ownerList_.fontTexts.clear();
    const auto& rows = pager_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const auto& r = rows[i];
      std::wstring source = Wide(932, std::string(r.listedSource, strnlen(r.listedSource, sizeof r.listedSource)));
      const std::wstring pos = Utf8ToWide(workbench::ListPartOfSpeechName(
          {r.partOfSpeech[0], r.partOfSpeech[1], static_cast<int8_t>(r.partOfSpeech[2])}));
      const std::string ks(r.korean, strnlen(r.korean, sizeof r.korean));
      const std::wstring korean = KsToWide(ks);
      ownerList_.fontTexts.push_back(ks);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = source.data();
      ListView_InsertItem(list_, &item);
      ListView_SetItemText(list_, static_cast<int>(i), 1, const_cast<wchar_t*>(pos.c_str()));
      ListView_SetItemText(list_, static_cast<int>(i), 2, const_cast<wchar_t*>(korean.c_str()));
    }
    if (pager_.Selection() >= 0) {
      ListView_SetItemState(list_, pager_.Selection(), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list_, pager_.Selection(), FALSE);
    }
    filling_ = false;
    SetDlgItemTextW(hwnd(), IDC_LIST_COUNT, std::to_wstring(pager_.Total()).c_str());
    ShowRowNumber();
    const bool any = pager_.Total() > 0;
    EnableWindow(list_, any);
    EnableWindow(GetDlgItem(hwnd(), IDC_LIST_NEXT), any && pager_.CanPageForward());
    EnableWindow(GetDlgItem(hwnd(), IDC_LIST_PREVIOUS), any && pager_.CanPageBackward());
    EnableWindow(GetDlgItem(hwnd(), IDC_LIST_FIND), any);
    EnableWindow(GetDlgItem(hwnd(), IDC_LIST_MODIFY), any);
    EnableWindow(GetDlgItem(hwnd(), IDC_LIST_DELETE), any);
  }

  void ShowRowNumber() { SetDlgItemTextW(hwnd(), IDC_LIST_ROW, Utf8ToWide(pager_.RowNumberText()).c_str()); }

  void Page(bool forward) {
    if (!(forward ? pager_.PageForward() : pager_.PageBackward())) {
      MessageBeep(0);
      return;
    }
    Show();
  }

  static LRESULT CALLBACK ListKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_KEYDOWN) {
      switch (wParam) {
        case VK_NEXT: case VK_PRIOR: case VK_UP: case VK_LEFT: case VK_DOWN: case VK_RIGHT: case VK_DELETE:
          reinterpret_cast<CDicListDlg*>(data)->OnListKey(static_cast<WORD>(wParam));
          return 0;
        default:
          break;
      }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, ListKeys, 1);
    return DefSubclassProc(list, message, wParam, lParam);
  }

  void OnListKey(WORD key) {
    switch (key) {
      case VK_NEXT: Page(true); break;
      case VK_PRIOR: Page(false); break;
      case VK_UP:
      case VK_LEFT:
      case VK_DOWN:
      case VK_RIGHT: {
        const bool up = key == VK_UP || key == VK_LEFT;
        const int before = pager_.FirstRow();
        if (!(up ? pager_.MoveUp() : pager_.MoveDown())) MessageBeep(0);
        if (pager_.FirstRow() != before) {
          Show();
        } else if (pager_.Selection() >= 0) {
          filling_ = true;
          ListView_SetItemState(list_, pager_.Selection(), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
          filling_ = false;
          ShowRowNumber();
        }
        break;
      }
      case VK_DELETE: Delete(); break;
      default: break;
    }
  }

  void Modify() {
    const int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    if (row < 0) {
      DicWarn(hwnd(), workbench::kChooseEntry);
      return;
    }
    pager_.Select(row);
    result = pager_.Rows()[static_cast<std::size_t>(row)].number;
    EndDialog(IDOK);
  }

  void Delete() {
    const int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    if (row < 0) return;
    if (!DicAskYesNo(hwnd(), workbench::kDeleteQuestion)) return;
    pager_.Select(row);
    // The engine deletes first; the page follows only what it did.
    if (pager_.DeleteSelected() < 0) {
      MessageBeep(MB_ICONEXCLAMATION);
      return;
    }
    result = -1;
    Show();
  }

  void Find() {
    CSearchStringDlg prompt(DicContext().module);
    if (prompt.DoModal(hwnd()) != IDOK || prompt.text.empty()) return;
    workbench::DicListPager::Found found;
    {
      fw::WaitCursor wait;
      found = pager_.Find(prompt.text);
      if (found.count > 0) pager_.ShowEntry(found.number);
    }
    DicWarn(hwnd(), workbench::FoundMessage(found.count), MB_ICONASTERISK, MB_ICONINFORMATION);
    if (found.count > 0) {
      Show();
      SetFocus(list_);
    }
  }

  std::string name_;
  workbench::DicListPager pager_;
  HWND list_ = nullptr;
  COwnerDrawList ownerList_;
  HFONT listFont_ = nullptr, koreanFont_ = nullptr;
  bool filling_ = false;
};

}  // namespace

int RunDicListDialog(HWND parent, const std::string& dictionaryName) {
  CDicListDlg dialog(DicContext().module, dictionaryName);
  dialog.DoModal(parent);
  return dialog.result;
}

}  // namespace dalmok
