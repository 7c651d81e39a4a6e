// The Win32 Hangul editor view: one window class over the portable engine
// (view_engine.h), written once for the editor (CBriselView) and for the
// views of the translation workbench, the listening program and the text
// player (CTavrinView), which differ only by their parameter set.
//
// The window paints the engine's rows through GDI, keeps the system caret
// and the input method's composition window at the caret, owns its vertical
// scroll bar, opens its right-click menu, feeds the engine with keys,
// characters, the input method's result string and mouse points, and gives
// it the Win32 clipboard. Commands reach it through the frame's routing.
#pragma once
#include <windows.h>

#include <memory>
#include <string_view>

#include "gdi.h"
#include "gdi_text.h"
#include "gm_converter.h"
#include "rtf_clip.h"
#include "view.h"
#include "view_dialogs.h"
#include "view_engine.h"
#include "view_print.h"
#include "win_clipboard.h"

namespace editorview {

// Which input method the view activates for its font.
enum class ImeChoice : unsigned char {
  kFontEdition,  // the KS edition for a KS font, the GM edition for a GM font, by file name
  kNone,         // the program chooses (or none is activated)
};

// What a program's view is: the engine's parameter set and the window's.
struct ViewWindowParams {
  const ViewVariant* variant;
  unsigned contextMenu;  // menu resource: its first popup is the right-click menu
  ImeChoice ime;
};
inline constexpr ViewWindowParams kBriselViewParams{&kEditorView, 131, ImeChoice::kFontEdition};
inline constexpr ViewWindowParams kWorkbenchViewParams{&kWorkbenchView, 197, ImeChoice::kNone};
inline constexpr ViewWindowParams kListeningViewParams{&kListeningView, 145, ImeChoice::kNone};
inline constexpr ViewWindowParams kPlayerViewParams{&kPlayerView, 145, ImeChoice::kNone};

// What the program gives its view; all of it outlives the view.
struct ViewResources {
  fw::Module module;                                 // strings and menus (view_resources.rc)
  const codeconv::GmCodeConverter* gm = nullptr;     // the program's one converter, tables loaded
  const RtfClipBuilder* rtf = nullptr;               // the templates loaded; null: no rich text
  const ViewSettings* settings = nullptr;            // null: the defaults
  CodeDetector* detector = nullptr;                  // null: pasted bytes are taken as KS
  const PageSettings* pageSettings = nullptr;        // margins, header, footer ("PageSet"); null: the defaults
};

// The rich-text templates and the GM code tables from a module's resources.
void LoadRtfParts(RtfClipBuilder& builder, const fw::Module& module);
void LoadGmTables(codeconv::GmCodeConverter& converter, const fw::Module& module);

class HangulView : public fw::View {
 public:
  static constexpr wchar_t kClassName[] = L"GeulmaruHangulView";

  HangulView(const ViewWindowParams& params, fw::Document& document, LineDocument& lines,
             const ViewResources& resources, const LOGFONTW& font);
  ~HangulView() override;

  // The view's window as the frame's pane, or in a site of its own (a
  // splitter's cell: the frame still routes its commands).
  HWND Create(fw::FrameWindow& frame);
  HWND Create(fw::FrameWindow& frame, const fw::PaneSite& site);

  ViewEngine& Engine() { return *engine_; }
  const ViewWindowParams& Params() const { return params_; }

  // The view font rebuilt from font: line height from its metrics, the
  // layout again with the caret line kept in sight, the caret remade. True
  // when the font's code (KS or GM) changed.
  bool SetViewFont(const LOGFONTW& font);
  const LOGFONTW& ViewLogFont() const { return logFont_; }

  // The editions of the input method found by file name (0: not installed).
  HKL UnicodeEdition() const { return unicodeEdition_; }
  HKL GmEdition() const { return gmEdition_; }
  // The edition of the font's code activated (when found and not current),
  // then the input context given the view font and opened.
  void ActivateImeForFont();

  // Status pane 2: "GM" or "KS" by the font.
  void UpdateCodeStatus();

  // The program's dialogs of find, replace, font and settings (null: none);
  // they outlive the view or are taken away first.
  void SetDialogs(ViewDialogs* dialogs) { dialogs_ = dialogs; }
  ViewDialogs* Dialogs() const { return dialogs_; }

  void OnInitialUpdate() override;
  void OnUpdate(fw::DocumentView* sender, long hint) override;
  bool OnCommand(unsigned id) override;
  bool OnUpdateCommand(unsigned id, fw::CommandState& state) override;

  // Printing (view_print.h) where the variant prints; the framework's own otherwise.
  bool OnPreparePrinting(fw::PrintInfo& info) override;
  void OnBeginPrinting(HDC printerDc, fw::PrintInfo& info) override;
  void OnPrepareDC(HDC dc, fw::PrintInfo* info) override;
  void OnPrint(HDC dc, fw::PrintInfo& info) override;
  void OnEndPrinting(HDC printerDc, fw::PrintInfo& info) override;
  const ViewPrinting& Printing() const { return *printing_; }

 protected:
  void OnDraw(HDC dc) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  class Host;
  bool OnCreate();
  void OnSize(int width, int height);
  void OnChar(wchar_t unit);
  void ReadImeResult();
  void OpenContextMenu(POINT screen);
  void GiveCompositionFont();
  void SetStatusPane(int pane, const std::wstring& text);
  void LookUpEditions();
  ViewFont MeasureFont();
  // A command of the program's dialogs: carried out, or with state its
  // update-UI given; false when it is none of theirs (view_dialogs.cpp).
  bool DialogCommand(unsigned id, fw::CommandState* state = nullptr);

  ViewWindowParams params_;
  ViewResources resources_;
  LOGFONTW logFont_;
  fw::Font font_;
  fw::Font measuringFont_;
  HDC measureDc_ = nullptr;  // a memory DC holding the view font
  HGDIOBJ measureDcFont_ = nullptr;
  GdiMeasurer measurer_;
  Win32Clipboard clipboard_;
  std::unique_ptr<Host> host_;
  std::unique_ptr<ViewEngine> engine_;
  std::unique_ptr<ViewPrinting> printing_;
  ViewColours colours_;
  HWND scrollBar_ = nullptr;
  int scrollBarWidth_ = 0;
  fw::Bitmap backBuffer_;
  SIZE backBufferSize_{};
  HKL unicodeEdition_ = nullptr;
  HKL gmEdition_ = nullptr;
  bool focus_ = false;
  POINT lastMouse_{};
  wchar_t pendingHighSurrogate_ = 0;
  ViewDialogs* dialogs_ = nullptr;
};

// The editor's view.
class CBriselView final : public HangulView {
 public:
  CBriselView(fw::Document& document, LineDocument& lines, const ViewResources& resources, const LOGFONTW& font)
      : HangulView(kBriselViewParams, document, lines, resources, font) {}
};

// The view of the translation workbench, the listening program and the text
// player: the same window with one of their parameter sets, and the
// operations those programs call.
class CTavrinView final : public HangulView {
 public:
  CTavrinView(const ViewWindowParams& params, fw::Document& document, LineDocument& lines,
              const ViewResources& resources, const LOGFONTW& font)
      : HangulView(params, document, lines, resources, font) {}

  void SelectAllText() { Engine().SelectAllText(); }
  void ClearText() { Engine().ClearText(); }
  // Appends text (the font's code, LF line breaks) at the end.
  void InsertText(std::string_view text) { Engine().AppendText(text); }
  void GoToLine(int line) { Engine().GoToLine(line); }
};

}  // namespace editorview
