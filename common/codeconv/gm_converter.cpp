#include "gm_converter.h"

#include <cstring>

#include "pair_walk.h"
#include "text_utils.h"

namespace codeconv {

namespace {

// Full-width code page 932 forms of 0x20-0x7E.
constexpr uint16_t kFullWidthAscii[95] = {
    0x8140, 0x8149, 0x818D, 0x8194, 0x8190, 0x8193, 0x8195, 0x818C, 0x8169, 0x816A, 0x8196, 0x817B, 0x8143,
    0x817C, 0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258,
    0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265,
    0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272,
    0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279, 0x816D, 0x815F, 0x816E, 0x814F, 0x8151, 0x818C,
    0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D,
    0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A,
    0x816F, 0x8162, 0x8170, 0x8160,
};

// Full-width forms of the half-width katakana 0xA1-0xDF.
constexpr uint16_t kFullWidthKana[63] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385,
    0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352,
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384,
    0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,
};

constexpr uint8_t kVoicedMark = 0xDE;
constexpr uint8_t kSemiVoicedMark = 0xDF;
constexpr uint8_t kHalfU = 0xB3;  // takes the voiced mark as ヴ
constexpr uint16_t kFullVu = 0x8394;

bool TakesVoicedMark(uint8_t b) { return (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE) || b == kHalfU; }
bool TakesSemiVoicedMark(uint8_t b) { return b >= 0xCA && b <= 0xCE; }

// Full-width form of a single byte; 0 when it has none.
DbChar FullWidthForm(uint8_t b, bool ks) {
  if (ks && b == '\\') return kGmV3WonSign;
  if (b >= 0x20 && b <= 0x7E) return kFullWidthAscii[b - 0x20];
  if (b == 0xA0) return 0x8145;
  return 0;
}

// One pair through the remap of the plan and the fold, each way.
DbChar GmPairToKs(const GmRowPlan& plan, const GmTables& tables, DbChar pair) {
  return plan.RemapThenFold(&tables, pair);  // no KS place ("??" cells, rows above 94): stays as it is
}

DbChar KsPairToGm(const GmRowPlan& plan, const GmTables& tables, DbChar pair) {
  return plan.UnfoldThenRemap(&tables, pair);
}

}  // namespace

void GmCodeConverter::LoadTables(uintptr_t module, const ResourceFinder& finder) {
  if (module != 0 && module == module_) return;
  module_ = module;
  hanglymr_ = finder.Find(module, "HANGLYMR");
  tables_.toV3 = FindCodeTable(finder, module, "GM95-V3");
  tables_.fromV3 = FindCodeTable(finder, module, "GMV3-95");
}

void GmCodeConverter::SjisShapeToEuc(uint8_t out[2], const uint8_t in[2]) {
  DbChar pair = MakeDb(in[0], in[1]);
  SjisToEuc(pair, pair);
  out[0] = Lead(pair);
  out[1] = Trail(pair);
}

void GmCodeConverter::EucToSjisShape(uint8_t pair[2]) {
  DbChar p = MakeDb(pair[0], pair[1]);
  EucToSjis(p, p);
  pair[0] = Lead(p);
  pair[1] = Trail(p);
}

void GmCodeConverter::RemapCodeRow(int direction, uint8_t pair[2]) const {
  const DbChar p = GmRowPlan::Converter(direction).Remap(&tables_, MakeDb(pair[0], pair[1]));
  pair[0] = Lead(p);
  pair[1] = Trail(p);
}

DbChar GmCodeConverter::GmCharToKs(DbChar pair) const {
  return GmPairToKs(GmRowPlan::Converter(kFromGmV3), tables_, pair);
}

DbChar GmCodeConverter::KsCharToGm(DbChar pair) const {
  return KsPairToGm(GmRowPlan::Converter(kToGmV3), tables_, pair);
}

void GmCodeConverter::GmToKs(char* destination, const char* source, unsigned length) const {
  if (destination == nullptr) return;
  if (source != nullptr) {
    ConvertPairs(reinterpret_cast<uint8_t*>(destination), reinterpret_cast<const uint8_t*>(source), length,
                 codeconv::IsGmLeadByte,
                 [this, &plan = GmRowPlan::Converter(kFromGmV3)](DbChar p) { return GmPairToKs(plan, tables_, p); });
  } else {
    length = 0;
  }
  destination[length] = '\0';
}

void GmCodeConverter::KsToGm(char* buffer, unsigned length) const {
  if (buffer == nullptr) return;
  auto* b = reinterpret_cast<uint8_t*>(buffer);
  ConvertPairs(b, b, length, codeconv::IsHighBitByte,
               [this, &plan = GmRowPlan::Converter(kToGmV3)](DbChar p) { return KsPairToGm(plan, tables_, p); });
  buffer[length] = '\0';
}

int GmCodeConverter::CombineHalfKana(uint8_t pair[2]) {
  const uint8_t b = pair[0];
  if (b < 0xA1 || b > 0xDF) return 0;
  DbChar full = kFullWidthKana[b - 0xA1];
  int absorbed = 0;
  if (pair[1] == kVoicedMark && TakesVoicedMark(b)) {
    full = b == kHalfU ? kFullVu : static_cast<DbChar>(full + 1);
    absorbed = 1;
  } else if (pair[1] == kSemiVoicedMark && TakesSemiVoicedMark(b)) {
    full = static_cast<DbChar>(full + 2);
    absorbed = 1;
  }
  pair[0] = Lead(full);
  pair[1] = Trail(full);
  return absorbed;
}

int GmCodeConverter::Widen(char* destination, size_t capacity, const char* source, unsigned length,
                           bool ks) const {
  if (destination == nullptr || capacity == 0) return 0;
  if (source == nullptr) length = 0;
  auto* out = reinterpret_cast<uint8_t*>(destination);
  const auto* in = reinterpret_cast<const uint8_t*>(source);
  size_t written = 0;
  // Room for n more bytes and the terminator.
  auto fits = [&](size_t n) { return written + n + 1 <= capacity; };
  size_t i = 0;
  while (i < length) {
    const uint8_t b = in[i];
    const bool lead = ks ? codeconv::IsHighBitByte(b) : codeconv::IsGmLeadByte(b);
    if (lead && i + 1 < length) {
      if (!fits(2)) break;
      out[written++] = b;
      out[written++] = in[i + 1];
      i += 2;
      continue;
    }
    DbChar wide = 0;
    size_t used = 1;
    if (!lead) {
      if (!ks && b >= 0xA1 && b <= 0xDF) {
        uint8_t pair[2] = {b, static_cast<uint8_t>(i + 1 < length ? in[i + 1] : 0)};
        used += static_cast<size_t>(CombineHalfKana(pair));
        wide = MakeDb(pair[0], pair[1]);
      } else {
        wide = FullWidthForm(b, ks);
      }
    }
    if (wide == 0) {  // no full-width form (or a lone lead byte): the byte itself
      if (!fits(1)) break;
      out[written++] = b;
      ++i;
      continue;
    }
    if (ks) wide = GmCharToKs(wide);
    if (!fits(2)) break;
    out[written++] = Lead(wide);
    out[written++] = Trail(wide);
    i += used;
  }
  out[written] = 0;
  return static_cast<int>(written);
}

int GmCodeConverter::WidenSjisText(char* destination, size_t capacity, const char* source,
                                   unsigned length) const {
  return Widen(destination, capacity, source, length, false);
}

int GmCodeConverter::WidenKsText(char* destination, size_t capacity, const char* source, unsigned length) const {
  return Widen(destination, capacity, source, length, true);
}

void GmCodeConverter::NormalizeSpacing(const char* source, char* destination, int mode) const {
  codeconv::NormalizeSpacing(source, destination, mode);
}

}  // namespace codeconv
