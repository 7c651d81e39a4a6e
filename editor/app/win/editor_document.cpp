#include "editor_document.h"

#include <windows.h>

#include <string>
#include <vector>

#include "editor_settings.h"

namespace brisel {

namespace {

// Lines read and written as UTF-8 until the document of the five codes
// takes this place.
class Utf8Document final : public fw::Document, public editorview::LineDocument {
 public:
  explicit Utf8Document(fw::DocumentUi& ui) : fw::Document(ui) {}
  int LineCount() const override { return static_cast<int>(lines_.size()); }
  std::string_view GetLine(int index) const override { return lines_[static_cast<size_t>(index)]; }
  void SetLine(int index, std::string_view text) override { lines_[static_cast<size_t>(index)] = text; }
  bool InsertLine(int index) override {
    if (lines_.size() >= static_cast<size_t>(editorview::kEditorLineLimit)) return false;
    lines_.insert(lines_.begin() + index, std::string());
    return true;
  }
  void DeleteLine(int index) override {
    if (lines_.size() == 1) {
      lines_[0].clear();
    } else {
      lines_.erase(lines_.begin() + index);
    }
  }
  void SetModifiedFlag(bool modified = true) override { fw::Document::SetModifiedFlag(modified); }

 protected:
  void DeleteContents() override { lines_.assign(1, std::string()); }
  bool ReadFile(std::u16string_view path) override {
    HANDLE f = CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart < 0x40000000;
    std::string bytes(ok ? static_cast<size_t>(size.QuadPart) : 0, '\0');
    DWORD n = 0;
    ok = ok && ::ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
    CloseHandle(f);
    if (!ok) return false;
    lines_.assign(1, std::string());
    for (char c : bytes) {
      if (c == '\n') {
        lines_.emplace_back();
      } else if (c != '\r') {
        lines_.back().push_back(c);
      }
    }
    if (lines_.size() > 1 && lines_.back().empty()) lines_.pop_back();
    return true;
  }
  bool WriteFile(std::u16string_view path) override {
    std::string bytes;
    for (const std::string& line : lines_) bytes += line + "\r\n";
    HANDLE f = CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    const bool ok = ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
    return CloseHandle(f) && ok;
  }

 private:
  std::vector<std::string> lines_{1};
};

}  // namespace

std::unique_ptr<fw::Document> MakeEditorDocument(fw::DocumentUi& ui, EditorSettings&) {
  return std::make_unique<Utf8Document>(ui);
}

EditorDocumentParts EditorDocumentOf(fw::Document& document) {
  auto& doc = static_cast<Utf8Document&>(document);
  return {&doc, &doc};
}

}  // namespace brisel
