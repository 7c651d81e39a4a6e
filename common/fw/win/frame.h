// The frame window of a document program: its menu and accelerators from an
// explicit module, the view in its client area between the tool bar and the
// status bar, the routing of commands (active view, its document, the frame,
// the application) and the update-UI of its menus, and the document's title
// in its caption.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app.h"
#include "command_target.h"
#include "window.h"

namespace fw {

class View;

// Child ids of the frame's standard windows.
inline constexpr UINT kToolBarId = 0xE800;
inline constexpr UINT kStatusBarId = 0xE801;  // 59393
inline constexpr UINT kFirstPaneId = 0xE900;

class FrameWindow : public Window, public CommandTarget, public MessageFilter {
 public:
  explicit FrameWindow(const Module& module) : module_(module) {}
  ~FrameWindow() override;

  // Creates the frame with the menu and the accelerator table of the module
  // (0: none); place null: the system's default place.
  HWND CreateFrame(const std::wstring& programName, unsigned menuId, unsigned acceleratorId,
                   DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, const RECT* place = nullptr);
  const Module& module() const { return module_; }

  void SetActiveView(View* view);
  View* ActiveView() const { return view_; }

  // Commands through the chain (active view, its document, this frame, the
  // application), and their state.
  bool RouteCommand(unsigned id);
  CommandState QueryCommand(unsigned id);
  // Every item of a popup menu enabled, checked and titled by its state.
  void UpdateMenuItems(HMENU popup);

  // The caption "<document title> - <program name>".
  void UpdateFrameTitle();
  // Lays the tool bar, the status bar and the view out in the client area.
  virtual void RecalcLayout();
  // The idle pass over the elements that show command states.
  virtual void OnIdleUpdateUi() {}
  // Shows the frame when its first document is ready (the template calls
  // it once); a program that restores its window's place overrides it.
  virtual void ActivateFrame(int showCommand);

  // The frame's accelerators.
  bool PreTranslateMessage(MSG& msg) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  Module module_;
  std::wstring programName_;
  HACCEL accelerators_ = nullptr;
  View* view_ = nullptr;
};

}  // namespace fw
