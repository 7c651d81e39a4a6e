#include "module.h"

#include "code_page.h"
#include "string_table.h"

namespace fw {

Module Module::Containing(const void* address) {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCWSTR>(address), &m);
  return Module(m);
}

namespace {
HRSRC Find(HMODULE m, const wchar_t* name, const wchar_t* type) { return FindResourceW(m, name, type); }
HRSRC Find(HMODULE m, const char* name, const char* type) { return FindResourceA(m, name, type); }

template <typename Char>
std::span<const std::uint8_t> ResourceBytes(HINSTANCE module, const Char* type, const Char* name) {
  if (!module) return {};
  HRSRC found = Find(module, name, type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(SizeofResource(module, found))};
}
}  // namespace

std::span<const std::uint8_t> Module::Resource(const wchar_t* type, const wchar_t* name) const {
  return ResourceBytes(handle_, type, name);
}

std::span<const std::uint8_t> Module::Resource(const char* type, const char* name) const {
  return ResourceBytes(handle_, type, name);
}

std::wstring Module::String(unsigned id) const {
  const auto block = Resource(MAKEINTRESOURCEW(6) /* RT_STRING */, MAKEINTRESOURCEW(StringBlockOf(id)));
  const auto text = StringTableEntry(block, id);
  if (!text) return {};
  return std::wstring(text->begin(), text->end());
}

std::string Module::StringBytes(unsigned id, unsigned codePage) const { return ToCodePage(codePage, String(id)); }

HBITMAP Module::LoadBitmapResource(unsigned id) const {
  return static_cast<HBITMAP>(LoadImageW(handle_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

std::string ToCodePage(unsigned codePage, const std::wstring& text) {
  return codeconv::PlatformCodePages().FromUtf16(codePage, std::u16string(text.begin(), text.end()));
}

std::wstring FromCodePage(unsigned codePage, const std::string& bytes) {
  const std::u16string w = codeconv::PlatformCodePages().ToUtf16(codePage, bytes);
  return std::wstring(w.begin(), w.end());
}

}  // namespace fw
