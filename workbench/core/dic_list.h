// The rules of the user-dictionary list: pages of 13 entries read from the
// engine forward and backward, one-row scrolls, delete (the engine first,
// then the page) and the find scan that stops at the first entry sorting
// after the text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "user_dic_engine.h"

namespace workbench {

inline constexpr int kListPageRows = 13;

class DicListPager {
 public:
  DicListPager(UserDicEngine& engine, std::string name) : engine_(engine), name_(std::move(name)) {}

  // Takes the dictionary's digit and count and reads the first page; false
  // when the engine does not know the dictionary.
  bool Open();

  int Total() const { return total_; }
  // The first row's place in the dictionary (1-based), 0 before any read.
  int FirstRow() const { return firstRow_; }
  const std::vector<DicCandidateRecord>& Rows() const { return rows_; }
  int Selection() const { return selection_; }
  void Select(int row);

  bool CanPageForward() const { return total_ - firstRow_ >= kListPageRows; }
  bool CanPageBackward() const { return firstRow_ > 1; }
  bool PageForward();
  bool PageBackward();
  // The selection one row up or down, scrolling by one entry at the page's
  // edge; false (a beep) at the first or last entry.
  bool MoveUp();
  bool MoveDown();

  // Deletes the selected entry in the engine, then from the page (keeping
  // it full); the engine's negative result when it refused (the page is
  // then unchanged), else 0.
  int DeleteSelected();
  // Whether an entry was deleted since opening.
  bool Changed() const { return changed_; }

  // The first of the entries whose source equals text, and how many follow
  // one another from it; the scan reads pages from the beginning and stops
  // at the first entry that sorts after the text before any equal one.
  struct Found {
    int count = 0;
    int number = 0;  // entry number of the first
  };
  Found Find(const std::string& sjis);
  // Shows the page with the entry of this number as its third row where
  // entries before it allow, and selects it.
  bool ShowEntry(int number);

  // "第" n "行目": the selected row's place, right-aligned in 5; "    0" when empty.
  std::string RowNumberText() const;

 private:
  int Read(int start, int step, int count, std::vector<DicCandidateRecord>& out);
  int DigitArgument(bool backward) const;

  UserDicEngine& engine_;
  std::string name_;
  char digit_ = '0';
  int total_ = 0;
  int firstRow_ = 0;
  int selection_ = -1;
  bool changed_ = false;
  std::vector<DicCandidateRecord> rows_;
};

std::string FoundMessage(int count);

}  // namespace workbench
