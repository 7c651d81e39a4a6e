// The rules of the dictionary selection dialog: what its three path fields
// show when it opens (a stored dictionary the engine refuses is forgotten),
// the check of each typed path on OK (full path, creation of a missing
// dictionary, format), duplicates, and what the slots and the registry
// receive. Texts are UTF-8.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "user_dic_engine.h"

namespace workbench {

inline constexpr int kDicChoiceSlots = 3;
inline constexpr int kDicChoiceFirstEdit = 124;  // the path fields 124, 125, 126

struct PathParts {
  std::string drive, folder, name, extension;  // "C:", "\a\", "b", ".dic"
};
PathParts SplitPath(std::string_view path);
// drive + folder + name: the path without its extension.
std::string PathWithoutExtension(std::string_view path);

enum class Beep { kExclamation, kAsterisk, kQuestion };

class DicChoiceUi {
 public:
  virtual ~DicChoiceUi() = default;
  // A warning box (exclamation icon) after a beep of that kind.
  virtual void Warn(const std::string& text, Beep beep) = 0;
  // A Yes/No question (question icon and beep); true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  virtual void WaitCursor(bool on) = 0;
};

class FileProbe {
 public:
  virtual ~FileProbe() = default;
  virtual bool Exists(const std::string& path) const = 0;
};

class UserDicRegistry {
 public:
  virtual ~UserDicRegistry() = default;
  // "User Dic1".."User Dic3" (slot 0-2) of "DMUserDic".
  virtual void WriteSlot(int slot, const std::string& value) = 0;
};

using DicSlots = std::array<std::string, kDicChoiceSlots>;

// The fields' texts at opening: a stored dictionary the engine accepts (its
// path checked as stored, so a name with dots keeps them) shows with
// ".DIC"; any other is emptied in slots and in the registry.
DicSlots OpenDicChoice(DicSlots& slots, UserDicEngine& engine, UserDicRegistry& registry);

// The folder a browse for a slot starts in: the stored path's drive and
// folder, or folderValue ("FOLDER") when the slot is empty.
std::string BrowseStartFolder(std::string_view slot, std::string_view folderValue);

struct FieldCheck {
  bool valid = false;
  std::string stored;  // what the slot receives
};
// One non-empty typed path, with its messages and the creation question.
FieldCheck CheckDictionaryField(const std::string& typed, UserDicEngine& engine, const FileProbe& files,
                                DicChoiceUi& ui);

struct DicChoiceResult {
  bool ok = false;
  int focus = 0;  // the field to put the focus on when not ok
};
// OK: checks the fields, then duplicates; on success the slots and the
// registry take the stored paths (empty fields empty).
DicChoiceResult ApplyDicChoice(const DicSlots& typed, DicSlots& slots, UserDicEngine& engine, const FileProbe& files,
                           UserDicRegistry& registry, DicChoiceUi& ui);

// The dialog's texts.
inline constexpr std::string_view kDicChoiceCaption = "辞書指定";
inline constexpr std::string_view kNeedFullPath = "フルパス名で指定して下さい";
inline constexpr std::string_view kDuplicateDictionaries = "辞書が重複しています";
inline constexpr std::string_view kCannotCreate = "辞書が作成できません！";
std::string MissingDictionaryQuestion(std::string_view typed);
std::string BadFormatMessage(std::string_view typed);

}  // namespace workbench
