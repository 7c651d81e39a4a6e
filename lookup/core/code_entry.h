// What the code page's entry field accepts: a row-cell number, a code of the
// user-defined area, or a typed character whose place is looked up.
#pragma once
#include <string_view>

#include "gm_remap.h"
#include "lookup_codes.h"

namespace lookup {

enum CodeEntryResult : int {
  kEntryInvalid = 0,
  kEntryRowCell = 1,  // value RRCC: row 1-94 (code number 1) or 1-120, cell 1-94
  kEntryUserCode = 2, // value 0xF040-0xFCFC with a Shift-JIS trail byte (code numbers 0 and 2)
  kEntryTyped = 3,    // value row x 100 + cell of the typed character in KS
};

struct CodeEntry {
  int result = kEntryInvalid;
  int value = 0;
  bool operator==(const CodeEntry&) const = default;
};

// text is the field's bytes (at most 10, NUL-free) in the input method's
// code; tables are the GM95 / GM V3 tables (null: V3 rows stay as they are).
CodeEntry ParseCodeEntry(std::string_view text, int koreanCode, const codeconv::GmTables* tables);

// The GM95 character of an entry: the JIS-form pair (row + 0x20, cell + 0x20)
// through the KS-to-GM arithmetic for row-cell and typed entries, the code
// itself for a user-defined code; 0 for an invalid entry.
DbChar EntryCharacter(const CodeEntry& entry);

}  // namespace lookup
