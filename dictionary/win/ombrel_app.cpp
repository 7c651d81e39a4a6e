// Ombrel.EXE: start-up, the hand-over of a second start to the running
// instance, and the main dialog run modally.
#include "ombrel_app.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstring>
#include <memory>
#include <vector>

#include "dictionary_link.h"
#include "main_dialog.h"
#include "settings.h"
#include "shared_settings_win32.h"
#include "sonavo_engine.h"
#include "text_utils.h"

namespace ombrel::win {

HINSTANCE g_instance = nullptr;

namespace {

// "韓日・日韓辞典" as the ANSI bytes of the title test.
constexpr char kTitleMark[] = "\x8a\xd8\x93\xfa\x81\x45\x93\xfa\x8a\xd8\x8e\xab\x93\x54";

bool IsLead932(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Substring search that never matches at a trail byte.
bool ContainsMultibyte(const char* text, const char* mark) {
  const size_t n = std::strlen(mark);
  for (size_t i = 0; text[i] != 0;) {
    if (std::strncmp(text + i, mark, n) == 0) return true;
    i += IsLead932(static_cast<unsigned char>(text[i])) && text[i + 1] != 0 ? 2 : 1;
  }
  return false;
}

BOOL CALLBACK FindDictionaryWindowProc(HWND hwnd, LPARAM found) {
  if (!IsWindowVisible(hwnd)) return TRUE;
  char title[70]{};
  if (GetWindowTextA(hwnd, title, sizeof title) <= 0) return TRUE;
  if (!ContainsMultibyte(title, kTitleMark)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

void BringWindowForward(HWND w) {
  if (IsIconic(w)) ShowWindowAsync(w, SW_RESTORE);
  if ((GetVersion() & 0x80000000u) == 0) {
    SetForegroundWindow(w);
  } else {
    const DWORD own = GetCurrentThreadId();
    const DWORD other = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    AttachThreadInput(own, other, TRUE);
    SetForegroundWindow(w);
    AttachThreadInput(own, other, FALSE);
  }
}

LRESULT SendDictionaryRequest(HWND w, const std::string& text, int direction, int method, bool topmost) {
  static link::RequestBlock block;  // the sender's for the time of the send
  block = link::EncodeDictionaryRequest(text, direction, method, topmost);
  COPYDATASTRUCT cds{};
  cds.dwData = 0;
  cds.cbData = static_cast<DWORD>(block.size());
  cds.lpData = block.data();
  return SendMessageW(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

std::string CommandLineTail() {
  const char* line = GetCommandLineA();
  // Past the program path (quoted or not) and the blanks after it.
  const char* p = line;
  if (*p == '"') {
    ++p;
    while (*p != 0 && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != 0 && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

LONG WINAPI RegisterSearchBoxClass() {
  // The class serves for the registration only.
  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"SEDIT_CLASS";
  return RegisterClassW(&wc) != 0;
}

}  // namespace

AppState& App() {
  static AppState state;
  return state;
}

speech::SpeechEngineWrapper& Speech() {
  static speech::SpeechEngineWrapper wrapper(speech::SonavoEngine(), speech::kListeningSpeech);
  return wrapper;
}

HINSTANCE Instance() { return g_instance; }

void LoadVoiceValues() {
  AppState& a = App();
  settings::dictionary::LoadVoiceSettings(settings::SystemSettings(), kProgramCaption, &a.speaker, &a.volume,
                                          &a.rate, &a.pitch);
}

void SaveVoiceValues() {
  AppState& a = App();
  int s = 0, v = 100, r = 100, p = 100, repeat = 1;
  settings::LoadVoiceSettings(settings::SystemSettings(), &s, &v, &r, &p, &repeat);  // keeps the others' repeat count
  settings::SaveVoiceSettings(settings::SystemSettings(), a.speaker, a.volume, a.rate, a.pitch, repeat);
}

std::wstring Wide(unsigned codePage, const std::string& bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string Bytes(unsigned codePage, const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Unescape(const std::string& escaped, int maxUnits) {
  std::vector<char16_t> out(static_cast<size_t>(maxUnits) + 1, 0);
  const int n = codeconv::UnescapePercentText(out.data(), maxUnits, escaped.c_str(), escaped.size(), nullptr);
  return std::wstring(out.begin(), out.begin() + n);
}

std::string Escape(const std::wstring& text, unsigned maxBytes) {
  std::string out(maxBytes + 1, '\0');
  const std::u16string t = U16(text);
  codeconv::EscapeForCommandLine(out.data(), maxBytes + 1, t.c_str(), static_cast<int>(t.size()));
  out.resize(std::strlen(out.c_str()));
  return out;
}

int Box(HWND owner, const wchar_t* text, UINT flags, const wchar_t* caption) {
  return MessageBoxW(owner, text, caption != nullptr ? caption : L"韓日・日韓辞典", flags);
}

// InitInstance: the start-up steps; the program ends when the dialog does.
static int Run() {
  AppState& a = App();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  a.method = SearchMethodSetting(settings::SystemSettings());
  a.topmost = false;

  const link::DictionaryCommandLine cl = link::ParseDictionaryCommandLine(CommandLineTail());
  a.query = cl.text;
  a.commandDirection = cl.direction;
  if (cl.method) a.method = *cl.method;
  a.topmost = cl.topmost;

  if (cl.forward) {
    HWND running = nullptr;
    EnumWindows(FindDictionaryWindowProc, reinterpret_cast<LPARAM>(&running));
    if (running != nullptr) {
      BringWindowForward(running);
      if (SendDictionaryRequest(running, a.query, a.commandDirection, a.method, a.topmost) != 0) return 0;
    }
  }

  RegisterSearchBoxClass();
  char path[MAX_PATH]{};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program(path, n);
  const size_t slash = program.find_last_of("\\/");
  a.programFolder = slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
  a.dataRoot = a.programFolder + "VESKADATA\\";

  std::string speechData = settings::ReadMachineRegValue(settings::SystemSettings(), "SOFTWARE\\VALDRIMO\\Sonavo50",
                                                         "DICPATH");
  if (speechData.empty()) speechData = a.programFolder + "SonavoDDB\\";
  a.speechLoaded = Speech().LoadSpeechEngine(speechData.c_str(), 16000, 0) == 0;
  LoadVoiceValues();
  a.speechFile = a.programFolder + "speech.wav";

  OleInitialize(nullptr);
  {
    // On the heap: the dialog holds the file set and its page caches.
    auto dialog = std::make_unique<DictionaryDialog>(fw::Module(g_instance));
    dialog->DoModal(nullptr);
  }
  OleUninitialize();
  // ExitInstance.
  if (a.speechLoaded) Speech().UnloadSpeechEngine();
  return 0;
}

}  // namespace ombrel::win

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ombrel::win::g_instance = instance;
  return ombrel::win::Run();
}
