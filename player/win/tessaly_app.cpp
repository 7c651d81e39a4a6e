// The text player Tessaly.exe: one instance (the mutex "TessalyV3"), the
// speech service's client window from the command line, the document
// template of the Korean pane's document and the main frame, the GM code
// tables and the rich-text templates the editor view uses.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "app.h"
#include "main_frame.h"
#include "sdi.h"
#include "sonavo_engine.h"
#include "speech_service.h"
#include "tessaly_resource.h"

namespace tessaly {

namespace {

constexpr char kMutexName[] = "TessalyV3";

class CTessalyApp final : public fw::App {
 public:
  CTessalyApp(const fw::Module& module, std::string arguments)
      : fw::App(module, L"テサリー"), arguments_(std::move(arguments)), ui_(module) {}
  ~CTessalyApp() override {
    template_.reset();
    frames_.reset();
  }

 protected:
  bool InitInstance() override {
    // 1. The client window, then the one instance: a second start ends here.
    requester_ = ParseRequesterWindow(arguments_).value_or(0);
    if (!fw::ClaimSingleInstance(kMutexName, mutex_)) return false;
    // 2. Common controls; the editor view's tables and templates.
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
    editorview::LoadGmTables(gm_, module());
    editorview::LoadRtfParts(rtf_, module());
    viewSettings_.unicodeImeResult = true;
    viewResources_.module = module();
    viewResources_.gm = &gm_;
    viewResources_.rtf = &rtf_;
    viewResources_.settings = &viewSettings_;
    // 3. The template: the document, the frame that builds its panes.
    frames_ = std::make_unique<fw::SdiFrames>(
        fw::SdiFrames::Resources{programName(), IDR_MAINFRAME, 0, SW_SHOW, nullptr},
        [this] {
          return std::make_unique<CMainFrame>(module(), FrameServices{gm_, viewResources_, wrapper_, requester_});
        },
        nullptr);
    template_ = std::make_unique<fw::SingleDocTemplate>(
        [this]() -> std::unique_ptr<fw::Document> { return std::make_unique<CTessalyDoc>(ui_); }, *frames_);
    SetDocTemplate(template_.get());
    // 4. The empty document and the frame, shown.
    if (!ProcessShellCommand(fw::CommandLineInfo{})) return false;
    return MainWindow() != nullptr;
  }

  int ExitInstance() override {
    if (mutex_) {
      CloseHandle(mutex_);
      mutex_ = nullptr;
    }
    return fw::App::ExitInstance();
  }

 private:
  std::string arguments_;
  int requester_ = 0;
  HANDLE mutex_ = nullptr;
  fw::NeverSavingDocumentUi ui_;  // the document is never saved
  codeconv::GmCodeConverter gm_;
  editorview::RtfClipBuilder rtf_;
  editorview::ViewSettings viewSettings_;
  editorview::ViewResources viewResources_;
  speech::SpeechEngineWrapper wrapper_{speech::SonavoEngine(), speech::kListeningSpeech};
  std::unique_ptr<fw::SdiFrames> frames_;
  std::unique_ptr<fw::SingleDocTemplate> template_;
};

}  // namespace

}  // namespace tessaly

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  // The arguments after the program's name, as the number parser reads them.
  std::string narrow;
  for (const wchar_t* p = arguments; p && *p; ++p) narrow.push_back(*p < 0x80 ? static_cast<char>(*p) : '?');
  tessaly::CTessalyApp app(fw::Module{instance}, narrow);
  return app.Run();
}
