// The listening program Ferlin2.exe: one instance (the mutex
// "GMV6Ferlin2"), the speech engine loaded once with the voice values, the
// document template of the Korean pane's document and the main frame, the
// GM code tables and the rich-text templates the editor view uses.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "app.h"
#include "frame_settings.h"
#include "ferlin_resource.h"
#include "main_frame.h"
#include "sdi.h"
#include "shared_settings.h"
#include "shared_settings_win32.h"
#include "sonavo_engine.h"

namespace ferlin {

namespace {

constexpr char kMutexName[] = "GMV6Ferlin2";

// The WAV file of the read-aloud: in the user's temporary folder, which is
// always writable, never in the current folder, which the input method's
// start and the file dialog leave anywhere.
std::string WavPath() {
  char folder[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathA(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string path(folder, n);
  if (path.back() != '\\') path += '\\';
  return path + "speach.wav";
}

class CVelmoraApp final : public fw::App {
 public:
  explicit CVelmoraApp(const fw::Module& module) : fw::App(module, L"ﾌｪﾙﾘﾝ２"), ui_(module) {}
  ~CVelmoraApp() override {
    template_.reset();
    frames_.reset();
  }

 protected:
  bool InitInstance() override {
    // 1-2. One instance: a second start ends here, silently.
    if (!fw::ClaimSingleInstance(kMutexName, mutex_)) return false;
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_BAR_CLASSES | ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&icc);
    LoadLibraryW(L"riched20.dll");
    editorview::LoadGmTables(gm_, module());
    editorview::LoadRtfParts(rtf_, module());
    viewSettings_.unicodeImeResult = true;
    viewResources_.module = module();
    viewResources_.gm = &gm_;
    viewResources_.rtf = &rtf_;
    viewResources_.settings = &viewSettings_;
    // 7-8. The engine with its data folder and the voice values; without a
    // folder or with a failed load the voice commands stay disabled.
    settings::SettingsPlatform& platform = settings::SystemSettings();
    const std::string dataFolder = ReadEngineDataFolder(platform);
    int speaker = 0, volume = 100, rate = 100, pitch = 100;
    if (!dataFolder.empty() && wrapper_.LoadSpeechEngine(dataFolder.c_str(), 16000, 0) == 0) {
      settings::LoadVoiceSettings(platform, &speaker, &volume, &rate, &pitch, &repeat_);
      engineLoaded_ = true;
    }
    wavPath_ = WavPath();
    voice_ = {speaker, volume, rate, pitch};
    // 4, 6. The template; the empty document and the frame with its panes.
    frames_ = std::make_unique<fw::SdiFrames>(
        fw::SdiFrames::Resources{programName(), IDR_MAINFRAME, 0, SW_SHOW, nullptr},
        [this] {
          return std::make_unique<CMainFrame>(
              module(), FrameServices{viewResources_, wrapper_, engineLoaded_, wavPath_, voice_, repeat_});
        },
        nullptr);
    template_ = std::make_unique<fw::SingleDocTemplate>(
        [this]() -> std::unique_ptr<fw::Document> { return std::make_unique<CVelmoraDoc>(ui_); }, *frames_);
    SetDocTemplate(template_.get());
    if (!ProcessShellCommand(fw::CommandLineInfo{})) return false;
    return MainWindow() != nullptr;
  }

  int ExitInstance() override {
    if (engineLoaded_) wrapper_.UnloadSpeechEngine();
    if (!wavPath_.empty()) DeleteFileA(wavPath_.c_str());
    if (mutex_) {
      CloseHandle(mutex_);
      mutex_ = nullptr;
    }
    return fw::App::ExitInstance();
  }

 private:
  HANDLE mutex_ = nullptr;
  fw::NeverSavingDocumentUi ui_;  // the document is never saved
  codeconv::GmCodeConverter gm_;
  editorview::RtfClipBuilder rtf_;
  editorview::ViewSettings viewSettings_;
  editorview::ViewResources viewResources_;
  speech::SpeechEngineWrapper wrapper_{speech::SonavoEngine(), speech::kListeningSpeech};
  bool engineLoaded_ = false;
  std::string wavPath_;
  speech::VoiceValues voice_;
  int repeat_ = 1;
  std::unique_ptr<fw::SdiFrames> frames_;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

}  // namespace

}  // namespace ferlin

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ferlin::CVelmoraApp app(fw::Module{instance});
  return app.Run();
}
