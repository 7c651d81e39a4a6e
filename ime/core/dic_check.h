// Structure check and listing of a whole dictionary image: used by the
// dictionary builder on what it wrote, by the tests after every step and by
// the benchmark to list the words.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dic_format.h"

namespace ime::dic {

struct DicEntry {
  int tree = 0;
  std::string reading;
  std::string word;
  uint16_t value = 0;
  uint8_t kind = 0;
  uint8_t state = ' ';
};

struct DicTreeShapeInfo {
  int depth = 0;          // levels, 1 for a lone root
  uint32_t nodes = 0;
  uint32_t entries = 0;   // leaf entries, deleted ones included
};

// Checks the header, every tree (key order in and across nodes, level links,
// routing key = highest key of the child, one depth for all leaves, node
// counts below the split size, each leaf key = its record's reading) and the
// header's counts. "" when all holds, else the first fault. Lists the leaf
// entries in tree and key order when entries is given.
std::string DicCheckImage(const std::vector<uint8_t>& bytes, std::vector<DicEntry>* entries = nullptr,
                          DicTreeShapeInfo* shapes = nullptr);

}  // namespace ime::dic
