// The view's commands whose dialogs belong to the program: find (57636) and
// replace (57641), font (32771) and settings (32776). The program gives its
// view an implementation; without one the commands stay unhandled.
#pragma once

namespace editorview {

class HangulView;

class ViewDialogs {
 public:
  virtual ~ViewDialogs() = default;
  // The find/replace sheet opened on its find page (or its replace page),
  // or the open one activated and switched to that page.
  virtual void OpenFindReplace(HangulView& view, bool replace) = 0;
  virtual void ChooseFont(HangulView& view) = 0;
  virtual void EditSettings(HangulView& view) = 0;
};

}  // namespace editorview
