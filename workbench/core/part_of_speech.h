// The part-of-speech names of the user-dictionary dialogs (UTF-8), from an
// entry's three part-of-speech bytes: the word chooser's table (texts
// blank-padded to 8 Shift-JIS bytes), the dictionary list's table (unpadded,
// with its own names for two kinds), and the seven noun classes that the
// dictionary editor registers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace workbench {

struct PartOfSpeechBytes {
  uint8_t type = 0;
  uint8_t subtype = 0;
  int8_t third = 0;  // for adjectival types: above 20 is the nominal adjective
};

// The chooser's names, e.g. "動詞    "; "********" for any other pair.
std::string_view ChooserPartOfSpeechName(PartOfSpeechBytes pos);
// The list's names, e.g. "動詞", "形動詞"; "****" for any other pair.
std::string_view ListPartOfSpeechName(PartOfSpeechBytes pos);

// The noun classes in the order of the editor's class box.
struct NounClass {
  std::string_view name;  // as the class box shows it
  uint8_t subtype;        // of type 6
};
inline constexpr std::size_t kNounClassCount = 7;
const NounClass& NounClassAt(std::size_t index);
inline constexpr uint8_t kNounType = 6;
// The class box's index for an entry: its subtype's class; 0 for an entry
// that is no noun; 6 for a noun whose subtype is no class.
std::size_t NounClassIndexOf(uint8_t type, uint8_t subtype);
// The editor's list names: the chooser's name of a noun of a class, else
// "********".
std::string_view EditorClassName(uint8_t type, uint8_t subtype);

}  // namespace workbench
