// The engine's inline vector behaves as std::vector under the operations the
// engine uses, inside its own room and past it on the heap.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "inline_vector.h"

namespace ime {
namespace {

TEST(InlineVector, RandomEditsGiveWhatStdVectorGives) {
  std::mt19937 random(3);
  for (int run = 0; run < 200; ++run) {
    InlineVector<int, 4> v;
    std::vector<int> expected;
    for (int step = 0; step < 40; ++step) {
      const int what = static_cast<int>(random() % 5);
      const size_t at = expected.empty() ? 0 : random() % (expected.size() + 1);
      if (what == 0 || expected.empty()) {
        v.push_back(step);
        expected.push_back(step);
      } else if (what == 1 && step % 2 == 0) {
        const size_t n = random() % 6;
        int* added = v.extend(n);
        for (size_t i = 0; i < n; ++i) added[i] = step + static_cast<int>(i);
        for (size_t i = 0; i < n; ++i) expected.push_back(step + static_cast<int>(i));
      } else if (what == 1) {
        const std::vector<int> items(random() % 6, step);
        v.insert(v.begin() + at, items.data(), items.data() + items.size());
        expected.insert(expected.begin() + static_cast<long>(at), items.begin(), items.end());
      } else if (what == 2 && at < expected.size()) {
        v.erase(v.begin() + at);
        expected.erase(expected.begin() + static_cast<long>(at));
      } else if (what == 3) {
        const size_t to = at + random() % (expected.size() - at + 1);
        v.erase(v.begin() + at, v.begin() + to);
        expected.erase(expected.begin() + static_cast<long>(at), expected.begin() + static_cast<long>(to));
      } else {
        const InlineVector<int, 4> copy(v);
        v = copy;
        v = v;
      }
      ASSERT_EQ(std::vector<int>(v.begin(), v.end()), expected) << run << " " << step;
    }
  }
}

TEST(InlineVector, CopiesAndRangesAreIndependentOfTheOriginal) {
  InlineVector<int, 2> a{1, 2, 3};
  const InlineVector<int, 2> b(a.begin() + 1, a.end());
  a[1] = 9;
  EXPECT_EQ(std::vector<int>(b.begin(), b.end()), (std::vector<int>{2, 3}));
  EXPECT_TRUE((InlineVector<int, 2>{1, 9, 3} == a));
  EXPECT_FALSE((InlineVector<int, 2>{1, 9} == a));
}

}  // namespace
}  // namespace ime
