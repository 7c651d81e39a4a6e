// The composition record (2408 bytes) and the candidate record (2992 bytes)
// that the engine keeps in an input context. The header is the input method
// manager's COMPOSITIONSTRING; fixed areas follow it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ime {

struct CompStrHeader {
  uint32_t dwSize;
  uint32_t dwCompReadAttrLen, dwCompReadAttrOffset;
  uint32_t dwCompReadClauseLen, dwCompReadClauseOffset;
  uint32_t dwCompReadStrLen, dwCompReadStrOffset;
  uint32_t dwCompAttrLen, dwCompAttrOffset;
  uint32_t dwCompClauseLen, dwCompClauseOffset;
  uint32_t dwCompStrLen, dwCompStrOffset;
  uint32_t dwCursorPos, dwDeltaStart;
  uint32_t dwResultReadClauseLen, dwResultReadClauseOffset;
  uint32_t dwResultReadStrLen, dwResultReadStrOffset;
  uint32_t dwResultClauseLen, dwResultClauseOffset;
  uint32_t dwResultStrLen, dwResultStrOffset;
  uint32_t dwPrivateSize, dwPrivateOffset;
};
static_assert(sizeof(CompStrHeader) == 100);

struct ImeCompString {
  CompStrHeader h;
  uint8_t compReadStr[128];
  uint8_t compReadAttr[128];
  uint8_t compReadClause[64];
  uint8_t compStr[128];
  uint8_t compAttr[128];
  uint8_t compClause[192];
  uint8_t resultReadStr[258];
  uint8_t resultReadClause[512];
  uint8_t resultStr[258];
  uint8_t resultClause[512];
};
static_assert(sizeof(ImeCompString) == 2408);
static_assert(offsetof(ImeCompString, compReadStr) == 100);
static_assert(offsetof(ImeCompString, compReadAttr) == 228);
static_assert(offsetof(ImeCompString, compReadClause) == 356);
static_assert(offsetof(ImeCompString, compStr) == 420);
static_assert(offsetof(ImeCompString, compAttr) == 548);
static_assert(offsetof(ImeCompString, compClause) == 676);
static_assert(offsetof(ImeCompString, resultReadStr) == 868);
static_assert(offsetof(ImeCompString, resultReadClause) == 1126);
static_assert(offsetof(ImeCompString, resultStr) == 1638);
static_assert(offsetof(ImeCompString, resultClause) == 1896);

constexpr uint32_t kCompStrSize = sizeof(ImeCompString);
constexpr uint32_t kCompStrHeaderSize = sizeof(CompStrHeader);

// Part flags of InitCompStr / ClearCompStr.
constexpr int kResultPart = 1;
constexpr int kCompositionPart = 2;
constexpr int kBothParts = 3;

void InitCompStr(ImeCompString& cs, int parts);
void ClearCompStr(ImeCompString& cs, int parts);

// Clause arrays are 32-bit values at unaligned places.
inline void PutU32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline uint32_t GetU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Candidate record.
struct CandInfoHeader {
  uint32_t dwSize;
  uint32_t dwCount;
  uint32_t dwOffset[32];
  uint32_t dwPrivateSize;
  uint32_t dwPrivateOffset;
};
static_assert(sizeof(CandInfoHeader) == 144);

struct CandListHeader {
  uint32_t dwSize;
  uint32_t dwStyle;
  uint32_t dwCount;
  uint32_t dwSelection;
  uint32_t dwPageStart;
  uint32_t dwPageSize;
  uint32_t dwOffset[128];
};

constexpr int kMaxCandidates = 128;
constexpr uint32_t kCandSlotSize = 18;
constexpr uint32_t kCandFirstSlot = 684;

struct ImeCandInfo {
  CandInfoHeader info;
  CandListHeader list;
  uint8_t pad[4];
  uint8_t slots[kMaxCandidates * kCandSlotSize];
  uint8_t tail[4];
};
static_assert(sizeof(ImeCandInfo) == 2992);
static_assert(offsetof(ImeCandInfo, list) == 144);
static_assert(offsetof(ImeCandInfo, slots) == kCandFirstSlot);

constexpr uint32_t kCandInfoSize = sizeof(ImeCandInfo);

inline void ResetCandInfo(ImeCandInfo& ci) {
  std::memset(&ci.info, 0, sizeof ci.info);
  ci.list.dwSize = ci.list.dwStyle = ci.list.dwCount = 0;
  ci.list.dwSelection = ci.list.dwPageStart = ci.list.dwPageSize = 0;
  ci.list.dwOffset[0] = 0;
}

}  // namespace ime
