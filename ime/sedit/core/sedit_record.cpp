#include "sedit_record.h"

namespace sedit {

InstanceTable::InstanceTable(const Variant& variant, std::span<Record> records, std::span<char> bytes)
    : variant_(variant), records_(records.first(static_cast<size_t>(variant.records))) {
  const size_t size = static_cast<size_t>(variant.bufferSize);
  for (size_t i = 0; i < records_.size(); ++i) {
    records_[i].text = bytes.data() + 2 * i * size;
    records_[i].undo = bytes.data() + (2 * i + 1) * size;
  }
  Clear();
}

void InstanceTable::ResetRecord(Record& r) const {
  char* text = r.text;
  char* undo = r.undo;
  r = Record{};
  r.text = text;
  r.undo = undo;
  r.text[0] = '\0';
  r.undo[0] = '\0';
  r.limit = variant_.limit;
  switch (variant_.leadRule) {
    case LeadRule::kFontFlag: r.rule = {TextCode::kShiftJisShape, 0}; break;
    case LeadRule::kRecordCodePage: r.rule = {TextCode::kCodePage, 932}; break;
    case LeadRule::kUtf8: r.rule = {TextCode::kUtf8, 0}; break;
  }
}

void InstanceTable::Clear() {
  for (Record& r : records_) ResetRecord(r);
}

int InstanceTable::Claim(std::uintptr_t window) {
  for (size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].window == 0) {
      // A claimed record starts clean, fonts included: nothing of the
      // control that held it before is left behind.
      ResetRecord(records_[i]);
      records_[i].window = window;
      return static_cast<int>(i);
    }
  }
  return -1;
}

int InstanceTable::Release(std::uintptr_t window) {
  const int index = IndexOf(window);
  if (index >= 0) records_[static_cast<size_t>(index)].window = 0;
  return index;
}

int InstanceTable::IndexOf(std::uintptr_t window) const {
  if (window == 0) return -1;
  for (size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].window == window) return static_cast<int>(i);
  }
  return -1;
}

Record* InstanceTable::Find(std::uintptr_t window) {
  const int index = IndexOf(window);
  return index < 0 ? nullptr : &records_[static_cast<size_t>(index)];
}

}  // namespace sedit
