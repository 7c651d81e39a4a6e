// The window side of the single-document template: one frame with one view,
// made by the program's factories the first time a document opens, and the
// user's and the file system's side of saving.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "document.h"
#include "frame.h"
#include "view.h"

namespace fw {

class SdiFrames final : public FrameMaker {
 public:
  struct Resources {
    std::wstring programName;
    unsigned menuId = 0;
    unsigned acceleratorId = 0;
    int showCommand = SW_SHOWNORMAL;  // of the first show
    const RECT* place = nullptr;      // null: the system's default place
  };
  using FrameFactory = std::function<std::unique_ptr<FrameWindow>()>;
  // Makes the view object of the document; the frame creates its window.
  // Without one, the frame builds its own client (FrameWindow::OnCreateClient:
  // a splitter with its panes) and keeps its views.
  using ViewFactory = std::function<std::unique_ptr<View>(Document&, FrameWindow&)>;

  SdiFrames(Resources resources, FrameFactory makeFrame, ViewFactory makeView);
  ~SdiFrames() override;

  FrameWindow* Frame() const { return frame_.get(); }
  View* ActiveView() const { return frame_ ? frame_->ActiveView() : nullptr; }

  bool CreateFrame(Document& document) override;
  void DestroyFrame() override;
  void InitialUpdateFrame(Document& document, bool makeVisible) override;

 private:
  Resources resources_;
  FrameFactory makeFrame_;
  ViewFactory makeView_;
  std::unique_ptr<FrameWindow> frame_;
  std::unique_ptr<View> view_;
  bool shown_ = false;
};

// Saving through message boxes and the file system. The file dialog is the
// program's (PromptSaveName).
class Win32DocumentUi : public DocumentUi {
 public:
  explicit Win32DocumentUi(const Module& module) : module_(module) {}
  // AskToSavePrompt in a box with Yes, No and Cancel, owned by the main window.
  SaveAnswer AskToSave(std::u16string_view name) override;
  bool Exists(std::u16string_view path) override;
  bool IsReadOnly(std::u16string_view path) override;
  void Remove(std::u16string_view path) override;
  void BeginWait() override;
  void EndWait() override;

 private:
  Module module_;
  int waits_ = 0;
  HCURSOR before_ = nullptr;
};

// The document UI of a program whose document is never saved: no name is
// ever asked for.
class NeverSavingDocumentUi final : public Win32DocumentUi {
 public:
  using Win32DocumentUi::Win32DocumentUi;
  std::optional<std::u16string> PromptSaveName(std::u16string_view, unsigned) override { return std::nullopt; }
};

}  // namespace fw
