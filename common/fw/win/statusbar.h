// The frame's status bar over msctls_statusbar32: panes by ids, the first
// the message pane (prompts of the command pointed at, else the idle
// message) that takes what the others leave; the others as wide as a sizing
// text in the bar's font. The indicator panes show "CAP", "NUM" and "SCRL"
// while their keys are on; other panes with an id show the text that the
// command routing's update-UI gives for it, at idle.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>
#include <vector>

#include "command_target.h"
#include "window.h"

namespace fw {

class FrameWindow;

inline constexpr unsigned kIndicatorCaps = 59137;
inline constexpr unsigned kIndicatorNum = 59138;
inline constexpr unsigned kIndicatorScroll = 59139;
// The program's idle message ("レディ" when it has none).
inline constexpr unsigned kIdleMessageString = 57344;

struct StatusPane {
  unsigned id = 0;           // 0: a pane set only by its index
  std::wstring sizingText;   // empty: the pane stretches (the message pane)
};

class StatusBar : public Window {
 public:
  explicit StatusBar(const Module& module) : module_(module) {}
  // The frame no longer counts on a bar object that is gone.
  ~StatusBar() override;

  bool Create(FrameWindow& frame, UINT id, DWORD style = WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP);
  // The panes; an indicator pane without a sizing text is sized for its
  // text. The message pane starts with the idle message.
  bool SetPanes(std::span<const StatusPane> panes);
  int PaneCount() const { return static_cast<int>(panes_.size()); }
  // The index of the pane with the id, or -1.
  int PaneIndex(unsigned id) const;
  void SetPaneText(int index, const std::wstring& text);
  bool SetPaneTextById(unsigned id, const std::wstring& text);
  std::wstring PaneText(int index) const;
  // The pane's right edge as set in the control.
  int PaneEdge(int index) const;

  // The message pane.
  void SetMessage(const std::wstring& text) { SetPaneText(0, text); }
  void ShowIdleMessage();
  std::wstring IdleMessage() const;

  void UpdateUi(FrameWindow& frame);

  // Shown by its own style, whether the frame is visible yet or not.
  bool IsShown() const { return hwnd() && (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE); }
  int Height() const;
  // Pane widths again for the bar's size and font.
  void SizePanes();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::wstring IndicatorText(unsigned id) const;

  void LeaveFrame();

  Module module_;
  FrameWindow* frame_ = nullptr;
  std::vector<StatusPane> panes_;
  CommandStateCache shown_;
};

}  // namespace fw
