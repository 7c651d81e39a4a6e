// Korean text (GM V3 or KS code) to its reading in Shift-JIS katakana, with
// the sound changes between syllables, the voicing at word starts, hanja as
// kanji and, on request, half-width kana. The export KNChange of Omidel.dll
// is KnChange over the tables of its module.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "kana_tables.h"
#include "ks_gm.h"

namespace kana {

// kanjiForm 0: a hanja becomes its modern Japanese form where it has one;
// any other value: always the same character.
inline constexpr int kModernKanji = 0;

// The reading of one GM code: a Hangul syllable's cell in HAN-JP cut at its
// first blank, or the Shift-JIS code of any other KS character from KS-JIS.
// A code that is no KS character of those tables (a GM row beyond the KS
// rows, a malformed trail byte, a missing table) comes back unchanged.
std::string ReadCharKana(const CKanaTables& tables, int kanjiForm, codeconv::DbChar code);

// One character of the walk (one byte, or a lead byte and its trail): a GM
// code below 0x889F and any single byte stay as they are; a Hangul syllable
// becomes its romanized string; any other code its ReadCharKana result.
std::string ReadSyllable(const CKanaTables& tables, int kanjiForm, std::string_view character);

// The reading of a romanized syllable composed from FSHAN-JP (initial and
// medial) and LHAN-JP (final); nothing when the letters are no syllable.
std::optional<std::string> ComposeSyllableKana(const CKanaTables& tables, std::string_view romanized);

// The sound changes between two romanized syllables: rewrites the end of
// previous and the start of next.
void ApplySoundRule(std::string& previous, std::string& next);

// Word-start form of a reading: the first kana of a ㄱ, ㄷ or ㅈ syllable
// loses its voicing, that of a ㅂ syllable becomes パ-row. Only a reading that
// starts with a double-byte kana is changed.
void AdjustVoicing(std::string_view syllable, std::string& reading);
// Voicing after the character before: the word-start form after a blank or
// punctuation and after a syllable that ends in a voiceless sound; the voiced
// form (ジ and ズ for ㅈ) after a vowel or a voiced final.
void ApplyVoicing(std::string_view before, std::string_view syllable, std::string& reading);

// The katakana 0x8340-0x8396 of a Shift-JIS text replaced by their KNTRAN
// half-width forms; a lead byte at the end becomes a blank.
std::string HalfWidthText(const CKanaTables& tables, std::string_view text);

// The whole reading of a NUL-free text.
std::string HangulToKana(const CKanaTables& tables, int kanjiForm, std::string_view text, bool inputIsKS,
                         bool keepFullWidth);

// The export's contract: text is the address of a pointer to a NUL-terminated
// text; with out null only the length is returned, else the reading and a NUL
// are written to out (which holds the measured length + 1 bytes). inputIsKS 1
// means KS input, anything else GM; keepFullWidth 0 asks for half-width kana.
// Returns the reading's length in bytes; 0 for no text or no memory.
int KnChange(const CKanaTables& tables, int kanjiForm, const char* const* text, char* out, int inputIsKS,
             int keepFullWidth);

}  // namespace kana
