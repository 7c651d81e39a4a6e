// A static splitter window: rows x columns of panes made once by factories
// (views, or splitters of their own: nested splitters), laid out by the
// portable geometry (splitter_geometry.h), with bars that the mouse drags
// (a tracking line, or the panes following at once), the cursor shapes of
// the bars, the sunken edges around the panes, and the frame's active view
// kept among the panes: a pane that is clicked or takes the focus becomes
// active, commands go to it, and the frame's next- and previous-pane
// commands step the focus through the panes, nested ones included.
//
// A frame whose client is a splitter makes it in its OnCreateClient (or
// after CreateFrame): CreateStatic(frame, rows, columns), then one
// CreatePane/CreateView per cell (CreateNested for a cell that is a splitter
// itself), then SetActivePane. The splitter owns the objects of its panes.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "pane_site.h"
#include "splitter_geometry.h"
#include "window.h"

namespace fw {

class FrameWindow;
class View;

class SplitterWindow : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"fw.Splitter";

  explicit SplitterWindow(const Module& module, SplitterMetrics metrics = {});
  ~SplitterWindow() override;

  // The frame's client: a splitter of rows x columns in the frame's client
  // area between its bars (the frame lays it out from now on).
  bool CreateStatic(FrameWindow& frame, int rows, int columns, DWORD style = WS_CHILD | WS_VISIBLE,
                    UINT id = kFirstPaneId);

  // Makes the pane of a cell: make creates the object and its window in the
  // site given (a child of this splitter with the cell's id, at the cell's
  // place). ideal is the width of the cell's column and the height of its
  // row asked for (negative: left as they are). Null when make failed.
  using PaneFactory = std::function<std::unique_ptr<Window>(FrameWindow& frame, const PaneSite& site)>;
  Window* CreatePane(int row, int column, SIZE ideal, const PaneFactory& make);
  // The same for a view class: make(frame, site) returns a std::unique_ptr<V>.
  template <class V, class Make>
  V* CreateView(int row, int column, SIZE ideal, Make make) {
    V* made = nullptr;
    CreatePane(row, column, ideal, [&](FrameWindow& frame, const PaneSite& site) -> std::unique_ptr<Window> {
      std::unique_ptr<V> view = make(frame, site);
      made = view && view->hwnd() ? view.get() : nullptr;
      return view;
    });
    return made && GetPane(row, column) == made ? made : nullptr;
  }
  // A cell that is a splitter of its own with rows x columns (its panes are
  // made through it; they belong to the same frame).
  SplitterWindow* CreateNested(int row, int column, int rows, int columns, SIZE ideal, SplitterMetrics metrics = {});

  // The child id of a cell's pane.
  static UINT IdFromRowCol(int row, int column) { return kFirstPaneId + static_cast<UINT>(row * 16 + column); }
  Window* GetPane(int row, int column) const;
  template <class T>
  T* Pane(int row, int column) const {
    return dynamic_cast<T*>(GetPane(row, column));
  }
  // The cell of a child window of this splitter; false when it is none of its panes.
  bool IsChildPane(HWND window, int* row, int* column) const;

  // Ideal and minimum sizes of a row or column (RecalcLayout applies them);
  // the current, ideal and minimum sizes of the last layout.
  void SetRowInfo(int row, int ideal, int minimum);
  void SetColumnInfo(int column, int ideal, int minimum);
  Track GetRowInfo(int row) const { return geometry_.Row(row); }
  Track GetColumnInfo(int column) const { return geometry_.Column(column); }
  void SetDragRule(DragRule rule) { geometry_.SetDragRule(rule); }
  const SplitterGeometry& geometry() const { return geometry_; }

  // How a dragged bar shows where it goes: an inverted line that the panes
  // follow when the button is let go, or the panes moving with the mouse.
  enum class Tracking : unsigned char { kLine, kLive };
  void SetTracking(Tracking tracking) { tracking_ = tracking; }

  // The panes placed for the client size; panes of collapsed tracks hidden
  // (and shown again when their tracks come back).
  void RecalcLayout();

  // The frame's active view when it is a pane of this splitter or of one
  // nested in it (row and column: of the cell that holds it); else null.
  View* GetActivePane(int* row = nullptr, int* column = nullptr) const;
  // Makes the cell's view (a nested splitter's first shown view) the
  // frame's active view with the focus; false when the cell has none.
  bool SetActivePane(int row, int column);
  // The views of the panes in the keyboard's order: row by row, those of a
  // nested splitter where it stands.
  std::vector<View*> PaneViews() const;
  int ShownPaneCount() const;
  // The focus to the next (or previous) shown pane, going round; false when
  // no pane is shown.
  bool ActivateNext(bool previous);

  FrameWindow* frame() const { return frame_; }
  // The splitter whose cell holds this one, or null for the frame's client.
  SplitterWindow* outer() const { return outer_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void OnDraw(HDC dc);

 private:
  struct Drag {
    bool active = false;
    BarHit bar;
    POINT grab{};       // where the bar was grabbed, from its leading edges
    int rowAt = 0;      // the tracker's leading edges now
    int columnAt = 0;
    bool lineShown = false;
    std::vector<Track> rowsBefore, columnsBefore;  // for a cancelled live drag
    HWND focusBefore = nullptr;
  };

  bool MakeWindow(FrameWindow& frame, const PaneSite& site, int rows, int columns, DWORD style);
  int CellIndex(int row, int column) const { return row * geometry_.columns() + column; }
  bool ValidCell(int row, int column) const {
    return row >= 0 && column >= 0 && row < geometry_.rows() && column < geometry_.columns();
  }
  bool IsNested(int row, int column) const;
  void SetIdeal(int row, int column, SIZE ideal);
  PaneSite SiteOf(int row, int column) const;
  void SetBarCursor(BarHit hit) const;
  void BeginDrag(int x, int y, BarHit hit);
  void MoveDrag(int x, int y);
  void EndDrag(bool apply);
  void ShowTracker();  // inverts the tracker's line(s): shown, or hidden again
  // The frame's active view moved from from to the next shown pane.
  bool MoveActivation(View* from, bool backwards, bool focus);

  Module module_;
  SplitterGeometry geometry_;
  FrameWindow* frame_ = nullptr;
  SplitterWindow* outer_ = nullptr;
  std::vector<std::unique_ptr<Window>> panes_;  // row by row
  std::vector<bool> hiddenByLayout_;
  Tracking tracking_ = Tracking::kLine;
  Drag drag_;
};

}  // namespace fw
