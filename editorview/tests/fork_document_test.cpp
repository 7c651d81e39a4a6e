// The line store of the listening program's and the text player's views.
#include "fork_document.h"

#include <gtest/gtest.h>

namespace editorview {
namespace {

class NoUi final : public fw::DocumentUi {
 public:
  fw::SaveAnswer AskToSave(std::u16string_view) override { return fw::SaveAnswer::kNo; }
  std::optional<std::u16string> PromptSaveName(std::u16string_view, unsigned) override { return std::nullopt; }
  bool Exists(std::u16string_view) override { return false; }
  bool IsReadOnly(std::u16string_view) override { return false; }
  void Remove(std::u16string_view) override {}
};

TEST(ForkDocument, RefusesALineOnceItHoldsMoreThan99999) {
  NoUi ui;
  ForkLineDocument doc(ui);
  EXPECT_EQ(doc.LineCount(), 1);
  while (doc.LineCount() < 99999) ASSERT_TRUE(doc.InsertLine(doc.LineCount()));
  // 99999 lines are not more than 99999: one more goes in.
  EXPECT_TRUE(doc.InsertLine(0));
  EXPECT_EQ(doc.LineCount(), 100000);
  EXPECT_FALSE(doc.InsertLine(0));
  EXPECT_FALSE(doc.InsertLine(doc.LineCount()));
  EXPECT_EQ(doc.LineCount(), 100000);
}

TEST(ForkDocument, NeverEmpty) {
  NoUi ui;
  ForkLineDocument doc(ui);
  doc.SetLine(0, "a");
  doc.DeleteLine(0);
  EXPECT_EQ(doc.LineCount(), 1);
  EXPECT_EQ(doc.GetLine(0), "");
  doc.InsertLine(1);
  doc.SetLine(1, "b");
  doc.ClearLines();
  EXPECT_EQ(doc.LineCount(), 1);
  EXPECT_EQ(doc.Text(), "");
  doc.SetLine(0, "c");
  EXPECT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(doc.LineCount(), 1);
  EXPECT_EQ(doc.GetLine(0), "");
}

}  // namespace
}  // namespace editorview
