// The composition engine: character keys, delete keys, edit keys and the
// composition operations, writing the composition record of an input context
// and sending its messages through the context's sink.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "code_page.h"
#include "comp_record.h"
#include "feedback.h"
#include "gm_remap.h"
#include "hanja_dictionary.h"
#include "ime_messages.h"
#include "ime_settings.h"
#include "inline_vector.h"
#include "jamo_automaton.h"
#include "ks_gm.h"
#include "reading_table.h"

namespace ime {

// The guideline block of an input context, resized on request.
class GuidelineBlock {
 public:
  virtual ~GuidelineBlock() = default;
  // The block resized to size bytes, or null.
  virtual uint8_t* Resize(size_t size) = 0;
};

// Guideline entries: level, index and the string resource of the text.
struct GuidelineEntry {
  uint32_t level;
  uint32_t index;
  unsigned stringId;
};
extern const GuidelineEntry GuidelineTable[3];

// The blocks of one input context, locked for the duration of one call.
struct ImeContextBlocks {
  ImeCompString* comp = nullptr;
  size_t compSize = 0;
  ImeCandInfo* cand = nullptr;
  size_t candSize = 0;
  MessageSink* sink = nullptr;
  GuidelineBlock* guideline = nullptr;
  unsigned conversionMode = 0;  // the context's own conversion mode
};

// The character before the composition cursor, for the on-screen keyboard.
struct CursorCharacter {
  bool composing = false;
  bool converted = false;   // the composition shows a conversion
  uint16_t character = 0;   // UTF-16, or the double byte of the code in use; 0 when none
  std::string keys;         // the keys that typed it (empty when none)
};

// The composition record has been sized by ImeSelect.
inline bool Valid(const ImeContextBlocks& ctx) { return ctx.comp != nullptr && ctx.compSize >= kCompStrSize; }

bool IsCharacterKey(unsigned c);
bool IsComposing(const ImeContextBlocks& ctx);
bool IsCompConverted(const ImeContextBlocks& ctx);
bool IsCandidateOpen(const ImeContextBlocks& ctx);

class ImeEngine {
 public:
  ImeEngine(ImeSettings& settings, UserFeedback& feedback,
            const codeconv::CodePageConverter& codePages);

  // The reading table of the ANSI interface (not owned); null when none loaded.
  void SetReadingTable(const ReadingTable* table) { table_ = table; }
  // The GM V3 code tables (not owned) for code number 2; null when none loaded.
  void SetGmTables(const codeconv::GmTables* tables) { gmTables_ = tables; }
  // The hanja dictionary (not owned); null when none is open.
  void SetDictionary(HanjaDictionary* dictionary) { dictionary_ = dictionary; }

  void InputCharKey(ImeContextBlocks& ctx, uint8_t ch, unsigned virtualKey);
  void DeleteKey(ImeContextBlocks& ctx, unsigned virtualKey);
  // key: virtual key in bits 0-7, character in bits 8-15. 1 when taken.
  int DispatchEditKey(ImeContextBlocks& ctx, unsigned key);

  int DetermineComposition(ImeContextBlocks& ctx, bool sendEnd);
  void DetermineFirstClause(ImeContextBlocks& ctx);
  void BackToReading(ImeContextBlocks& ctx);
  void RevertComposition(ImeContextBlocks& ctx);
  void CancelComposition(ImeContextBlocks& ctx);
  void MoveCompositionCursor(ImeContextBlocks& ctx, unsigned virtualKey);
  int ConvertToHanja(ImeContextBlocks& ctx);
  // move: -1 next, -2 previous (both wrap), -3 next page, -4 previous page,
  // -5/-6 next/previous without wrap, 0..511 a scroll position, 512 + n the
  // n-th candidate of the page. 0 when a no-wrap move meets an end.
  int MoveCandidateSelection(ImeContextBlocks& ctx, int move);
  int SelectCandidateByDigit(ImeContextBlocks& ctx, int n);
  // Makes candidate index of the open list the selection, with the page
  // moved to show it, and the composition showing it (as the selection keys
  // do). 0 when no list is open or the index is past its end.
  int SelectCandidate(ImeContextBlocks& ctx, uint32_t index);
  // Closes an open candidate list (the conversion stays showing). 0 when
  // none was open.
  int CloseCandidateList(ImeContextBlocks& ctx);
  void EndDictionaryAccess();
  // Writes guideline entry n with its text (system code page, at most 32
  // bytes used) and tells the application.
  void SetGuideline(ImeContextBlocks& ctx, int entry, const std::string& text);

  // A character of the lookup window (GM95, first byte in bits 0-7, second
  // 0 for a single byte) committed as the result string in the code in use.
  void InsertLookupChar(ImeContextBlocks& ctx, uint16_t character);
  // A NUL-terminated text already in the code in use committed as result
  // strings; a text longer than the result area goes out in several, each
  // cut at a whole character. An empty text does nothing.
  void InsertTransferredText(ImeContextBlocks& ctx, const std::string& bytes);

  CursorCharacter CharacterBeforeCursor(const ImeContextBlocks& ctx) const;
  // Double bytes of the code in use (KS, GM V3 or GM95) to the dictionary's
  // GM95 and back; single bytes stay.
  std::string DbToGm95(const std::string& bytes) const;
  std::string Gm95ToDb(const std::string& gm95) const;

  // One mark per composed character under the 3-set arrangement.
  const KeyMarks& Marks() const { return marks_; }
  size_t savedCursorPos = 0;  // cursor before a conversion, in units

 private:
  struct Ch {
    uint16_t v = 0;
    uint8_t w = 1;  // units: 1 in UTF-16; 1 or 2 bytes under the ANSI interface
    bool operator==(const Ch&) const = default;
  };
  // Room for a whole composition (128 units) without an allocation.
  using Text = InlineVector<Ch, 130>;

  // Record access in the units of the interface.
  Text ReadComp(const ImeCompString& cs) const;
  Text ReadReading(const ImeCompString& cs) const;
  uint32_t ReadingBytes(const ImeCompString& cs) const;
  Text ReadUnits(const uint8_t* area, uint32_t units) const;
  uint32_t WriteUnits(uint8_t* area, size_t capacity, const Text& t) const;
  static uint32_t UnitCount(const Text& t, size_t chars);
  size_t CharIndexOfUnit(const Text& t, uint32_t unit) const;
  uint32_t ByteLength(const Text& t) const;

  // Writes the composition (and the reading as its copy), attributes 0, one
  // clause, cursor and delta start (both in characters).
  void WriteComposition(ImeCompString& cs, const Text& comp, size_t cursor, size_t deltaStart) const;
  void WriteResult(ImeCompString& cs, const Text& result, const Text& reading) const;
  void InitComposition(ImeCompString& cs);
  void ReplaceMarks(size_t start, size_t count, const KeyMarks& with);

  std::string KeysOf(const Ch& c, size_t markIndex) const;
  // The same written to out (kKeyBufferSize bytes, zero-terminated); its length.
  size_t PutKeysOf(char* out, const Ch& c, size_t markIndex) const;
  Text Compose(const std::string& keys, KeyMarks* marks);
  // Appends the characters of keys (zero-terminated, length letters) to out.
  void ComposeInto(Text& out, const char* keys, size_t length, KeyMarks* marks);
  Ch WidenCharacter(uint8_t ch) const;
  uint16_t ToGm95(uint16_t c) const;
  uint16_t FromGm95(uint16_t c) const;
  bool IsLead(uint8_t b) const;

  void Send(ImeContextBlocks& ctx, uint32_t message, uint64_t wParam, int64_t lParam, bool straight = false);
  void SendComposition(ImeContextBlocks& ctx, uint32_t flags, bool straight = false);
  void CloseCandidates(ImeContextBlocks& ctx);
  int DispatchCandidateKey(ImeContextBlocks& ctx, unsigned key);

  // Hanja conversion (conversion.cpp).
  std::string ToDbCode(const Text& t) const;
  Text FromDbCode(const std::string& bytes) const;
  size_t CharsOfDbBytes(const Text& t, size_t bytes) const;
  bool WriteConversion(ImeCompString& cs, const Text& word, const Text& reading, size_t readWordChars,
                       bool allTarget) const;
  void ShowCandidate(ImeContextBlocks& ctx, uint32_t index, bool allTarget);
  void DicLearnChoice(ImeCompString& cs, unsigned conversionMode);

  // Text from companions (transfer.cpp).
  void CommitReceived(ImeContextBlocks& ctx, const Text& text);

  ImeSettings& settings_;
  UserFeedback& feedback_;
  const codeconv::CodePageConverter& codePages_;
  const ReadingTable* table_ = nullptr;
  const codeconv::GmTables* gmTables_ = nullptr;
  HanjaDictionary* dictionary_ = nullptr;
  KeyMarks marks_;
  std::vector<codeconv::DbChar> composedGm95_;  // scratch of Compose under the ANSI interface
};

}  // namespace ime
