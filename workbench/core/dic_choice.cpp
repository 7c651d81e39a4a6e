#include "dic_choice.h"

#include <algorithm>

namespace workbench {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  std::size_t slash = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i)
    if (IsSeparator(path[i])) slash = i;
  if (slash != std::string_view::npos) {
    parts.folder = std::string(path.substr(0, slash + 1));
    path.remove_prefix(slash + 1);
  }
  const std::size_t dot = path.rfind('.');
  if (dot != std::string_view::npos) {
    parts.extension = std::string(path.substr(dot));
    path = path.substr(0, dot);
  }
  parts.name = std::string(path);
  return parts;
}

std::string PathWithoutExtension(std::string_view path) {
  const PathParts p = SplitPath(path);
  return p.drive + p.folder + p.name;
}

std::string MissingDictionaryQuestion(std::string_view typed) {
  return "辞書(" + std::string(typed) + ")が存在しません！\n新規作成しますか？";
}
std::string BadFormatMessage(std::string_view typed) {
  return "指定されたユーザー辞書(" + std::string(typed) + ")はファイルの形式が正しくありません。";
}

DicSlots OpenDicChoice(DicSlots& slots, UserDicEngine& engine, UserDicRegistry& registry) {
  DicSlots fields;
  for (int i = 0; i < kDicChoiceSlots; ++i) {
    std::string& slot = slots[static_cast<std::size_t>(i)];
    if (slot.empty()) continue;
    if (engine.IsUserDicFile(slot)) {
      fields[static_cast<std::size_t>(i)] = slot + ".DIC";
    } else {
      slot.clear();
      registry.WriteSlot(i, "");
    }
  }
  return fields;
}

std::string BrowseStartFolder(std::string_view slot, std::string_view folderValue) {
  if (slot.empty()) return std::string(folderValue);
  const PathParts p = SplitPath(slot);
  return p.drive + p.folder;
}

FieldCheck CheckDictionaryField(const std::string& typed, UserDicEngine& engine, const FileProbe& files,
                                DicChoiceUi& ui) {
  FieldCheck check;
  if (typed.size() < 3 || typed[1] != ':' || typed[2] != '\\') {
    ui.Warn(std::string(kNeedFullPath), Beep::kExclamation);
    return check;
  }
  std::string base;
  if (files.Exists(typed)) {
    base = PathWithoutExtension(typed);
  } else if (!EqualNoCase(SplitPath(typed).extension, ".dic") && files.Exists(typed + ".dic")) {
    // The dictionary typed without its extension: the name as typed is
    // the dictionary's, dots and all.
    base = typed;
  } else {
    if (!ui.AskYesNo(MissingDictionaryQuestion(typed))) return check;
    const std::string created = PathWithoutExtension(typed);
    ui.WaitCursor(true);
    const int result = engine.CreateUserDic(created);
    ui.WaitCursor(false);
    if (result != 0) {
      ui.Warn(std::string(kCannotCreate), Beep::kExclamation);
      return check;
    }
    check.valid = true;
    check.stored = created;
    return check;
  }
  if (!engine.IsUserDicFile(base)) {
    ui.Warn(BadFormatMessage(typed), Beep::kAsterisk);
    return check;
  }
  check.valid = true;
  check.stored = base;
  return check;
}

DicChoiceResult ApplyDicChoice(const DicSlots& typed, DicSlots& slots, UserDicEngine& engine, const FileProbe& files,
                           UserDicRegistry& registry, DicChoiceUi& ui) {
  DicSlots stored;
  for (int i = 0; i < kDicChoiceSlots; ++i) {
    const std::string& text = typed[static_cast<std::size_t>(i)];
    if (text.empty()) continue;
    const FieldCheck check = CheckDictionaryField(text, engine, files, ui);
    if (!check.valid) return {false, kDicChoiceFirstEdit + i};
    stored[static_cast<std::size_t>(i)] = check.stored;
  }
  static constexpr int kPairs[3][3] = {{0, 1, 1}, {0, 2, 2}, {1, 2, 2}};  // fields compared, field to focus
  for (const auto& pair : kPairs) {
    const std::string& a = typed[static_cast<std::size_t>(pair[0])];
    const std::string& b = typed[static_cast<std::size_t>(pair[1])];
    if (!a.empty() && !b.empty() && EqualNoCase(a, b)) {
      ui.Warn(std::string(kDuplicateDictionaries), Beep::kExclamation);
      return {false, kDicChoiceFirstEdit + pair[2]};
    }
  }
  for (int i = 0; i < kDicChoiceSlots; ++i) {
    slots[static_cast<std::size_t>(i)] = stored[static_cast<std::size_t>(i)];
    registry.WriteSlot(i, stored[static_cast<std::size_t>(i)]);
  }
  return {true, 0};
}

}  // namespace workbench
