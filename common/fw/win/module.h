// A module and its resources, always named by an explicit handle: a DLL runs
// inside a host program, whose own module is not the one to read from.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace fw {

class Module {
 public:
  Module() = default;
  explicit Module(HINSTANCE handle) : handle_(handle) {}
  // The module that holds the given address (a function or variable of it).
  static Module Containing(const void* address);

  HINSTANCE handle() const { return handle_; }
  bool valid() const { return handle_ != nullptr; }

  // A string of the module's string table as UTF-16; empty when missing.
  std::wstring String(unsigned id) const;
  // The same string as bytes of an explicit code page (932 Japanese, 949 Korean).
  std::string StringBytes(unsigned id, unsigned codePage) const;

  // The bytes of a resource of any type; empty when missing. The bytes live
  // as long as the module stays loaded.
  std::span<const std::uint8_t> Resource(const wchar_t* type, const wchar_t* name) const;
  std::span<const std::uint8_t> Resource(const char* type, const char* name) const;

  HBITMAP LoadBitmapResource(unsigned id) const;

 private:
  HINSTANCE handle_ = nullptr;
};

// UTF-16 text to and from the bytes of an explicit code page.
std::string ToCodePage(unsigned codePage, const std::wstring& text);
std::wstring FromCodePage(unsigned codePage, const std::string& bytes);

}  // namespace fw
