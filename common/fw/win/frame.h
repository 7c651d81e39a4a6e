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
#include "pane_site.h"
#include "window.h"

namespace fw {

class Document;
class View;
class ToolBar;
class StatusBar;

// Child ids of the frame's standard windows (the first pane's: pane_site.h).
inline constexpr UINT kToolBarId = 0xE800;
inline constexpr UINT kStatusBarId = 0xE801;  // 59393

// The framework's commands that step the focus through the panes of a
// frame whose client is a splitter (F6 and Shift+F6 in programs' tables).
namespace cmd {
inline constexpr unsigned kNextPane = 0xE150;  // 57680
inline constexpr unsigned kPrevPane = 0xE151;  // 57681
}  // namespace cmd

class FrameWindow : public Window, public CommandTarget, public MessageFilter {
 public:
  explicit FrameWindow(const Module& module) : module_(module) {}
  ~FrameWindow() override;

  // Creates the frame with the menu and the accelerator table of the module
  // (0: none); place null: the system's default place.
  HWND CreateFrame(const std::wstring& programName, unsigned menuId, unsigned acceleratorId,
                   DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, const RECT* place = nullptr);
  const Module& module() const { return module_; }

  // The view that commands go to first. The views of a splitter's panes
  // make themselves active when they are clicked or take the focus; focus
  // also gives the view the keyboard focus. Each view hears of the change
  // (OnActivateView).
  void SetActiveView(View* view, bool focus = false);
  View* ActiveView() const { return view_; }

  // The window that fills the client area between the bars: a splitter, or
  // null for the active view itself (a frame of one view).
  void SetClientWindow(Window* client);
  Window* ClientWindow() const { return client_; }
  // Builds the frame's client for its document when the template has no
  // view factory (a frame of splitter panes): creates the client window and
  // its views and makes one of them active. False fails the frame.
  virtual bool OnCreateClient(Document& /*document*/) { return false; }

  // Commands through the chain (active view, its document, this frame, the
  // application), and their state.
  bool RouteCommand(unsigned id);
  CommandState QueryCommand(unsigned id);
  // A command of the frame's own whose id a view also uses for one of its
  // commands: it goes to the frame (and the application), never to the views.
  virtual bool FrameFirst(unsigned /*id*/) const { return false; }
  // Every item of a popup menu enabled, checked and titled by its state.
  void UpdateMenuItems(HMENU popup);

  // The caption "<document title> - <program name>", or the program name
  // alone in a frame that leaves the document out of it.
  void UpdateFrameTitle();
  void SetDocumentInTitle(bool shown) { documentInTitle_ = shown; }
  // Lays the tool bar, the status bar and the view out in the client area.
  virtual void RecalcLayout();
  // The idle pass over the elements that show command states (the control
  // bars; a frame that adds its own calls this too).
  virtual void OnIdleUpdateUi();

  // Control bars (dock.cpp). A tool bar and the status bar join the frame
  // when they are created; the frame lays them out and, as a command target,
  // takes a bar's id as the command that shows or hides it (checked while
  // shown).
  void AddToolBar(ToolBar& bar);
  void RemoveToolBar(ToolBar& bar);
  ToolBar* FindToolBar(UINT id) const;
  void SetStatusBar(StatusBar* bar) { statusBar_ = bar; }
  StatusBar* statusBar() const { return statusBar_; }
  // Shows or hides the bar with the id (a tool bar or the status bar) and
  // lays the client area out again; false when there is no such bar.
  bool ShowControlBar(UINT id, bool show);
  bool IsControlBarShown(UINT id) const;
  // The message pane: the prompt of a command's string (before "\n"), or the
  // idle message for 0.
  void ShowPrompt(unsigned commandId);
  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, CommandState& state) override;
  // Shows the frame when its first document is ready (the template calls
  // it once); a program that restores its window's place overrides it.
  virtual void ActivateFrame(int showCommand);

  // The frame's accelerators.
  bool PreTranslateMessage(MSG& msg) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The bars' part of the frame's messages (menu prompts).
  bool OnBarMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnBarCommand(unsigned id);
  bool OnUpdateBarCommand(unsigned id, CommandState& state);
  void LayOutControlBars(HWND client);

  Module module_;
  std::wstring programName_;
  bool documentInTitle_ = true;
  HACCEL accelerators_ = nullptr;
  View* view_ = nullptr;
  Window* client_ = nullptr;
  std::vector<ToolBar*> toolBars_;
  StatusBar* statusBar_ = nullptr;
};

}  // namespace fw
