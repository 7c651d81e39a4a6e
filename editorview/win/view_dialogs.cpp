// The view's commands that the program's dialogs carry out (view_dialogs.h).
#include "view_dialogs.h"

#include "hangul_view.h"

namespace editorview {

bool HangulView::DialogCommand(unsigned id, fw::CommandState* state) {
  if (!dialogs_) return false;
  const bool find = id == kCmdFind || id == kCmdReplace;
  if (find && !params_.variant->findReplace) return false;
  if (!find && id != kCmdFont && id != kCmdSettings) return false;
  if (state) {
    state->enabled = engine_->CommandEnabled(id);
    return true;
  }
  if (!engine_->CommandEnabled(id)) return true;
  if (find) {
    dialogs_->OpenFindReplace(*this, id == kCmdReplace);
  } else if (id == kCmdFont) {
    dialogs_->ChooseFont(*this);
  } else {
    dialogs_->EditSettings(*this);
  }
  return true;
}

}  // namespace editorview
