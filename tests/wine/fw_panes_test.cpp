// Wine test of the framework's splitters and control views (one process):
//
//   fw_panes_test.exe <screenshot folder>
//
// A document program of the framework whose template has no view factory:
// its frame (tool bar, status bar, menu, accelerators) builds its own client
// as the listening program lays it out, an outer static splitter of 1 x 2
// with a contents tree on the left and, on the right, a nested splitter of
// 3 x 1 with an ANSI edit view, the Hangul editor view (CTavrinView) and a
// read-only rich-edit view. Checked, every response waited for:
//   - the panes' rectangles follow the portable geometry, before and after
//     the frame is resized, and the splitter lies between the bars;
//   - the bars' cursors; dragging a bar with the mouse moves it (tracking
//     line, or live), holds it inside its neighbours, collapses a pane
//     dragged below its minimum (the active pane moving on), or stops at the
//     minimums; Esc cancels a drag;
//   - a click makes a pane the frame's active view, and commands go to it;
//     F6 and Shift+F6 step the focus through the panes, nested ones included;
//   - keys typed land in the focused pane; the edit view's changes and the
//     rich edit's selection changes reach their objects through the splitter;
//   - the rich-edit view loads text (UTF-16 and Shift-JIS) and rich text
//     through EM_STREAMIN, in pieces, and takes formats and colours;
//   - the tree's selection by mouse, keyboard and program reaches the view
//     object, which updates the document's other views;
//   - a screenshot; closing leaves no window object attached.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app.h"
#include "check.h"
#include "control_views.h"
#include "frame.h"
#include "hangul_view.h"
#include "input.h"
#include "screenshot.h"
#include "sdi.h"
#include "splitter.h"
#include "splitter_geometry.h"
#include "statusbar.h"
#include "test_documents.h"
#include "toolbar.h"
#include "view_resources.h"
#include "wait.h"

using wtest::check;
using wtest::note;

namespace {

constexpr wchar_t kProgram[] = L"PanesTest";
constexpr unsigned kMenu = 128;
constexpr unsigned kAccelerators = 128;
constexpr unsigned kProbe = 40001;  // a command the test's own panes count

std::string Show(const RECT& r) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "(%ld,%ld,%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return buf;
}
std::string Show(const fw::Box& b) { return Show(RECT{b.left, b.top, b.right, b.bottom}); }

std::string Narrow(const std::wstring& s) { return fw::ToCodePage(CP_UTF8, s); }

RECT RectIn(HWND w, HWND parent) {
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Same(const RECT& r, const fw::Box& b) {
  return r.left == b.left && r.top == b.top && r.right == b.right && r.bottom == b.bottom;
}

// ---- the panes ----

// A pane of any view class that counts the probe command routed to it.
template <class Base>
class Probed : public Base {
 public:
  using Base::Base;
  int probes = 0;
  bool OnCommand(unsigned id) override {
    if (id != kProbe) return Base::OnCommand(id);
    ++probes;
    return true;
  }
  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override {
    return id == kProbe || Base::OnUpdateCommand(id, state);
  }
};

class ContentsTree final : public Probed<fw::TreeView> {
 public:
  using Probed::Probed;
  int selections = 0;
  LPARAM lastData = -1;
  UINT lastAction = 0xFFFF;

 protected:
  void OnSelChanged(HTREEITEM, HTREEITEM now, UINT action) override {
    ++selections;
    lastAction = action;
    lastData = now ? GetItemData(now) : -1;
    // As the listening program does: an item's number to the other views.
    if (lastData > 0) document().UpdateAllViews(this, static_cast<long>(lastData));
  }
};

class JapanesePane final : public Probed<fw::EditView> {
 public:
  explicit JapanesePane(fw::Document& document) : Probed(document, false) {}
  int changes = 0;
  long lastHint = 0;
  void OnCreated() override { SetLimitText(250); }
  void OnUpdate(fw::DocumentView*, long hint) override {
    if (hint <= 0) return;
    lastHint = hint;
    SetText(L"項目 " + std::to_wstring(hint));
  }

 protected:
  void OnTextChanged() override { ++changes; }
};

class KanaPane final : public Probed<fw::RichEditView> {
 public:
  explicit KanaPane(fw::Document& document) : Probed(document, true) {}
  int selectionChanges = 0;
  CHARRANGE lastRange{-1, -1};

 protected:
  void OnSelectionChanged(const CHARRANGE& range) override {
    ++selectionChanges;
    lastRange = range;
  }
};

// ---- the frame ----

class PanesFrame final : public fw::FrameWindow {
 public:
  PanesFrame(const fw::Module& module, const editorview::ViewResources& resources, const LOGFONTW& font)
      : fw::FrameWindow(module), toolBar(module), statusBar(module), outer(module), resources_(resources), font_(font) {}

  fw::ToolBar toolBar;
  fw::StatusBar statusBar;
  fw::SplitterWindow outer;
  fw::SplitterWindow* inner = nullptr;
  ContentsTree* tree = nullptr;
  JapanesePane* japanese = nullptr;
  editorview::CTavrinView* korean = nullptr;
  KanaPane* kana = nullptr;
  int clientWidth = 0;
  int usable = 0;  // the client height less an icon and 16, as the programs take it

  bool OnCreateClient(fw::Document& document) override {
    auto& lines = dynamic_cast<wtest::LinesDocument&>(document);
    RECT c{};
    GetClientRect(hwnd(), &c);
    clientWidth = c.right;
    usable = c.bottom - GetSystemMetrics(SM_CYICON) - 16;
    if (!outer.CreateStatic(*this, 1, 2)) return false;
    tree = outer.CreateView<ContentsTree>(0, 0, SIZE{clientWidth / 4, usable},
                                          [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
                                            auto v = std::make_unique<ContentsTree>(document);
                                            v->Create(frame, &site);
                                            return v;
                                          });
    inner = outer.CreateNested(0, 1, 3, 1, SIZE{0, usable});
    if (!tree || !inner) return false;
    japanese = inner->CreateView<JapanesePane>(0, 0, SIZE{0, usable / 3},
                                               [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
                                                 auto v = std::make_unique<JapanesePane>(document);
                                                 v->Create(frame, &site);
                                                 return v;
                                               });
    korean = inner->CreateView<editorview::CTavrinView>(
        1, 0, SIZE{0, usable / 3}, [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
          auto v = std::make_unique<editorview::CTavrinView>(editorview::kListeningViewParams, document, lines,
                                                             resources_, font_);
          v->Create(frame, site);
          return v;
        });
    kana = inner->CreateView<KanaPane>(2, 0, SIZE{0, 0}, [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
      auto v = std::make_unique<KanaPane>(document);
      v->Create(frame, &site, fw::RichEditView::kDefaultStyle | ES_READONLY);
      return v;
    });
    if (!japanese || !korean || !kana) return false;
    return inner->SetActivePane(0, 0);
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_CREATE) {
      if (!toolBar.Create(*this, fw::kToolBarId, L"ﾂｰﾙ ﾊﾞｰ") || !toolBar.LoadToolBar(IDR_EDITOR_TOOLBAR) ||
          !statusBar.Create(*this, fw::kStatusBarId)) {
        result = -1;
        return true;
      }
      const fw::StatusPane panes[] = {{0, L""}, {0, L"999999 /9999"}, {0, L"GM   "}};
      statusBar.SetPanes(panes);
      result = 0;
      return true;
    }
    return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
  }

 private:
  const editorview::ViewResources& resources_;
  LOGFONTW font_;
};

class PanesApp final : public fw::App {
 public:
  explicit PanesApp(const fw::Module& module) : fw::App(module, kProgram), ui_(module) {}
  bool Start() { return InitInstance(); }
  PanesFrame* Frame() const { return frames_ ? static_cast<PanesFrame*>(frames_->Frame()) : nullptr; }
  wtest::LinesDocument* Doc() const {
    return template_ ? static_cast<wtest::LinesDocument*>(template_->ActiveDocument()) : nullptr;
  }

 protected:
  bool InitInstance() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    font_.lfHeight = -21;
    font_.lfWeight = FW_NORMAL;
    font_.lfCharSet = HANGEUL_CHARSET;
    font_.lfPitchAndFamily = 1;
    lstrcpyW(font_.lfFaceName, L"NanumGothic");
    resources_.module = module();
    resources_.settings = &settings_;
    static const RECT place{20, 20, 780, 580};
    frames_ = std::make_unique<fw::SdiFrames>(
        fw::SdiFrames::Resources{kProgram, kMenu, kAccelerators, SW_SHOWNORMAL, &place},
        [this] { return std::make_unique<PanesFrame>(module(), resources_, font_); }, nullptr);
    template_ = std::make_unique<fw::SingleDocTemplate>([this] { return std::make_unique<wtest::LinesDocument>(ui_); },
                                                         *frames_);
    SetDocTemplate(template_.get());
    return template_->OpenDocumentFile(nullptr) != nullptr;
  }

 private:
  wtest::NoSaveUi ui_;
  editorview::ViewSettings settings_;
  editorview::ViewResources resources_;
  LOGFONTW font_{};
  std::unique_ptr<fw::SdiFrames> frames_;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

PanesApp* g_app = nullptr;
bool g_quit = false;

// The application's own loop (its accelerators and idle work) for about ms.
void AppPump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    if (!g_quit && !g_app->PumpWaitingMessages()) g_quit = true;
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// Waits for a state the following checks start from; says so when it never came.
template <typename Pred>
bool Until(Pred pred, const char* what) {
  const DWORD start = GetTickCount();
  const bool ok = wtest::WaitUntilPumping(AppPump, pred, wtest::Allowance());
  return check(ok, "%s (%lu ms)", what, static_cast<unsigned long>(GetTickCount() - start));
}

// A key pressed and released through the input queue, its messages left to
// the application's loop (so that its accelerators see them).
void Key(WORD vk, bool shift = false) {
  std::vector<INPUT> in;
  auto key = [&](WORD k, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(k, 0));
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  if (shift) key(VK_SHIFT, false);
  key(vk, false);
  key(vk, true);
  if (shift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

POINT Cursor() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

POINT ScreenPoint(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  return p;
}

// A drag with the left button; the distance the mouse really went (the
// input's coordinates are scaled, so a pixel may be lost on the way).
POINT Drag(POINT from, POINT to) {
  wtest::MouseTo(from);
  const POINT start = Cursor();
  wtest::MouseButton(true);
  for (int step = 1; step <= 4; ++step)
    wtest::MouseTo({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
  const POINT end = Cursor();
  wtest::MouseButton(false);
  return POINT{end.x - start.x, end.y - start.y};
}

// The panes' rectangles in the outer splitter's client area, and what the
// portable geometry gives for a tree of the same tracks there.
struct PaneRects {
  std::vector<RECT> actual;
  std::vector<fw::Box> expected;
  bool Match() const {
    if (actual.size() != expected.size()) return false;
    for (std::size_t i = 0; i < actual.size(); ++i)
      if (!Same(actual[i], expected[i])) return false;
    return true;
  }
  std::string Describe() const {
    std::string s;
    for (std::size_t i = 0; i < actual.size() && i < expected.size(); ++i)
      s += Show(actual[i]) + " for " + Show(expected[i]) + "; ";
    return s;
  }
};

// ideal: the outer first column's ideal width and the inner rows' heights.
PaneRects Measure(PanesFrame& f, int column0, int row0, int row1) {
  PaneRects m;
  for (HWND w : {f.tree->hwnd(), f.japanese->hwnd(), f.korean->hwnd(), f.kana->hwnd()})
    m.actual.push_back(RectIn(w, f.outer.hwnd()));
  RECT c{};
  GetClientRect(f.outer.hwnd(), &c);
  fw::SplitterTree tree{fw::SplitterGeometry(1, 2)};
  tree.geometry.SetColumnInfo(0, column0, 0);
  fw::SplitterTree& right = tree.Nest(0, 1, fw::SplitterGeometry(3, 1));
  right.geometry.SetRowInfo(0, row0, 0);
  right.geometry.SetRowInfo(1, row1, 0);
  m.expected = fw::LayOutTree(tree, fw::Box{0, 0, c.right, c.bottom});
  return m;
}

const char* PaneName(PanesFrame& f, const fw::View* v) {
  if (v == f.tree) return "tree";
  if (v == f.japanese) return "japanese";
  if (v == f.korean) return "korean";
  if (v == f.kana) return "kana";
  return v ? "another" : "none";
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  wtest::report().group = wtest::kOwnBits == 64 ? "win64 panes" : "win32 panes";
  if (argc != 2) {
    std::printf("usage: fw_panes_test <screenshot folder>\n");
    return 2;
  }
  wchar_t folder[MAX_PATH]{};
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, folder, MAX_PATH);
  const std::wstring shots = folder;

  const DWORD t0 = GetTickCount();
  auto section = [&](const char* name) { note("%s, from %lu ms on", name, static_cast<unsigned long>(GetTickCount() - t0)); };
  const fw::Module module = fw::Module::Containing(reinterpret_cast<const void*>(&main));
  PanesApp app(module);
  g_app = &app;
  if (!check(app.Start(), "the document opens in a frame that builds its own splitter panes")) return wtest::finish();
  PanesFrame& f = *app.Frame();
  HWND frame = f.hwnd();
  app.SetMainWindow(frame);
  SetForegroundWindow(frame);

  // ---- what was built ----
  section("what was built");
  check(f.ClientWindow() == &f.outer, "the outer splitter is the frame's client");
  check(f.inner && f.inner->outer() == &f.outer && f.outer.Pane<fw::SplitterWindow>(0, 1) == f.inner,
        "the right cell holds the nested splitter");
  check(GetParent(f.tree->hwnd()) == f.outer.hwnd() && GetParent(f.kana->hwnd()) == f.inner->hwnd(),
        "the panes are children of their splitters");
  check(GetDlgCtrlID(f.outer.hwnd()) == 0xE900 && GetDlgCtrlID(f.tree->hwnd()) == 0xE900 &&
            GetDlgCtrlID(f.inner->hwnd()) == 0xE901 && GetDlgCtrlID(f.japanese->hwnd()) == 0xE900 &&
            GetDlgCtrlID(f.korean->hwnd()) == 0xE910 && GetDlgCtrlID(f.kana->hwnd()) == 0xE920,
        "the panes' ids count from the first pane's by row and column");
  check(!IsWindowUnicode(f.japanese->hwnd()) && IsWindowUnicode(f.kana->hwnd()) && IsWindowUnicode(f.tree->hwnd()),
        "the edit view is ANSI as chosen, the rich edit and the tree Unicode");
  {
    wchar_t cls[64]{};
    GetClassNameW(f.kana->hwnd(), cls, 64);
    check(lstrcmpiW(cls, L"RichEdit20W") == 0, "the rich-edit pane is a RichEdit20W: %s", Narrow(cls).c_str());
  }
  check(SendMessageW(f.japanese->hwnd(), EM_GETLIMITTEXT, 0, 0) == 250,
        "the edit view set itself up once its control was made (limit 250)");
  check(app.Doc()->Views().size() == 4, "the four views joined the document: %zu", app.Doc()->Views().size());
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(),
      [&] { return IsWindowVisible(frame) && f.ActiveView() == f.japanese && GetFocus() == f.japanese->hwnd(); },
      [&] { return std::string("active ") + PaneName(f, f.ActiveView()); },
      "the frame shows with the Japanese pane active and focused");

  // ---- layout ----
  section("layout");
  const int column0 = f.clientWidth / 4, row0 = f.usable / 3, row1 = f.usable / 3;
  {
    const RECT sp = RectIn(f.outer.hwnd(), frame);
    const RECT status = RectIn(f.statusBar.hwnd(), frame);
    RECT client{};
    GetClientRect(frame, &client);
    check(sp.left == 0 && sp.right == client.right && sp.top == f.toolBar.Thickness() && sp.bottom == status.top,
          "the splitter fills the client between the tool bar and the status bar: %s", Show(sp).c_str());
    const PaneRects m = Measure(f, column0, row0, row1);
    check(m.Match(), "the panes lie where the geometry puts them: %s", m.Describe().c_str());
    // By hand: the tree inside its 2-pixel edge in a column a quarter of the frame's client wide.
    check(Same(m.actual[0], fw::Box{2, 2, column0 - 2, sp.bottom - sp.top - 2}), "the tree's rectangle: %s",
          Show(m.actual[0]).c_str());
  }
  const RECT before = RectIn(f.kana->hwnd(), f.outer.hwnd());
  SetWindowPos(frame, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return Measure(f, column0, row0, row1).Match(); },
      [&] { return Measure(f, column0, row0, row1).Describe(); },
      "after the frame grows the panes follow the geometry again");
  {
    const RECT tree = RectIn(f.tree->hwnd(), f.outer.hwnd());
    const RECT kana = RectIn(f.kana->hwnd(), f.outer.hwnd());
    check(tree.right - tree.left == column0 - 4, "the first column keeps its width: %ld", tree.right - tree.left);
    check(kana.top == before.top && kana.bottom - before.bottom == 140,
          "the last row takes the 140 pixels more: %s from %s", Show(kana).c_str(), Show(before).c_str());
  }

  // ---- cursors over the bars ----
  section("cursors over the bars");
  HWND outerW = f.outer.hwnd(), innerW = f.inner->hwnd();
  auto outerBar = [&] {
    return ScreenPoint(outerW, f.outer.geometry().BarPosition(fw::Axis::kColumns, 0) + 3,
                       f.outer.geometry().height() / 2);
  };
  auto innerBar = [&](int index) {
    return ScreenPoint(innerW, f.inner->geometry().width() / 2,
                       f.inner->geometry().BarPosition(fw::Axis::kRows, index) + 3);
  };
  wtest::MouseTo(outerBar());
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return GetCursor() == LoadCursorA(nullptr, IDC_SIZEWE); },
      [] { return std::string("another cursor"); }, "over the column bar the cursor points left and right");
  wtest::MouseTo(innerBar(0));
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return GetCursor() == LoadCursorA(nullptr, IDC_SIZENS); },
      [] { return std::string("another cursor"); }, "over a row bar the cursor points up and down");

  // ---- dragging ----
  section("dragging");
  {
    const int width0 = f.outer.GetColumnInfo(0).current;
    const POINT moved = Drag(outerBar(), POINT{outerBar().x + 120, outerBar().y});
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(),
        [&] {
          const RECT t = RectIn(f.tree->hwnd(), outerW);
          return f.outer.GetColumnInfo(0).current == width0 + moved.x && t.right == width0 + moved.x - 2;
        },
        [&] { return std::to_string(f.outer.GetColumnInfo(0).current); },
        "the column bar dragged %ld pixels to the right moves the tree's edge with it (%d)", moved.x,
        width0 + static_cast<int>(moved.x));
  }
  {
    // Down past the Korean pane into the kana pane: held at the Korean
    // pane's far edge; that pane, left without room, is hidden.
    wtest::ClickClient(f.korean->hwnd(), 40, 20);
    Until([&] { return f.ActiveView() == f.korean; }, "the click makes the Korean pane active");
    const fw::Track r0 = f.inner->GetRowInfo(0), r1 = f.inner->GetRowInfo(1), r2 = f.inner->GetRowInfo(2);
    const RECT kanaBefore = RectIn(f.kana->hwnd(), innerW);
    Drag(innerBar(0), POINT{innerBar(0).x, ScreenPoint(f.kana->hwnd(), 0, 60).y});
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(),
        [&] {
          return f.inner->GetRowInfo(0).current == r0.current + r1.current && f.inner->GetRowInfo(1).current == 0 &&
                 !IsWindowVisible(f.korean->hwnd());
        },
        [&] {
          return std::to_string(f.inner->GetRowInfo(0).current) + "/" + std::to_string(f.inner->GetRowInfo(1).current);
        },
        "the row bar is held at the Korean pane's far edge (%d); the pane, left no room, is hidden",
        r0.current + r1.current);
    check(f.inner->GetRowInfo(2).current == r2.current && RectIn(f.kana->hwnd(), innerW).top == kanaBefore.top,
          "the kana pane beyond it stays where it was");
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return f.ActiveView() == f.kana && GetFocus() == f.kana->hwnd(); },
        [&] { return std::string(PaneName(f, f.ActiveView())); },
        "the collapsed active pane hands over to the next shown one, with the focus");
    // And back up by the Korean pane's height: it shows again.
    const POINT back = Drag(innerBar(0), POINT{innerBar(0).x, innerBar(0).y - r1.current});
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(),
        [&] {
          return f.inner->GetRowInfo(1).current == -back.y && IsWindowVisible(f.korean->hwnd()) &&
                 f.inner->GetRowInfo(0).current == r0.current + r1.current + back.y;
        },
        [&] { return std::to_string(f.inner->GetRowInfo(1).current); },
        "dragged back up by %ld, the Korean pane shows again at that height", -back.y);
  }
  {
    // The outer splitter refusing: each column keeps its minimum.
    f.outer.SetDragRule(fw::DragRule::kRefuse);
    f.outer.SetColumnInfo(0, f.outer.GetColumnInfo(0).ideal, 100);
    f.outer.SetColumnInfo(1, 0, 200);
    f.outer.RecalcLayout();
    const int both = f.outer.GetColumnInfo(0).current + f.outer.GetColumnInfo(1).current;
    RECT fr{};
    GetWindowRect(frame, &fr);
    Drag(outerBar(), POINT{fr.left + 20, outerBar().y});
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return f.outer.GetColumnInfo(0).current == 100; },
        [&] { return std::to_string(f.outer.GetColumnInfo(0).current); },
        "dragged to the frame's left edge the bar stops at the first column's minimum 100");
    Drag(outerBar(), POINT{fr.right - 20, outerBar().y});
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return f.outer.GetColumnInfo(1).current == 200; },
        [&] { return std::to_string(f.outer.GetColumnInfo(1).current); },
        "dragged to the right edge it stops where the second keeps its minimum 200 (the first %d)", both - 200);
    // Esc while the button is down: the drag is cancelled.
    const int width0 = f.outer.GetColumnInfo(0).current;
    wtest::MouseTo(outerBar());
    POINT pressed = Cursor();
    ScreenToClient(outerW, &pressed);
    const int grab = pressed.x - f.outer.geometry().BarPosition(fw::Axis::kColumns, 0);
    wtest::MouseButton(true);
    wtest::MouseTo(POINT{outerBar().x - 150, outerBar().y});
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return GetCapture() == outerW; }, [] { return std::string("no capture"); },
        "the splitter holds the mouse while its bar is dragged");
    {
      // The tracking line over the tree where the bar would go: the
      // inverted grey of every other pixel on the tree's white.
      POINT now = Cursor();
      ScreenToClient(outerW, &now);
      const int at = f.outer.geometry().ClampDrag(fw::Axis::kColumns, 0, now.x - grab);
      POINT origin{0, 0};
      ClientToScreen(outerW, &origin);
      RECT fr{};
      GetWindowRect(frame, &fr);
      const int height = f.outer.geometry().height();
      const RECT band{origin.x - fr.left + at + 1, origin.y - fr.top + height / 2,
                      origin.x - fr.left + at + 6, origin.y - fr.top + height - 20};
      int dark = 0;
      const int all = (band.right - band.left) * (band.bottom - band.top);
      wtest::WaitUntilPumping(AppPump, [&] {
        const wtest::Shot line = wtest::Capture(frame, shots, L"fwpanes-tracking");
        dark = line.Count(band, [](COLORREF c) { return GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96; });
        return dark * 4 > all;
      });
      check(dark * 4 > all, "the tracking line shows at %d: %d of %d pixels dark", at, dark, all);
    }
    Key(VK_ESCAPE);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return GetCapture() != outerW; }, [] { return std::string("captured"); },
        "Esc ends the drag");
    wtest::MouseButton(false);
    check(f.outer.GetColumnInfo(0).current == width0, "a cancelled drag leaves the bar where it was: %d for %d",
          f.outer.GetColumnInfo(0).current, width0);
    f.outer.SetDragRule(fw::DragRule::kCollapse);
    f.outer.SetColumnInfo(0, f.outer.GetColumnInfo(0).ideal, 0);
    f.outer.SetColumnInfo(1, 0, 0);
  }
  {
    // Live: the panes follow the mouse while the button is still down.
    f.inner->SetTracking(fw::SplitterWindow::Tracking::kLive);
    const int korean0 = f.inner->GetRowInfo(1).current;
    const POINT from = innerBar(1);
    wtest::MouseTo(from);
    const POINT start = Cursor();
    wtest::MouseButton(true);
    wtest::MouseTo(POINT{from.x, from.y - 20});
    wtest::MouseTo(POINT{from.x, from.y - 40});
    const int dy = static_cast<int>(Cursor().y - start.y);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(),
        [&] {
          const RECT k = RectIn(f.korean->hwnd(), innerW);
          return GetCapture() == innerW && k.bottom - k.top == korean0 + dy - 4;
        },
        [&] {
          const RECT k = RectIn(f.korean->hwnd(), innerW);
          return std::to_string(k.bottom - k.top);
        },
        "with live tracking the Korean pane is %d high before the button is let go", korean0 + dy - 4);
    wtest::MouseButton(false);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(),
        [&] { return GetCapture() != innerW && f.inner->GetRowInfo(1).current == korean0 + dy; },
        [&] { return std::to_string(f.inner->GetRowInfo(1).current); }, "and keeps it when it is let go");
    f.inner->SetTracking(fw::SplitterWindow::Tracking::kLine);
  }

  // ---- the active pane and commands ----
  section("the active pane and commands");
  struct Probe {
    fw::View* pane;
    int* count;
  };
  const Probe probes[] = {{f.kana, &f.kana->probes}, {f.tree, &f.tree->probes}, {f.japanese, &f.japanese->probes}};
  for (const Probe& p : probes) {
    const int before0 = f.tree->probes + f.japanese->probes + f.kana->probes;
    const int mine = *p.count;
    wtest::ClickClient(p.pane->hwnd(), 30, 12);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return f.ActiveView() == p.pane; },
        [&] { return std::string(PaneName(f, f.ActiveView())); }, "a click makes the %s pane active",
        PaneName(f, p.pane));
    PostMessageW(frame, WM_COMMAND, kProbe, 0);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(),
        [&] { return *p.count == mine + 1 && f.tree->probes + f.japanese->probes + f.kana->probes == before0 + 1; },
        [&] { return std::to_string(*p.count); }, "the frame's command goes to the %s pane alone", PaneName(f, p.pane));
  }
  f.japanese->SetText(L"abc");
  check(f.QueryCommand(fw::cmd::kEditSelectAll).enabled, "with the Japanese pane active select all is its own");
  PostMessageW(frame, WM_COMMAND, fw::cmd::kEditSelectAll, 0);
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(),
      [&] {
        int a = 0, b = 0;
        f.japanese->GetSel(a, b);
        return a == 0 && b == 3;
      },
      [] { return std::string("another selection"); }, "the frame's select all selects the Japanese pane's text");
  wtest::ClickClient(f.tree->hwnd(), 30, 12);
  Until([&] { return f.ActiveView() == f.tree; }, "the click makes the tree active");
  check(!f.QueryCommand(fw::cmd::kEditSelectAll).enabled && !f.QueryCommand(fw::cmd::kEditPaste).enabled,
        "with the tree active the edit commands have no taker and are grey");
  wtest::ClickClient(f.kana->hwnd(), 30, 12);
  Until([&] { return f.ActiveView() == f.kana; }, "the click makes the kana pane active");
  check(f.kana->IsReadOnly() && !f.QueryCommand(fw::cmd::kEditPaste).enabled &&
            !f.QueryCommand(fw::cmd::kEditCut).enabled,
        "the read-only rich edit takes no paste and no cut");
  wtest::ClickClient(f.korean->hwnd(), 30, 12);
  Until([&] { return f.ActiveView() == f.korean; }, "the click makes the Korean pane active");
  check(!f.QueryCommand(kProbe).enabled, "with the Korean pane active the test's probe has no taker");
  // The focus given by the program: each pane, whatever it does with the
  // focus itself, becomes the active view.
  for (fw::View* v : {static_cast<fw::View*>(f.tree), static_cast<fw::View*>(f.korean), static_cast<fw::View*>(f.kana)}) {
    SetFocus(v->hwnd());
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return f.ActiveView() == v; },
        [&] { return std::string(PaneName(f, f.ActiveView())); }, "SetFocus on the %s pane makes it active",
        PaneName(f, v));
  }

  // ---- the keyboard through the panes ----
  section("the keyboard through the panes");
  wtest::ClickClient(f.japanese->hwnd(), 30, 12);
  Until([&] { return GetFocus() == f.japanese->hwnd(); }, "the click gives the Japanese pane the focus");
  const struct {
    bool back;
    fw::View* to;
  } steps[] = {{false, f.korean}, {false, f.kana}, {false, f.tree}, {true, f.kana}, {true, f.korean}};
  for (const auto& s : steps) {
    Key(VK_F6, s.back);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return f.ActiveView() == s.to && GetFocus() == s.to->hwnd(); },
        [&] { return std::string(PaneName(f, f.ActiveView())); }, "%s moves the focus to the %s pane",
        s.back ? "Shift+F6" : "F6", PaneName(f, s.to));
  }

  // ---- typing ----
  section("typing");
  wtest::ClickClient(f.japanese->hwnd(), 30, 12);
  Until([&] { return GetFocus() == f.japanese->hwnd(); }, "the click gives the Japanese pane the focus");
  f.japanese->SetText(L"");
  const int changes0 = f.japanese->changes;
  wtest::SendKeys({'A', 'B'});
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return f.japanese->GetText() == L"ab"; },
      [&] { return Narrow(f.japanese->GetText()); }, "keys typed land in the focused Japanese pane");
  check(f.japanese->changes > changes0, "its changes reach the view object through the splitter (%d)",
        f.japanese->changes - changes0);
  Key(VK_F6);
  Until([&] { return GetFocus() == f.korean->hwnd(); }, "F6 gives the Korean pane the focus");
  f.korean->ClearText();
  wtest::SendKeys({'X', 'Y'});
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return f.korean->Engine().GetAllText() == "xy"; },
      [&] { return std::string(f.korean->Engine().GetAllText()); }, "after F6 they land in the Korean pane");
  check(f.japanese->GetText() == L"ab", "the Japanese pane kept its text");
  {
    // The ANSI pane's text in Shift-JIS: 日本語 is 93FA 967B 8CEA.
    const std::string sjis("\x93\xFA\x96\x7B\x8C\xEA", 6);
    f.japanese->SetTextBytes(932, sjis);
    check(f.japanese->GetText() == L"日本語" && f.japanese->GetTextBytes(932) == sjis,
          "the ANSI edit view takes and gives Shift-JIS text");
  }

  // ---- the rich-edit view ----
  {
    KanaPane& k = *f.kana;
    // カナ in Shift-JIS: 834A 8369.
    const bool kanaIn = k.StreamInTextBytes(932, std::string("\x83\x4A\x83\x69", 4));
    const std::wstring kanaText = k.GetText();
    check(kanaIn && kanaText == L"カナ", "Shift-JIS text streams in as its characters: %s", Narrow(kanaText).c_str());
    // 3,000 lines, 42,000 bytes: many pieces. (Wine's rich edit lays out one
    // long unbroken paragraph of Hangul very slowly, so the text has lines.)
    std::wstring big;
    for (int i = 0; i < 3000; ++i) big += L"가나다 라마\r";
    auto lines = [](std::wstring t) {
      std::erase(t, L'\n');  // the control may give its paragraphs as CR LF
      return t;
    };
    const bool bigIn = k.StreamInText(big);
    const std::wstring bigText = lines(k.GetText());
    check(bigIn && bigText.size() >= big.size() - 1 && big.compare(0, bigText.size(), bigText) == 0,
          "3,000 lines stream in whole (%zu characters of %zu)", bigText.size(), big.size());
    const std::wstring bigOut = lines(k.StreamOutText());
    check(bigOut.size() >= big.size() - 1 && big.compare(0, bigOut.size(), bigOut) == 0,
          "and stream out the same (%zu)", bigOut.size());
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
        "\\f0 plain \\cf1 red\\cf0  text}";
    const bool rtfIn = k.StreamInRtf(rtf);
    const std::wstring rtfText = k.GetText();
    check(rtfIn && rtfText == L"plain red text", "rich text streams in: %s", Narrow(rtfText).c_str());
    k.SetSel(6, 9);
    const auto red = k.GetSelectionCharFormat();
    check(red.colour && *red.colour == RGB(255, 0, 0), "\"red\" has the red of the colour table: %06lx",
          red.colour ? static_cast<unsigned long>(*red.colour) : 0xFFFFFFFFul);
    k.SetSel(0, 5);
    const auto plain = k.GetSelectionCharFormat();
    check(plain.colour && *plain.colour != RGB(255, 0, 0), "\"plain\" is not red");
    check(plain.face && *plain.face == L"Arial", "the font table's face: %s",
          plain.face ? Narrow(*plain.face).c_str() : "none");
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return k.lastRange.cpMin == 0 && k.lastRange.cpMax == 5; },
        [&] { return std::to_string(k.lastRange.cpMin) + "-" + std::to_string(k.lastRange.cpMax); },
        "the selection's change reaches the view object");
    // As the listening program shows a reading: the default colour, then the text.
    check(k.SetTextColour(RGB(0, 0, 160)), "the default format takes a colour");
    k.SetText(L"ヨミ");
    k.SetSel(0, 2);
    const auto blue = k.GetSelectionCharFormat();
    check(blue.colour && *blue.colour == RGB(0, 0, 160), "text set afterwards has that colour");
    LOGFONTW lf{};
    lf.lfHeight = -21;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfPitchAndFamily = 0x31;
    lstrcpyW(lf.lfFaceName, L"IPAGothic");
    check(k.SetAllCharFormat(fw::RichEditView::FormatOf(lf)), "a logical font as the format of all the text");
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const auto all = k.GetSelectionCharFormat();
    const int twips = (21 * 1440 + dpi / 2) / dpi;
    check(all.face && *all.face == L"IPAGothic" && all.height && *all.height == twips,
          "its face and height: %s, %d twips for %d at %d dpi", all.face ? Narrow(*all.face).c_str() : "none",
          all.height ? *all.height : -1, twips, dpi);
    k.Clear();
    check(k.GetText().empty(), "emptied: select all and replace by nothing");
    k.StreamInText(L"カタカナ");
  }

  // ---- the tree ----
  section("the tree");
  {
    ContentsTree& t = *f.tree;
    HTREEITEM root = t.InsertItem(L"目次", 0);
    HTREEITEM chapter = t.InsertItem(L"第1章", 0, root);
    HTREEITEM first = t.InsertItem(L"あいさつ", 101, chapter);
    HTREEITEM second = t.InsertItem(L"ことわり", 102, chapter);
    HTREEITEM kana = t.InsertItemBytes(932, std::string("\x83\x4A\x83\x69", 4), 103, chapter);
    t.Expand(root);
    t.Expand(chapter);
    check(t.GetCount() == 5 && t.GetItemText(kana) == L"カナ" && t.GetItemData(second) == 102 &&
              t.GetParentItem(first) == chapter && t.GetChildItem(chapter) == first &&
              t.GetNextSiblingItem(first) == second && t.IsExpanded(chapter),
          "the tree holds its items with their data and labels");
    RECT r{};
    t.GetItemRect(second, r);
    wtest::ClickClient(t.hwnd(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return t.lastData == 102 && t.lastAction == TVC_BYMOUSE; },
        [&] { return std::to_string(t.lastData) + " action " + std::to_string(t.lastAction); },
        "a click on an item reaches the view object with its data");
    check(f.japanese->lastHint == 102 && f.japanese->GetText() == L"項目 102",
          "the document's other views heard of it: %s", Narrow(f.japanese->GetText()).c_str());
    Key(VK_UP);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return t.lastData == 101 && t.lastAction == TVC_BYKEYBOARD; },
        [&] { return std::to_string(t.lastData) + " action " + std::to_string(t.lastAction); },
        "Up selects the item above by the keyboard");
    const int selections = t.selections;
    t.SelectItem(root);
    wtest::CheckWithinPumping(
        AppPump, wtest::Allowance(), [&] { return t.selections == selections + 1 && t.lastData == 0; },
        [&] { return std::to_string(t.lastData); }, "the program's selection reaches it too");
    check(t.lastAction == TVC_UNKNOWN, "as the program's: %u", t.lastAction);
    check(f.japanese->lastHint == 101, "a heading's selection leaves the other views alone");
    t.SelectItem(second);
  }

  // ---- bars and the screen ----
  section("bars and the screen");
  f.ShowControlBar(fw::kToolBarId, false);
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return RectIn(outerW, frame).top == 0; },
      [&] { return Show(RectIn(outerW, frame)); }, "without the tool bar the splitter starts at the top");
  f.ShowControlBar(fw::kToolBarId, true);
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return RectIn(outerW, frame).top == f.toolBar.Thickness(); },
      [&] { return Show(RectIn(outerW, frame)); }, "with it again below the tool bar");
  // The tree a quarter of the width again for the picture.
  f.outer.SetColumnInfo(0, column0, 0);
  f.outer.RecalcLayout();
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return RectIn(f.tree->hwnd(), outerW).right == column0 - 2; },
      [&] { return Show(RectIn(f.tree->hwnd(), outerW)); }, "a program's column width applies at its next layout");
  const wtest::Shot shot = wtest::Capture(frame, shots, L"fwpanes");
  {
    const POINT bar = outerBar();
    RECT fr{};
    GetWindowRect(frame, &fr);
    const COLORREF c = shot.at(bar.x - fr.left, bar.y - fr.top);
    check(wtest::Near(c, GetSysColor(COLOR_BTNFACE), 8), "the column bar is drawn in the face colour: %06lx",
          static_cast<unsigned long>(c));
    RECT k{};
    GetWindowRect(f.kana->hwnd(), &k);
    OffsetRect(&k, -fr.left, -fr.top);
    const int ink = shot.Count(k, [](COLORREF p) { return GetRValue(p) < 100 && GetGValue(p) < 100; });
    check(ink > 20, "the kana pane shows its text: %d dark pixels", ink);
  }

  // ---- closing ----
  section("closing");
  app.Doc()->SetModifiedFlag(false);
  PostMessageW(frame, WM_CLOSE, 0, 0);
  wtest::CheckWithinPumping(
      AppPump, wtest::Allowance(), [&] { return !IsWindow(frame) && fw::AttachedWindowCount() == 0; },
      [&] { return std::to_string(fw::AttachedWindowCount()) + " objects attached"; },
      "closing destroys the frame with its splitters and panes, no object left attached");
  return wtest::finish();
}
