// CWordSelectDlg: the translation-word chooser (template 239). It lists the
// candidates of a Japanese word from the engine's user dictionaries and
// system dictionary, replaces the word's translation in the alignment
// entry of the last translation, changes their order within one
// dictionary, opens the user dictionary editor and copies a candidate.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog.h"
#include "gm_converter.h"
#include "owner_draw_list.h"
#include "word_choice.h"

namespace dalmok {

struct WordSelectInputs {
  int codeMode = 1;  // 1 KS, 0 GM
  const codeconv::GmCodeConverter* gm = nullptr;
  workbench::choice::WordPair pair;  // words, entry, no-pair flag
  std::string imeName;               // the Japanese input method of the settings
  // The frame's user dictionary editor window, or null.
  std::function<HWND()> frameEditor;
  // Opens an editor on word with parent; null when it cannot be made.
  std::function<HWND(HWND parent, const std::string& word)> openEditor;
};

class CWordSelectDlg final : public fw::Dialog {
 public:
  CWordSelectDlg(const fw::Module& module, WordSelectInputs inputs, workbench::UserDicEngine& engine);
  ~CWordSelectDlg() override;
  // A translation was written into the alignment entry (whatever the
  // dialog's result: a refused order change after it ends with 3).
  bool Replaced() const { return replaced_; }

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Search();
  void ShowRow(int row, bool insert);
  void MoveSelected(bool up);
  void Replace();
  void Register();
  void Copy();
  void PopupMenu(POINT at);
  void ActivateJapaneseLayout();
  void Layout();
  void Refusal(int code);
  int SelectedRow() const;
  void SelectRow(int row);
  void Box(const wchar_t* text, UINT icon = MB_ICONEXCLAMATION);
  std::string ToModeCode(const std::string& ks) const;

  WordSelectInputs in_;
  workbench::choice::Candidates candidates_;
  COwnerDrawList list_;
  HWND search_ = nullptr;
  HFONT koreanFont_ = nullptr, japaneseFont_ = nullptr;
  LOGFONTA koreanLog_{}, japaneseLog_{};
  std::string word_;     // the opener's word, trimmed and widened
  HKL japaneseLayout_ = nullptr;
  HWND editor_ = nullptr;  // the editor this dialog opened
  bool replaced_ = false;
  bool fixedVerb_ = false;
  std::string fixedKorean_;  // its word (KS code)  // a fixed verb was shown: no replacing, learning or registering
  SIZE minimum_{306, 306};
  RECT initialWindow_{}, initialClient_{};
  struct Placement {
    HWND control;
    RECT rect;
  };
  std::vector<Placement> placements_;
};

}  // namespace dalmok
