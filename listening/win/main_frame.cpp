#include "main_frame.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "code_page.h"
#include "dialog.h"
#include "example_readers.h"
#include "ferlin_resource.h"
#include "file_dialog.h"
#include "font_set_dlg.h"
#include "shared_settings.h"
#include "shared_settings_win32.h"
#include "voice_dialog.h"

namespace ferlin {

namespace {

constexpr wchar_t kAppName[] = L"Velmora";
// The framework profile of the word mode: HKEY_CURRENT_USER
// "Software\Valdrimo\Velmora\Version 1.0" "AndOrSel".
constexpr wchar_t kProfileKey[] = L"Software\\Valdrimo\\Velmora\\Version 1.0";

std::wstring Wide(const std::string& cp932) { return fw::FromCodePage(932, cp932); }
std::string Narrow(const std::wstring& text) { return fw::ToCodePage(932, text); }
std::wstring FromUtf8(const std::string& utf8) { return fw::FromCodePage(CP_UTF8, utf8); }

int ReadAndOrSel() {
  DWORD value = 0, size = sizeof value, type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kProfileKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return kAllWords;
  const bool ok = RegQueryValueExW(key, L"AndOrSel", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                      ERROR_SUCCESS &&
                  type == REG_DWORD;
  RegCloseKey(key);
  return ok && value == 1 ? kAnyWord : kAllWords;
}

void WriteAndOrSel(int mode) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kProfileKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  const DWORD value = mode == kAnyWord ? 1 : 0;
  RegSetValueExW(key, L"AndOrSel", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

// The database path dialog: the path typed or chosen with 参照.
class CDbPathDlg final : public fw::Dialog {
 public:
  explicit CDbPathDlg(const fw::Module& module) : fw::Dialog(module, IDD_DBPATH), module_(module) {}
  std::wstring path;

 protected:
  void DoDataExchange(fw::DataExchange& dx) override { dx.Text(IDC_DBPATH_EDIT, path, 250); }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_DBPATH_BROWSE) {
      fw::FileDialog open(module_, true);
      open.filter = fw::FileDialogFilter({{L"ﾌｧｲﾙ (*.mdb)", L"*.mdb"}, {L"All files (*.*)", L"*.*"}});
      open.fileName = L"Quorvel.mdb";
      open.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
      if (open.DoModal(hwnd()) == IDOK) SetDlgItemTextW(hwnd(), IDC_DBPATH_EDIT, open.fileName.c_str());
      result = 0;
      return true;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }

 private:
  fw::Module module_;
};

// The search dialog: the query and the word mode, written to the profile
// when a radio button is clicked.
class CFindWordDlg final : public fw::Dialog {
 public:
  explicit CFindWordDlg(const fw::Module& module) : fw::Dialog(module, IDD_FIND) {}
  std::wstring query;
  int andOrSel = kAllWords;

 protected:
  bool OnInitDialog() override {
    andOrSel = ReadAndOrSel();
    CheckRadioButton(hwnd(), IDC_FIND_ANY, IDC_FIND_ALL, andOrSel == kAnyWord ? IDC_FIND_ANY : IDC_FIND_ALL);
    SendDlgItemMessageW(hwnd(), IDC_FIND_TEXT, EM_LIMITTEXT, 250, 0);
    return fw::Dialog::OnInitDialog();
  }
  void DoDataExchange(fw::DataExchange& dx) override { dx.Text(IDC_FIND_TEXT, query, 250); }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDC_FIND_ALL || LOWORD(wParam) == IDC_FIND_ANY)) {
      andOrSel = LOWORD(wParam) == IDC_FIND_ANY ? kAnyWord : kAllWords;
      WriteAndOrSel(andOrSel);
      result = 0;
      return true;
    }
    return fw::Dialog::OnMessage(message, wParam, lParam, result);
  }
};

constexpr COLORREF kPictureGround = RGB(255, 0, 255);
constexpr SIZE kPictureSize{21, 21};


class CAboutDlg final : public fw::Dialog {
 public:
  explicit CAboutDlg(const fw::Module& module) : fw::Dialog(module, IDD_ABOUTBOX) {}
};

// Text on the clipboard: CF_TEXT (Shift-JIS) and CF_UNICODETEXT, or only
// CF_UNICODETEXT when bytes is null.
void PutOnClipboard(HWND owner, const std::string* bytes, const std::wstring& unicode) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (bytes) {
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes->size() + 1)) {
      if (void* p = GlobalLock(block)) {
        std::memcpy(p, bytes->c_str(), bytes->size() + 1);
        GlobalUnlock(block);
        if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
      } else {
        GlobalFree(block);
      }
    }
  }
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (unicode.size() + 2) * sizeof(wchar_t))) {
    if (void* p = GlobalLock(block)) {
      std::memcpy(p, unicode.c_str(), unicode.size() * sizeof(wchar_t));
      GlobalUnlock(block);
      if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}

// The text of a read-only pane to copy: its selection when there is one,
// else all of it (Shift-JIS).
std::string PaneCopyText(const kana::CKanaYomi& pane) {
  if (pane.Reading().empty()) return {};
  int start = 0, end = 0;
  pane.GetSel(start, end);
  const std::wstring all = pane.GetText();
  if (start == end || start < 0 || end < start) return pane.Reading();
  const size_t from = std::min<size_t>(static_cast<size_t>(start), all.size());
  const size_t to = std::min<size_t>(static_cast<size_t>(end), all.size());
  return Narrow(all.substr(from, to - from));
}

}  // namespace

// ---- the contents tree ----

void CMokujiTree::Clear() {
  if (HTREEITEM root = GetRootItem()) Expand(root, TVE_COLLAPSE);
  DeleteAllItems();
}

ContentsTree::Node CMokujiTree::InsertLast(Node parent, const std::string& label, long data, bool) {
  HTREEITEM item = InsertItemBytes(932, label, static_cast<LPARAM>(data),
                                   parent == kTopLevel ? TVI_ROOT : reinterpret_cast<HTREEITEM>(parent));
  return reinterpret_cast<Node>(item);
}

ContentsTree::Node CMokujiTree::ParentOf(Node node) {
  return reinterpret_cast<Node>(GetParentItem(reinterpret_cast<HTREEITEM>(node)));
}

void CMokujiTree::ExpandRoot() {
  if (HTREEITEM root = GetRootItem()) Expand(root, TVE_EXPAND);
}

void CMokujiTree::OnSelChanged(HTREEITEM, HTREEITEM now, UINT) {
  if (!now) return;
  lastLabel_ = Narrow(GetItemText(now));
  const long data = static_cast<long>(GetItemData(now));
  if (lastLabel_.empty() || data == 0) return;
  frame_.ShowItem(data);
}

// ---- the frame ----

CMainFrame::CMainFrame(const fw::Module& module, const FrameServices& services)
    : fw::FrameWindow(module), services_(services), statusBar_(module), outer_(module) {
  playback_ = std::make_unique<speech::RepeatPlayback>(speech::kListeningRepeat, services_.wrapper, sound_, timer_);
  SetDocumentInTitle(false);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::FrameFirst(unsigned id) const {
  return id == ID_SPEAK || id == ID_STOP_SPEAKING || id == ID_FONT_SETTING || id == ID_COPY || id == ID_FIND ||
         id == ID_CONTENTS || (id >= ID_COPY_JAPANESE && id <= ID_COPY_ALL) || id == ID_VOICE_SETTING;
}

bool CMainFrame::OnCreate() {
  // The copy source is read before the bar shows it.
  settings_ = LoadFrameSettings(settings::SystemSettings(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  editorview::CodeBoxParams box;
  box.boxId = IDC_COPY_SOURCE;
  box.slot = 2;
  box.items = {IDS_COPY_JAPANESE, IDS_COPY_KOREAN, IDS_COPY_KANA, IDS_COPY_ALL};
  toolBar_ = std::make_unique<editorview::CPasteCodeBar>(module(), settings_.copyCode, box);
  if (!toolBar_->Create(*this, fw::kToolBarId, module().String(IDS_TOOLBAR_CAPTION))) return false;
  if (!toolBar_->LoadPictureBar(IDR_MAINFRAME, IDB_TOOLBAR, IDB_TOOLBAR_DISABLED, kPictureSize, kPictureGround))
    return false;
  toolBar_->PositionCombo();
  toolBar_->FillCombo();
  if (!statusBar_.Create(*this, fw::kStatusBarId)) return false;
  const fw::StatusPane panes[] = {{0, L""}, {fw::kIndicatorCaps, L""}, {fw::kIndicatorNum, L""}};
  return statusBar_.SetPanes(panes);
}

LOGFONTW CMainFrame::KoreanFont() const {
  return fontdlg::KoreanPaneFont(settings_.fontHeight, Wide(settings_.koreanFace));
}

bool CMainFrame::EnsureDatabasePath() {
  CDbPathDlg dialog(module());
  if (dialog.DoModal(nullptr) != IDOK || dialog.path.empty()) return false;
  settings_.databasePath = Narrow(dialog.path);
  SaveDatabasePath(settings::SystemSettings(), settings_.databasePath);
  return true;
}

std::u16string CMainFrame::Connection() const {
  const std::wstring path = Wide(settings_.databasePath);
  return ExampleDbConnectionString(std::u16string(path.begin(), path.end()));
}

bool CMainFrame::OnCreateClient(fw::Document& document) {
  timer_.SetWindow(hwnd());
  const int iconHeight = GetSystemMetrics(SM_CYICON);
  if (AppliesPlacement(settings_)) {
    settings::ApplyFramePlacement(hwnd(), settings_);
  } else {
    ShowWindow(hwnd(), StartShowCommand(settings_));
  }
  UpdateWindow(hwnd());
  if (settings_.databasePath.empty() && !EnsureDatabasePath()) return false;

  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = static_cast<int>(client.right - client.left);
  const int usable = static_cast<int>(client.bottom - client.top) - iconHeight - 16;
  if (!outer_.CreateStatic(*this, 1, 2)) return false;
  SetClientWindow(&outer_);
  auto& doc = static_cast<CVelmoraDoc&>(document);
  tree_ = outer_.CreateView<CMokujiTree>(0, 0, SIZE{width / 4, usable},
                                         [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
                                           auto v = std::make_unique<CMokujiTree>(doc, *this);
                                           if (!v->Create(frame, &site)) v.reset();
                                           return v;
                                         });
  inner_ = outer_.CreateNested(0, 1, 3, 1, SIZE{0, usable});
  if (!tree_ || !inner_) return false;
  auto readOnlyPane = [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
    auto v = std::make_unique<kana::CKanaYomi>(doc);
    if (!v->Create(frame, site)) v.reset();
    return v;
  };
  japanese_ = inner_->CreateView<kana::CKanaYomi>(0, 0, SIZE{0, usable / 3}, readOnlyPane);
  const LOGFONTW korean = KoreanFont();
  korean_ = inner_->CreateView<editorview::CTavrinView>(
      1, 0, SIZE{0, usable / 3}, [&](fw::FrameWindow& frame, const fw::PaneSite& site) {
        auto v = std::make_unique<editorview::CTavrinView>(editorview::kListeningViewParams, doc, doc,
                                                            services_.viewResources, korean);
        if (!v->Create(frame, site)) v.reset();
        return v;
      });
  kana_ = inner_->CreateView<kana::CKanaYomi>(2, 0, SIZE{0, 0}, readOnlyPane);
  if (!japanese_ || !korean_ || !kana_) return false;
  japanese_->SetFontChoice(settings_.fontHeight, Wide(settings_.japaneseFace));
  kana_->SetFontChoice(settings_.fontHeight, Wide(settings_.japaneseFace));
  korean_->SetViewFont(korean);
  outer_.RecalcLayout();

  // The contents: a failure has been shown; the program goes on with an
  // empty tree, the path can be mended by the user's setting.
  FillContents(tree_->Source(), *this, Connection(), codeconv::PlatformCodePages(), 932, *tree_);
  tree_->ExpandRoot();
  searchMode_ = false;
  return inner_->SetActivePane(0, 0);
}

void CMainFrame::ShowFailure(const std::string& text) {
  MessageBoxW(hwnd(), FromUtf8(text).c_str(), kAppName, MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::ShowNotFound() {
  MessageBoxW(tree_ ? tree_->hwnd() : hwnd(), L"指定された言葉は辞典上に存在しませんでした。", L"検索エラーメッセージ",
              MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::ShowItem(long itemNumber) {
  const std::string number = std::to_string(itemNumber);
  const std::u16string item(number.begin(), number.end());
  const auto& pages = codeconv::PlatformCodePages();
  const std::u16string connection = Connection();
  // The Japanese and kana panes keep their text when no record is found.
  const LookupResult j = LookupItem(japaneseSource_, *this, connection, ExampleReader::JapaneseSentence, item);
  if (j.outcome == ReadOutcome::kDone) japanese_->ShowReading(ValueText(pages, 932, j.value));
  const LookupResult k = LookupItem(kanaSource_, *this, connection, ExampleReader::KanaReading, item);
  if (k.outcome == ReadOutcome::kDone) kana_->ShowReading(ValueText(pages, 932, k.value));
  korean_->ClearText();
  const LookupResult s = LookupItem(koreanSource_, *this, connection, ExampleReader::KoreanSentence, item);
  if (s.outcome == ReadOutcome::kDone) korean_->InsertText(ValueText(pages, 949, s.value));
}

void CMainFrame::EmptyPanes() {
  japanese_->ShowReading({});
  korean_->ClearText();
  kana_->ShowReading({});
}

void CMainFrame::OnFind() {
  CFindWordDlg dialog(module());
  if (dialog.DoModal(hwnd()) != IDOK) return;
  andOrSel_ = dialog.andOrSel;
  const SearchResult r = SearchWords(tree_->Source(), *this, Connection(), codeconv::PlatformCodePages(), 932, *tree_,
                                     Narrow(dialog.query), andOrSel_);
  if (r.outcome != ReadOutcome::kDone) return;  // the tree and the panes keep what they showed
  tree_->ExpandRoot();
  EmptyPanes();
  searchMode_ = true;
}

void CMainFrame::OnContents() {
  if (!searchMode_) return;
  if (FillContents(tree_->Source(), *this, Connection(), codeconv::PlatformCodePages(), 932, *tree_) ==
      ReadOutcome::kFailed)
    return;
  tree_->ExpandRoot();
  EmptyPanes();
  searchMode_ = false;
}

void CMainFrame::OnCopy() {
  switch (settings_.copyCode) {
    case kCopyJapanese:
    case kCopyKana: {
      const std::string text = PaneCopyText(settings_.copyCode == kCopyJapanese ? *japanese_ : *kana_);
      if (!text.empty()) PutOnClipboard(hwnd(), &text, Wide(text));
      break;
    }
    case kCopyKorean: {
      editorview::ViewEngine& engine = korean_->Engine();
      const std::string text = engine.HasSelection() ? engine.SelectedText() : engine.GetAllText();
      if (!text.empty()) engine.CopyToClipboard(text, editorview::kCodeKs);  // the pane works in the KS code
      break;
    }
    case kCopyAll: {
      editorview::ViewEngine& engine = korean_->Engine();
      const std::string korean = engine.HasSelection() ? engine.SelectedText() : engine.GetAllText();
      const std::wstring all = Wide(PaneCopyText(*japanese_) + "\r\n") + fw::FromCodePage(949, korean + "\r\n") +
                               Wide(PaneCopyText(*kana_) + "\r\n");
      PutOnClipboard(hwnd(), nullptr, all);
      break;
    }
    default: break;
  }
}

void CMainFrame::OnSpeak() {
  const std::string text = korean_->Engine().GetAllText();
  if (text.empty()) {
    MessageBoxW(hwnd(), L"読み上げる文章がありません", L"", MB_OK);
    return;
  }
  // A read-aloud that is on is replaced: its timer and sound stop first.
  const int r = playback_->Start(text.c_str(), services_.wavPath, services_.voice, services_.repeatCount);
  if (r == 3) MessageBoxW(hwnd(), L"韓国語音声合成に失敗しました", kAppName, MB_OK);
}

void CMainFrame::StopSpeaking() { playback_->Stop(); }

void CMainFrame::OnVoiceSetting() {
  const VoiceChoice now{services_.voice.speaker, services_.voice.volume, services_.voice.rate, services_.voice.pitch,
                        services_.repeatCount};
  CVoiceSetDlg dialog(module(), now, services_.engineLoaded, services_.wrapper, services_.wavPath);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  const VoiceChoice& v = dialog.Values();
  services_.voice = {v.speaker, v.volume, v.speed, v.pitch};
  services_.repeatCount = v.repeat;
  settings::SaveVoiceSettings(settings::SystemSettings(), v.speaker, v.volume, v.speed, v.pitch, v.repeat);
}

void CMainFrame::OnFontSetting() {
  fontdlg::FontSide japanese{Wide(settings_.japaneseFace), settings_.fontHeight, SHIFTJIS_CHARSET, FIXED_PITCH};
  fontdlg::FontSide korean{Wide(settings_.koreanFace), settings_.fontHeight, HANGEUL_CHARSET, FIXED_PITCH};
  fontdlg::CFontSetDlg dialog(module(), fontdlg::kListeningFontDialog, japanese, korean);
  if (dialog.DoModal(nullptr) != IDOK) return;
  settings_.fontHeight = dialog.Japanese().height;
  settings_.japaneseFace = Narrow(dialog.Japanese().face);
  settings_.koreanFace = Narrow(dialog.Korean().face);
  for (kana::CKanaYomi* pane : {japanese_, kana_}) {
    pane->SetFontChoice(settings_.fontHeight, dialog.Japanese().face);
    if (!pane->Reading().empty()) pane->ApplyFontAndText();
  }
  LOGFONTW lf = KoreanFont();
  lf.lfHeight = dialog.Korean().height;
  korean_->SetViewFont(lf);
}

bool CMainFrame::OnCommand(unsigned id) {
  switch (id) {
    case ID_COPY: OnCopy(); return true;
    case ID_FIND: OnFind(); return true;
    case ID_CONTENTS: OnContents(); return true;
    case ID_SPEAK: if (services_.engineLoaded) OnSpeak(); return true;
    case ID_STOP_SPEAKING: if (services_.engineLoaded) StopSpeaking(); return true;
    case ID_FONT_SETTING: OnFontSetting(); return true;
    case ID_VOICE_SETTING: if (services_.engineLoaded) OnVoiceSetting(); return true;
    case ID_COPY_JAPANESE:
    case ID_COPY_KOREAN:
    case ID_COPY_KANA:
    case ID_COPY_ALL:
      settings_.copyCode = static_cast<int>(id) - kFirstCopySourceCommand;
      if (toolBar_) toolBar_->FillCombo();
      return true;
    case ID_APP_ABOUT: {
      CAboutDlg about(module());
      about.DoModal(hwnd());
      return true;
    }
    default: return fw::FrameWindow::OnCommand(id);
  }
}

bool CMainFrame::OnUpdateCommand(unsigned id, fw::CommandState& state) {
  switch (id) {
    case ID_COPY:
    case ID_FIND:
    case ID_CONTENTS:
    case ID_FONT_SETTING: state.enabled = true; return true;
    case ID_SPEAK:
    case ID_STOP_SPEAKING:
    case ID_VOICE_SETTING: state.enabled = services_.engineLoaded; return true;
    case ID_COPY_JAPANESE:
    case ID_COPY_KOREAN:
    case ID_COPY_KANA:
    case ID_COPY_ALL:
      state.checked = static_cast<int>(id) == settings_.copyCode + kFirstCopySourceCommand;
      return true;
    default: return fw::FrameWindow::OnUpdateCommand(id, state);
  }
}

void CMainFrame::SaveWindowSettings() {
  if (!settings::TakeFramePlacement(hwnd(), settings_)) return;
  SaveFrameSettings(settings::SystemSettings(), settings_);
}

bool CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      if (!OnCreate()) {
        result = -1;
        return true;
      }
      return false;
    case WM_TIMER:
      if (wParam == timer_.id()) {
        playback_->OnTimer();
        result = 0;
        return true;
      }
      break;
    case WM_CLOSE:
    case WM_DESTROY:
      playback_->Stop();
      if (hwnd()) SaveWindowSettings();
      break;
    default: break;
  }
  return fw::FrameWindow::OnMessage(message, wParam, lParam, result);
}

}  // namespace ferlin
