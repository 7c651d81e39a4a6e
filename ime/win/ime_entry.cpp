// The input method's entry points: process attach, the IMM exports and the
// one path by which messages reach the application.
#include <cstring>

#include "ime_context.h"
#include "ime_regword.h"
#include "ime_state.h"
#include "key_tables.h"

namespace ime {

ImeModule& Module() {
  static ImeModule module;
  return module;
}

namespace {

BOOL AppendTransMessage(const TRANSMSG& message) {
  ImeModule& m = Module();
  if (m.messageCount >= m.currentList->uMsgCount) return FALSE;  // full: dropped, not counted
  m.currentList->TransMsg[m.messageCount++] = message;
  return TRUE;
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

__declspec(dllexport) BOOL WINAPI DLLEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      // The settings are read on the first call that needs them.
      Module().instance = instance;
      ime::RegisterUiClasses(instance);
      ime::RegisterSEdit(instance);
      break;
    case DLL_PROCESS_DETACH:
      ime::TerminateIme(reserved != nullptr);
      ime::UnregisterUiClasses(instance);
      ime::UnregisterSEdit(instance);
      ime::UnregisterColorButtonClass(instance);
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
  ime::EnsureImeInitialized();
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
  ime::EnsureImeInitialized();
  if (!himc || !select) return TRUE;
  ime::SyncSettingsFromRegistry();
  ime::ContextLock lock(himc);
  LPINPUTCONTEXT context = lock.get();
  if (!context) return TRUE;
  ime::ImeModule& m = Module();
  if (!(context->fdwInit & INIT_LOGFONT)) {
    const BYTE charset = m.settings.koreanCode == 1 ? HANGEUL_CHARSET : SHIFTJIS_CHARSET;
    if (m.settings.Unicode()) {
      context->lfFont.W.lfCharSet = charset;
      std::memset(context->lfFont.W.lfFaceName, 0, sizeof context->lfFont.W.lfFaceName);
      MultiByteToWideChar(932, 0, m.config.currentFace.c_str(), -1, context->lfFont.W.lfFaceName, LF_FACESIZE - 1);
    } else {
      context->lfFont.A.lfCharSet = charset;
      std::memset(context->lfFont.A.lfFaceName, 0, sizeof context->lfFont.A.lfFaceName);
      std::strncpy(context->lfFont.A.lfFaceName, m.config.currentFace.c_str(), LF_FACESIZE - 1);
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

// A context coming to the front takes over settings changed meanwhile.
__declspec(dllexport) BOOL WINAPI ImeSetActiveContext(HIMC, BOOL active) {
  if (active) {
    ime::EnsureImeInitialized();
    ime::SyncSettingsFromRegistry();
  }
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI ImeProcessKey(HIMC himc, UINT virtualKey, LPARAM keyData, CONST LPBYTE keyState) {
  if (static_cast<LONG>(keyData) < 0) return FALSE;  // key up
  ime::EnsureImeInitialized();
  // Settings that another process's sheet changed hold from this key on.
  ime::SyncSettingsFromRegistry();
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
  ime::EnsureImeInitialized();
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
        ime::RefreshGuideWindow();
      }
      if (open && keyDown) {
        m.settings.shiftHeld = GetKeyState(VK_SHIFT) < 0;
        {
          ime::LockedBlocks blocks(himc, context);
          unsigned packed = ime::PackKeyCharacter(virtualKey, m.settings.Unicode());
          ime::ImeKeyDownCore(*m.engine, blocks.blocks, packed, GetKeyState(VK_CONTROL) < 0);
        }
        // The on-screen keyboard follows every key (Shift and Control too).
        ime::RefreshGuideWindow();
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
  ime::EnsureImeInitialized();
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

// Also exported as ImeEnumRegisterWord (ime_exports.def.in): no conversion
// lists, no enumeration of registered words.
__declspec(dllexport) DWORD WINAPI ImeConversionList(HIMC, LPCTSTR, LPCANDIDATELIST, DWORD, UINT) { return 0; }

// IME_CONFIG_GENERAL: the settings sheet; IME_CONFIG_SELECTDICTIONARY: its
// dictionary and version pages; IME_CONFIG_REGISTERWORD: the word
// registration dialog. 1 when shown, 0 for any other mode.
__declspec(dllexport) BOOL WINAPI ImeConfigure(HKL, HWND parent, DWORD mode, LPVOID data) {
  ime::EnsureImeInitialized();
  return ime::RunImeConfigure(parent, mode, data);
}

}  // extern "C"
