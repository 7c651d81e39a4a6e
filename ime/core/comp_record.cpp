#include "comp_record.h"

namespace ime {

void ClearCompStr(ImeCompString& cs, int parts) {
  CompStrHeader& h = cs.h;
  if (parts & kCompositionPart) {
    h.dwCompReadAttrLen = h.dwCompReadClauseLen = h.dwCompReadStrLen = 0;
    h.dwCompAttrLen = h.dwCompClauseLen = h.dwCompStrLen = 0;
    h.dwCursorPos = h.dwDeltaStart = 0;
  }
  if (parts & kResultPart) {
    h.dwResultReadClauseLen = h.dwResultReadStrLen = 0;
    h.dwResultClauseLen = h.dwResultStrLen = 0;
  }
}

void InitCompStr(ImeCompString& cs, int parts) {
  CompStrHeader& h = cs.h;
  h.dwSize = kCompStrSize;
  h.dwCompReadStrOffset = offsetof(ImeCompString, compReadStr);
  h.dwCompReadAttrOffset = offsetof(ImeCompString, compReadAttr);
  h.dwCompReadClauseOffset = offsetof(ImeCompString, compReadClause);
  h.dwCompStrOffset = offsetof(ImeCompString, compStr);
  h.dwCompAttrOffset = offsetof(ImeCompString, compAttr);
  h.dwCompClauseOffset = offsetof(ImeCompString, compClause);
  h.dwResultReadStrOffset = offsetof(ImeCompString, resultReadStr);
  h.dwResultReadClauseOffset = offsetof(ImeCompString, resultReadClause);
  h.dwResultStrOffset = offsetof(ImeCompString, resultStr);
  h.dwResultClauseOffset = offsetof(ImeCompString, resultClause);
  h.dwPrivateSize = 0;
  h.dwPrivateOffset = 0;
  ClearCompStr(cs, parts);
  if (parts & kCompositionPart) {
    // The first character of both strings is cleared as well.
    cs.compStr[0] = cs.compStr[1] = 0;
    cs.compReadStr[0] = cs.compReadStr[1] = 0;
  }
}

}  // namespace ime
