// The application-side converter between the GM code (GM V3 layout) and the
// KS code, and the widening of half-width text to full width.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "gm_remap.h"
#include "ks_gm.h"
#include "resources.h"

namespace codeconv {

class GmCodeConverter {
 public:
  // Finds HANGLYMR, GM95-V3 and GMV3-95 in module; does nothing when this same
  // non-zero module was loaded last. A missing table stays absent.
  void LoadTables(uintptr_t module, const ResourceFinder& finder);
#ifdef _WIN32
  void LoadTables(void* module) { LoadTables(reinterpret_cast<uintptr_t>(module), ModuleResources()); }
#endif
  // Tables given directly (fixtures, or a program that holds them itself).
  void SetTables(const GmTables& tables) { tables_ = tables; }
  const GmTables& Tables() const { return tables_; }
  std::span<const uint8_t> RomanisationTable() const { return hanglymr_; }

  static int IsGmLeadByte(uint8_t b) { return codeconv::IsGmLeadByte(b) ? 1 : 0; }
  static int IsHighBitByte(uint8_t b) { return codeconv::IsHighBitByte(b) ? 1 : 0; }
  // Shift-JIS shape to EUC shape and back; pairs outside the ranges (and
  // Shift-JIS rows above 94, which have no KS place) are copied unchanged.
  static void SjisShapeToEuc(uint8_t out[2], const uint8_t in[2]);
  static void EucToSjisShape(uint8_t pair[2]);
  // In place; direction 1 GM to KS, 0 KS to GM.
  void RemapCodeRow(int direction, uint8_t pair[2]) const;

  // GM text of length bytes to KS in destination (length + 1 bytes: a NUL follows).
  void GmToKs(char* destination, const char* source, unsigned length) const;
  // KS text to GM in place; buffer holds length + 1 bytes (a NUL follows).
  void KsToGm(char* buffer, unsigned length) const;
  // One pair each way: GM to KS (remap, then fold) and KS to GM (unfold, then remap).
  DbChar GmCharToKs(DbChar pair) const;
  DbChar KsCharToGm(DbChar pair) const;

  // Widen Shift-JIS (or KS) text of length bytes to double-byte characters in
  // destination of capacity bytes; stops before a character that would not
  // leave room for the NUL that always follows. Returns the bytes written.
  int WidenSjisText(char* destination, size_t capacity, const char* source, unsigned length) const;
  int WidenKsText(char* destination, size_t capacity, const char* source, unsigned length) const;
  // A half-width kana (pair[0]) and the byte after it (pair[1]) to one
  // full-width kana in place; 1 when pair[1] was a voiced or semi-voiced mark
  // that was absorbed, else 0. Bytes that are no half-width kana stay.
  static int CombineHalfKana(uint8_t pair[2]);

  // Blanks between Japanese characters removed, those between words kept;
  // see text_utils.h. destination holds at least strlen(source) + 1 bytes.
  void NormalizeSpacing(const char* source, char* destination, int mode) const;

 private:
  int Widen(char* destination, size_t capacity, const char* source, unsigned length, bool ks) const;

  uintptr_t module_ = 0;
  std::span<const uint8_t> hanglymr_;
  GmTables tables_;
};

}  // namespace codeconv
