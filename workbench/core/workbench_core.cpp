#include "workbench_core.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "dictionary_link.h"
#include "text_utils.h"

namespace workbench {
namespace {

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
void Put32(uint8_t* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}
bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

std::optional<StartArguments> ParseStartArguments(const char* arguments) {
  int numbers[3] = {0, 0, 0};
  if (arguments) std::sscanf(arguments, "%d %d %d", &numbers[0], &numbers[1], &numbers[2]);
  if (numbers[2] != 1 && numbers[2] != 2) return std::nullopt;
  StartArguments a;
  a.notifyWindow = static_cast<uint32_t>(numbers[0]);
  a.targetWindow = static_cast<uint32_t>(numbers[1]);
  a.codeMode = numbers[2] == 1 ? 1 : 0;
  return a;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out.push_back('\\');
  out += name;
  return out;
}

lomi::JKTransConfig MakeTranslationConfig(const std::string slots[lomi::kUserDicSlots]) {
  lomi::JKTransConfig c;
  std::memset(&c, 0, sizeof c);
  for (int i = 0; i < lomi::kUserDicSlots; ++i) {
    if (slots[i].size() < lomi::kUserDicPathBytes) std::memcpy(c.userDic[i], slots[i].data(), slots[i].size());
  }
  const int32_t options[9] = {1, 0, 0, 1, 1, 0, 0, 2, 0};
  for (int i = 0; i < 9; ++i) Put32(reinterpret_cast<uint8_t*>(&c.option[i]), options[i]);
  Put32(reinterpret_cast<uint8_t*>(&c.lastOption), 1);
  return c;
}

InputCheck CheckInputLength(std::size_t bytes, int limit) {
  if (bytes == 0) return InputCheck::kEmpty;
  if (bytes > static_cast<std::size_t>(limit)) return InputCheck::kTooLong;
  return InputCheck::kOk;
}

std::optional<AlignmentTable> AlignmentTable::Read(std::vector<uint8_t> buffer, std::size_t japaneseBytes,
                                                   std::size_t koreanBytes) {
  if (buffer.size() < lomi::kEntrySize) return std::nullopt;
  AlignmentTable t;
  t.buffer_ = std::move(buffer);
  t.japaneseBytes_ = japaneseBytes;
  t.Refresh(koreanBytes);
  return t;
}

void AlignmentTable::Refresh(std::size_t koreanBytes) {
  pairs_.clear();
  const std::size_t room = buffer_.size() / lomi::kEntrySize - 1;
  const std::size_t n = std::min<std::size_t>(Get32(buffer_.data()), room);
  for (std::size_t e = 1; e <= n; ++e) {
    const uint8_t* p = buffer_.data() + e * lomi::kEntrySize;
    AlignedPair a;
    a.index = static_cast<int>(e);
    a.koreanOffset = Get32(p + lomi::kKoreanOffset);
    a.koreanLength = Get32(p + lomi::kKoreanLength);
    a.japaneseOffset = Get32(p + lomi::kJapaneseOffset);
    a.japaneseLength = Get32(p + lomi::kJapaneseLength);
    a.dataIndex = Get32(p + lomi::kDataIndex);
    const bool inside = uint64_t{a.koreanOffset} + a.koreanLength <= koreanBytes &&
                        uint64_t{a.japaneseOffset} + a.japaneseLength <= japaneseBytes_;
    if (inside && a.dataIndex >= 1 && a.dataIndex <= n) pairs_.push_back(a);
  }
}

const AlignedPair* AlignmentTable::Counterpart(Side side, uint32_t offset) const {
  for (const AlignedPair& a : pairs_) {
    const uint32_t start = side == Side::kJapanese ? a.japaneseOffset : a.koreanOffset;
    const uint32_t length = side == Side::kJapanese ? a.japaneseLength : a.koreanLength;
    if (offset >= start && offset - start < length) return &a;
  }
  return nullptr;
}

const AlignedPair* AlignmentTable::ExactPair(Side side, int start, int end) const {
  if (start < 0 || end < 1) return nullptr;
  for (const AlignedPair& a : pairs_) {
    const uint32_t s = side == Side::kJapanese ? a.japaneseOffset : a.koreanOffset;
    const uint32_t length = side == Side::kJapanese ? a.japaneseLength : a.koreanLength;
    if (length > 0 && s == static_cast<uint32_t>(start) && uint64_t{s} + length == static_cast<uint64_t>(end)) return &a;
  }
  return nullptr;
}

std::optional<std::vector<uint32_t>> PlanSend(std::string_view text, const std::function<bool(uint8_t)>& lead) {
  std::vector<uint32_t> params;
  for (std::size_t i = 0; i < text.size();) {
    const uint8_t first = static_cast<uint8_t>(text[i]);
    if (lead(first) && i + 1 < text.size()) {
      params.push_back(first | static_cast<uint32_t>(static_cast<uint8_t>(text[i + 1])) << 8);
      i += 2;
    } else {
      params.push_back(first);
      i += 1;
    }
    if (params.size() > static_cast<std::size_t>(kMaxSendChars)) return std::nullopt;
  }
  params.push_back(0xFFFF);
  return params;
}

ClickPoint AbsoluteClickPoint(long left, long top, long right, long bottom, int width, int height) {
  const long cx = left + (right - left) / 2;
  const long cy = top + (bottom - top) / 2;
  ClickPoint p;
  if (width > 0) p.x = static_cast<long>(std::trunc(65537.0 / width * cx + 0.9));
  if (height > 0) p.y = static_cast<long>(std::trunc(65535.0 / height * cy + 0.9));
  return p;
}

int CharToByteOffset(std::string_view s, int position) {
  std::size_t bytes = 0;
  for (int c = 0; c < position; ++c) {
    if (bytes >= s.size()) return position;
    bytes += IsSjisLead(static_cast<uint8_t>(s[bytes])) && bytes + 1 < s.size() ? 2 : 1;
  }
  return static_cast<int>(bytes);
}

int ByteToCharOffset(std::string_view s, int offset) {
  if (offset < 0) return offset;
  std::size_t bytes = 0;
  int chars = 0;
  while (bytes < static_cast<std::size_t>(offset)) {
    if (bytes >= s.size()) return offset;
    bytes += IsSjisLead(static_cast<uint8_t>(s[bytes])) && bytes + 1 < s.size() ? 2 : 1;
    ++chars;
  }
  return chars;
}

std::string FormatWindowPos(const WindowPos& p) {
  char text[96];
  std::snprintf(text, sizeof text, "%d,%d,%ld,%ld,%ld,%ld", p.flags, p.showCommand, p.left, p.top, p.right, p.bottom);
  return text;
}

std::optional<WindowPos> ParseWindowPos(std::string_view text) {
  const std::string s(text.substr(0, 95));
  WindowPos p;
  if (std::sscanf(s.c_str(), "%d,%d,%ld,%ld,%ld,%ld", &p.flags, &p.showCommand, &p.left, &p.top, &p.right,
                  &p.bottom) != 6)
    return std::nullopt;
  return p;
}

WindowPos DefaultWindowPos(int screenWidth, int screenHeight) {
  WindowPos p;
  p.left = screenWidth / 4;
  p.top = screenHeight / 4;
  p.right = screenWidth * 3 / 4;
  p.bottom = screenHeight * 3 / 4;
  return p;
}

std::string DictionaryCommandLine(std::string_view programPath, std::u16string_view text, bool japanese, int method,
                                  bool newWindowSetting) {
  std::string escaped(10 * text.size() + 2, '\0');
  codeconv::EscapeForCommandLine(escaped.data(), static_cast<unsigned>(escaped.size()), text.data(),
                                 static_cast<int>(text.size()));
  escaped.resize(std::strlen(escaped.c_str()));
  escaped.resize(ombrel::link::EscapedTextCut(escaped, ombrel::link::kQueryTextBytes));
  std::string line = "\"" + std::string(programPath) + "\" ";
  line += ombrel::link::FormatDictionaryCommandLine(escaped, japanese ? ombrel::link::kJapaneseToKorean
                                                                      : ombrel::link::kKoreanToJapanese,
                                                    method, newWindowSetting, true);
  return line;
}

bool DictionaryProcesses::Record(uintptr_t handle, bool handOver) {
  if (handOver) {
    count_ = 1;
    if (slots_[0] != 0) return false;
    slots_[0] = handle;
    return true;
  }
  if (Full()) return false;
  slots_[count_++] = handle;
  return true;
}

std::vector<uintptr_t> DictionaryProcesses::Handles() const {
  std::vector<uintptr_t> out;
  for (int i = 0; i < kMax; ++i)
    if (slots_[i]) out.push_back(slots_[i]);
  return out;
}

// The line store refuses an insertion while it holds more lines than its
// limit, so a limit one below the most lines keeps the document at 99999.
PaneLines::PaneLines() : lines_(kMaxLines - 1) { data_.resize(1); }

void PaneLines::SetLine(int index, std::string_view text) {
  if (index < 0 || index >= LineCount()) return;
  if (lines_.GetLine(index) != text) data_[static_cast<std::size_t>(index)].reset();
  lines_.SetLine(index, text);
}

bool PaneLines::InsertLine(int index) {
  if (index < 0 || index > LineCount()) return false;
  if (!lines_.InsertLine(index)) return false;
  data_.insert(data_.begin() + index, nullptr);
  return true;
}

void PaneLines::DeleteLine(int index) {
  if (index < 0 || index >= LineCount()) return;
  if (LineCount() == 1) {
    ClearLines();
    return;
  }
  lines_.DeleteLine(index);
  data_.erase(data_.begin() + index);
}

void PaneLines::ClearLines() {
  lines_.ResetLines();
  data_.clear();
  data_.resize(1);
}

int PaneLines::SetLineData(int index, std::unique_ptr<AlignmentTable> data) {
  if (index < 0 || static_cast<std::size_t>(index) >= data_.size()) return -1;
  data_[static_cast<std::size_t>(index)] = std::move(data);
  return 0;
}

AlignmentTable* PaneLines::LineData(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= data_.size()) return nullptr;
  return data_[static_cast<std::size_t>(index)].get();
}

void PaneLines::SetText(std::string_view text, std::unique_ptr<AlignmentTable> data) {
  ClearLines();
  lines_.SetLine(0, text);
  data_[0] = std::move(data);
}

}  // namespace workbench
