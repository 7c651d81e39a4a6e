// The input method's entry points: process attach, the IMM exports and the
// one path by which messages reach the application.
#include <cctype>
#include <cstring>

#include "ime_state.h"
#include "key_tables.h"

namespace ime {

ImeModule& Module() {
  static ImeModule module;
  return module;
}

namespace {

// The blocks of a locked input context, locked for one entry point call.
class LockedBlocks final : public MessageSink, public GuidelineBlock {
 public:
  LockedBlocks(HIMC himc, LPINPUTCONTEXT context) : himc_(himc), context_(context) {
    blocks.sink = this;
    blocks.guideline = this;
    if (context_->hCompStr) {
      blocks.comp = static_cast<ImeCompString*>(ImmLockIMCC(context_->hCompStr));
      blocks.compSize = blocks.comp ? ImmGetIMCCSize(context_->hCompStr) : 0;
    }
    if (context_->hCandInfo) {
      blocks.cand = static_cast<ImeCandInfo*>(ImmLockIMCC(context_->hCandInfo));
      blocks.candSize = blocks.cand ? ImmGetIMCCSize(context_->hCandInfo) : 0;
    }
  }
  ~LockedBlocks() override {
    if (blocks.comp) ImmUnlockIMCC(context_->hCompStr);
    if (blocks.cand) ImmUnlockIMCC(context_->hCandInfo);
    if (guideline_) ImmUnlockIMCC(context_->hGuideLine);
  }
  LockedBlocks(const LockedBlocks&) = delete;
  LockedBlocks& operator=(const LockedBlocks&) = delete;

  bool Send(const ImeMessage& m, bool indirect) override {
    TRANSMSG tm{m.message, static_cast<WPARAM>(m.wParam), static_cast<LPARAM>(m.lParam)};
    return GenerateImeMessage(himc_, context_, tm, indirect) != FALSE;
  }

  uint8_t* Resize(size_t size) override {
    if (guideline_) {
      ImmUnlockIMCC(context_->hGuideLine);
      guideline_ = nullptr;
    }
    HIMCC block = ImmReSizeIMCC(context_->hGuideLine, static_cast<DWORD>(size));
    if (!block) return nullptr;
    context_->hGuideLine = block;
    guideline_ = static_cast<uint8_t*>(ImmLockIMCC(block));
    return guideline_;
  }

  ImeContextBlocks blocks;

 private:
  HIMC himc_;
  LPINPUTCONTEXT context_;
  uint8_t* guideline_ = nullptr;
};

// Locks an input context for the duration of a call.
class ContextLock {
 public:
  explicit ContextLock(HIMC himc) : himc_(himc), context_(himc ? ImmLockIMC(himc) : nullptr) {}
  ~ContextLock() {
    if (context_) ImmUnlockIMC(himc_);
  }
  ContextLock(const ContextLock&) = delete;
  ContextLock& operator=(const ContextLock&) = delete;
  LPINPUTCONTEXT get() const { return context_; }

 private:
  HIMC himc_;
  LPINPUTCONTEXT context_;
};

BOOL AppendTransMessage(const TRANSMSG& message) {
  ImeModule& m = Module();
  if (m.messageCount >= m.currentList->uMsgCount) return FALSE;  // full: dropped, not counted
  m.currentList->TransMsg[m.messageCount++] = message;
  return TRUE;
}

void InitializeIme(HINSTANCE instance) {
  ImeModule& m = Module();
  m.instance = instance;
  char path[MAX_PATH] = {};
  GetModuleFileNameA(instance, path, MAX_PATH);
  const char* name = std::strrchr(path, '\\');
  name = name ? name + 1 : path;
  // ASCII letters upper-cased; the trail bytes of double-byte characters stay.
  for (const char* p = name; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (IsDBCSLeadByte(c) && p[1]) {
      m.fileName.push_back(*p++);
      m.fileName.push_back(*p);
    } else {
      m.fileName.push_back(static_cast<char>(c < 0x80 ? std::toupper(c) : c));
    }
  }
  m.prefix = m.fileName.substr(0, 2);
  LoadEngineSettings(m);
  m.engine = std::make_unique<ImeEngine>(m.settings, m.feedback, codeconv::PlatformCodePages());
  if (LoadReadingTable(m)) m.engine->SetReadingTable(&m.readingTable);
  OpenImeDictionary(m);
}

}  // namespace

BOOL GenerateImeMessage(HIMC himc, LPINPUTCONTEXT context, const TRANSMSG& message, bool indirect) {
  ImeModule& m = Module();
  if (indirect) {
    if (m.uiWindow && IsWindow(m.uiWindow)) {
      PostMessageA(m.uiWindow, WM_IME_DEFERRED, message.wParam, static_cast<LPARAM>(message.message));
      return TRUE;
    }
    m.feedback.Beep(0);
    return FALSE;
  }
  if (m.currentList) return AppendTransMessage(message);
  if (!context || !IsWindow(context->hWnd)) return FALSE;
  HIMCC buffer = ImmReSizeIMCC(context->hMsgBuf, (context->dwNumMsgBuf + 1) * sizeof(TRANSMSG));
  if (!buffer) return FALSE;
  context->hMsgBuf = buffer;
  auto* list = static_cast<LPTRANSMSG>(ImmLockIMCC(buffer));
  if (!list) return FALSE;
  list[context->dwNumMsgBuf] = message;
  ImmUnlockIMCC(buffer);
  context->dwNumMsgBuf += 1;
  return ImmGenerateMessage(himc);
}

}  // namespace ime

using ime::Module;

extern "C" {

__declspec(dllexport) BOOL WINAPI DLLEntry(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      ime::RegisterUiClass(instance);
      ime::InitializeIme(instance);
      break;
    case DLL_PROCESS_DETACH:
      ime::UnregisterUiClass(instance);
      break;
    default:
      break;
  }
  return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  return DLLEntry(instance, reason, reserved);
}

__declspec(dllexport) BOOL WINAPI ImeInquire(LPIMEINFO info, LPTSTR uiClass, DWORD) {
  const ime::ImeSettings& s = Module().settings;
  info->dwPrivateDataSize = 320;
  info->fdwProperty = IME_PROP_AT_CARET | IME_PROP_KBD_CHAR_FIRST | (s.Unicode() ? IME_PROP_UNICODE : 0);
  info->fdwConversionCaps = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
  info->fdwSentenceCaps = 0;
  info->fdwUICaps = UI_CAP_2700;
  info->fdwSCSCaps = 0;
  info->fdwSelectCaps = 0;
  if (s.Unicode()) {
    MultiByteToWideChar(932, 0, ime::kUiClassName, -1, reinterpret_cast<LPWSTR>(uiClass), 128);
  } else {
    std::strcpy(reinterpret_cast<char*>(uiClass), ime::kUiClassName);
  }
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI ImeDestroy(UINT) { return TRUE; }

__declspec(dllexport) BOOL WINAPI ImeSelect(HIMC himc, BOOL select) {
  if (!himc || !select) return TRUE;
  ime::ContextLock lock(himc);
  LPINPUTCONTEXT context = lock.get();
  if (!context) return TRUE;
  ime::ImeModule& m = Module();
  if (!(context->fdwInit & INIT_LOGFONT)) {
    const BYTE charset = m.settings.koreanCode == 1 ? HANGEUL_CHARSET : SHIFTJIS_CHARSET;
    if (m.settings.Unicode()) {
      context->lfFont.W.lfCharSet = charset;
      std::memset(context->lfFont.W.lfFaceName, 0, sizeof context->lfFont.W.lfFaceName);
      MultiByteToWideChar(932, 0, m.koreanFace.c_str(), -1, context->lfFont.W.lfFaceName, LF_FACESIZE - 1);
    } else {
      context->lfFont.A.lfCharSet = charset;
      std::memset(context->lfFont.A.lfFaceName, 0, sizeof context->lfFont.A.lfFaceName);
      std::strncpy(context->lfFont.A.lfFaceName, m.koreanFace.c_str(), LF_FACESIZE - 1);
    }
    context->fdwInit |= INIT_LOGFONT;
  }
  if (!(context->fdwInit & INIT_CONVERSION)) {
    context->fdwConversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;
    context->fdwInit |= INIT_CONVERSION;
  }
  if (HIMCC comp = ImmReSizeIMCC(context->hCompStr, ime::kCompStrSize)) {
    context->hCompStr = comp;
    if (auto* cs = static_cast<ime::ImeCompString*>(ImmLockIMCC(comp))) {
      std::memset(cs, 0, sizeof *cs);
      ime::InitCompStr(*cs, ime::kBothParts);
      ImmUnlockIMCC(comp);
    }
  }
  if (HIMCC cand = ImmReSizeIMCC(context->hCandInfo, ime::kCandInfoSize)) {
    context->hCandInfo = cand;
    if (auto* ci = static_cast<ime::ImeCandInfo*>(ImmLockIMCC(cand))) {
      std::memset(ci, 0, sizeof *ci);
      ci->info.dwSize = ime::kCandInfoSize;
      ImmUnlockIMCC(cand);
    }
  }
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI ImeSetActiveContext(HIMC, BOOL) { return TRUE; }

__declspec(dllexport) BOOL WINAPI ImeProcessKey(HIMC himc, UINT virtualKey, LPARAM keyData, CONST LPBYTE keyState) {
  if (static_cast<LONG>(keyData) < 0) return FALSE;  // key up
  ime::ContextLock lock(himc);
  LPINPUTCONTEXT context = lock.get();
  if (!context) return FALSE;
  const UINT vk = virtualKey & 0xFF;
  if (vk == 0xF3 || vk == 0xF4) return TRUE;
  ime::ImeModule& m = Module();
  ime::LockedBlocks blocks(himc, context);
  if (m.settings.kanjiHotKey && vk == 0x19 && context->fOpen && ime::IsComposing(blocks.blocks)) {
    m.engine->CancelComposition(blocks.blocks);
  }
  if (!context->fOpen) return FALSE;
  const bool composing = blocks.blocks.comp && blocks.blocks.compSize >= 101 && blocks.blocks.comp->h.dwCompStrLen != 0;
  return ime::ProcessKeyDecision(vk, keyState, composing);
}

__declspec(dllexport) UINT WINAPI ImeToAsciiEx(UINT virtualKey, UINT scanCode, CONST LPBYTE keyState,
                                               LPTRANSMSGLIST list, UINT, HIMC himc) {
  ime::ImeModule& m = Module();
  m.currentList = list;
  m.messageCount = 0;
  UINT count = 0;
  if (himc && list) {
    ime::ContextLock lock(himc);
    if (LPINPUTCONTEXT context = lock.get()) {
      BOOL open = context->fOpen;
      const bool keyDown = (scanCode & 0x8000) == 0;
      const UINT vk = virtualKey & 0xFF;
      if ((vk == 0xF3 || vk == 0xF4) && keyDown) {
        open = !open;
        ImmSetOpenStatus(himc, open);
      }
      if (open && keyDown) {
        m.settings.shiftHeld = GetKeyState(VK_SHIFT) < 0;
        ime::LockedBlocks blocks(himc, context);
        unsigned packed = ime::PackKeyCharacter(virtualKey, m.settings.Unicode());
        ime::ImeKeyDownCore(*m.engine, blocks.blocks, packed, GetKeyState(VK_CONTROL) < 0);
      }
      (void)keyState;
    }
    count = m.messageCount;
  }
  // The list belongs to this call only.
  m.currentList = nullptr;
  m.messageCount = 0;
  return count;
}

__declspec(dllexport) BOOL WINAPI NotifyIME(HIMC himc, DWORD action, DWORD index, DWORD value) {
  if (action < 3 || action > 23) return FALSE;
  ime::ContextLock lock(himc);
  LPINPUTCONTEXT context = lock.get();
  if (!context) return FALSE;
  ime::LockedBlocks blocks(himc, context);
  return ime::NotifyImeCore(*Module().engine, blocks.blocks, context->fOpen != FALSE, action, index, value);
}

__declspec(dllexport) LRESULT WINAPI ImeEscape(HKL, UINT escape, LPVOID data) {
  return ime::EscapeAnswer(escape, data);
}

__declspec(dllexport) BOOL WINAPI ImeSetCompositionString(HIMC, DWORD, LPVOID, DWORD, LPVOID, DWORD) {
  return FALSE;
}

__declspec(dllexport) DWORD WINAPI ImeConversionList(HIMC, LPCTSTR, LPCANDIDATELIST, DWORD, UINT) { return 0; }

__declspec(dllexport) BOOL WINAPI ImeConfigure(HKL, HWND, DWORD, LPVOID) { return FALSE; }

}  // extern "C"
