#include "statusbar.h"

#include <commctrl.h>

#include "bar_layout.h"
#include "frame.h"
#include "gdi.h"

namespace fw {

StatusBar::~StatusBar() { LeaveFrame(); }

void StatusBar::LeaveFrame() {
  if (frame_ && frame_->statusBar() == this) frame_->SetStatusBar(nullptr);
  frame_ = nullptr;
}

bool StatusBar::Create(FrameWindow& frame, UINT id, DWORD style) {
  HWND w = CreateWindowExW(0, STATUSCLASSNAMEW, L"", style | WS_CHILD, 0, 0, 0, 0, frame.hwnd(),
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), module_.handle(), nullptr);
  if (!w) return false;
  if (!Subclass(w)) {
    DestroyWindow(w);
    return false;
  }
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  frame_ = &frame;
  frame.SetStatusBar(this);
  return true;
}

std::wstring StatusBar::IndicatorText(unsigned id) const {
  std::wstring text = module_.String(id);
  if (!text.empty()) return text;
  switch (id) {
    case kIndicatorCaps: return L"CAP";
    case kIndicatorNum: return L"NUM";
    case kIndicatorScroll: return L"SCRL";
    default: return {};
  }
}

bool StatusBar::SetPanes(std::span<const StatusPane> panes) {
  if (!hwnd() || panes.empty() || panes.size() > 255) return false;
  panes_.assign(panes.begin(), panes.end());
  for (StatusPane& p : panes_) {
    if (p.sizingText.empty()) p.sizingText = IndicatorText(p.id);
  }
  shown_.Forget();
  SizePanes();
  ShowIdleMessage();
  return true;
}

void StatusBar::SizePanes() {
  if (!hwnd() || panes_.empty()) return;
  int borders[3]{};
  SendMessageW(hwnd(), SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  ClientDc dc(hwnd());
  Selection selected(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  std::vector<int> widths;
  widths.reserve(panes_.size());
  for (const StatusPane& p : panes_) {
    if (p.sizingText.empty()) {
      widths.push_back(kStretchPane);
      continue;
    }
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), p.sizingText.c_str(), static_cast<int>(p.sizingText.size()), &extent);
    // The control draws the text a few pixels in from the pane's edge.
    widths.push_back(StatusPaneWidth(extent.cx, borders[0] + 3));
  }
  RECT client{};
  GetClientRect(hwnd(), &client);
  int room = client.right;
  HWND parent = GetParent(hwnd());
  if ((GetWindowLongW(hwnd(), GWL_STYLE) & SBARS_SIZEGRIP) && !(parent && IsZoomed(parent)))
    room -= GetSystemMetrics(SM_CXVSCROLL);
  const std::vector<int> edges = StatusPaneEdges(widths, room, borders[2]);
  SendMessageW(hwnd(), SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
}

int StatusBar::PaneIndex(unsigned id) const {
  if (id == 0) return -1;
  for (std::size_t i = 0; i < panes_.size(); ++i)
    if (panes_[i].id == id) return static_cast<int>(i);
  return -1;
}

void StatusBar::SetPaneText(int index, const std::wstring& text) {
  if (!hwnd() || index < 0 || index >= PaneCount()) return;
  if (PaneText(index) == text) return;  // no flicker from an unchanged text at idle
  SendMessageW(hwnd(), SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

bool StatusBar::SetPaneTextById(unsigned id, const std::wstring& text) {
  const int index = PaneIndex(id);
  if (index < 0) return false;
  SetPaneText(index, text);
  return true;
}

std::wstring StatusBar::PaneText(int index) const {
  if (!hwnd() || index < 0 || index >= PaneCount()) return {};
  const LRESULT r = SendMessageW(hwnd(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
  std::wstring text(LOWORD(r) + 1, L'\0');
  SendMessageW(hwnd(), SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

int StatusBar::PaneEdge(int index) const {
  if (!hwnd() || index < 0 || index >= PaneCount()) return 0;
  std::vector<int> edges(panes_.size());
  SendMessageW(hwnd(), SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  return edges[static_cast<std::size_t>(index)];
}

std::wstring StatusBar::IdleMessage() const {
  std::wstring text = module_.String(kIdleMessageString);
  return text.empty() ? std::wstring(L"レディ") : text;
}

void StatusBar::ShowIdleMessage() { SetMessage(IdleMessage()); }

void StatusBar::UpdateUi(FrameWindow& frame) {
  for (std::size_t i = 1; i < panes_.size(); ++i) {
    const unsigned id = panes_[i].id;
    if (id == 0) continue;
    int key = 0;
    if (id == kIndicatorCaps) key = VK_CAPITAL;
    if (id == kIndicatorNum) key = VK_NUMLOCK;
    if (id == kIndicatorScroll) key = VK_SCROLL;
    if (key) {
      SetPaneText(static_cast<int>(i), (GetKeyState(key) & 1) ? IndicatorText(id) : std::wstring());
      continue;
    }
    const CommandState state = frame.QueryCommand(id);
    if (!shown_.Changed(id, state) || !state.text) continue;
    SetPaneText(static_cast<int>(i), std::wstring(state.text->begin(), state.text->end()));
  }
}

int StatusBar::Height() const {
  if (!IsShown()) return 0;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.bottom - r.top;
}

bool StatusBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SIZE:
      result = CallDefault(message, wParam, lParam);
      SizePanes();
      return true;
    case WM_SETFONT:
      result = CallDefault(message, wParam, lParam);
      SizePanes();
      return true;
    case WM_NCDESTROY:
      LeaveFrame();
      return false;
    default:
      return false;
  }
}

}  // namespace fw
