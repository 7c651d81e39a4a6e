#include "sdi.h"

namespace fw {

namespace {
std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
}  // namespace

SdiFrames::SdiFrames(Resources resources, FrameFactory makeFrame, ViewFactory makeView)
    : resources_(std::move(resources)), makeFrame_(std::move(makeFrame)), makeView_(std::move(makeView)) {}

SdiFrames::~SdiFrames() { DestroyFrame(); }

bool SdiFrames::CreateFrame(Document& document) {
  frame_ = makeFrame_();
  if (!frame_ || !frame_->CreateFrame(resources_.programName, resources_.menuId, resources_.acceleratorId,
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, resources_.place)) {
    frame_.reset();
    return false;
  }
  if (makeView_) {
    view_ = makeView_(document, *frame_);
    if (!view_ || !view_->hwnd()) {
      DestroyFrame();
      return false;
    }
    frame_->SetActiveView(view_.get());
  } else if (!frame_->OnCreateClient(document) || !frame_->ActiveView()) {
    DestroyFrame();
    return false;
  }
  App* app = App::Current();
  if (app && !app->MainWindow()) app->SetMainWindow(frame_->hwnd());
  return true;
}

void SdiFrames::DestroyFrame() {
  // The objects may be on the stack of a message of their windows (WM_CLOSE
  // of the frame): they go once that has returned.
  if (frame_ && frame_->hwnd()) DestroyWindow(frame_->hwnd());
  if (view_) Window::DeleteLater(view_.release());
  if (frame_) Window::DeleteLater(frame_.release());
  shown_ = false;
}

void SdiFrames::InitialUpdateFrame(Document& document, bool makeVisible) {
  document.InitialUpdateAllViews();
  if (!frame_) return;
  frame_->UpdateFrameTitle();
  if (makeVisible && !shown_) {
    frame_->ActivateFrame(resources_.showCommand);
    shown_ = true;
  }
  View* active = frame_->ActiveView();
  if (active && active->hwnd() && GetActiveWindow() == frame_->hwnd()) SetFocus(active->hwnd());
}

SaveAnswer Win32DocumentUi::AskToSave(std::u16string_view name) {
  std::u16string text(kAskToSaveText);
  const std::wstring own = module_.String(kIdsAskToSave);
  if (!own.empty()) text.assign(own.begin(), own.end());
  const std::wstring prompt = Wide(AskToSavePrompt(name, text));
  App* app = App::Current();
  const std::wstring caption = app ? app->programName() : L"";
  switch (MessageBoxW(app ? app->MainWindow() : nullptr, prompt.c_str(), caption.c_str(),
                      MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES: return SaveAnswer::kYes;
    case IDNO: return SaveAnswer::kNo;
    default: return SaveAnswer::kCancel;
  }
}

bool Win32DocumentUi::Exists(std::u16string_view path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32DocumentUi::IsReadOnly(std::u16string_view path) {
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_READONLY) != 0;
}

void Win32DocumentUi::Remove(std::u16string_view path) { DeleteFileW(Wide(path).c_str()); }

void Win32DocumentUi::BeginWait() {
  if (waits_++ == 0) before_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void Win32DocumentUi::EndWait() {
  if (waits_ > 0 && --waits_ == 0) SetCursor(before_);
}

}  // namespace fw
