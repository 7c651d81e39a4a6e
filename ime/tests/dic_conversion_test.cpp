// Hanja conversion through the real dictionary engine over a file: the list
// comes from the file, a choice determined with the list open is learned in
// the file, and the file is free for other processes between keys.
#include <gtest/gtest.h>

#include "dic_hanja.h"
#include "dic_test_util.h"
#include "key_tables.h"

namespace ime {
namespace {

std::string Ks(const std::u16string& u) { return codeconv::PlatformCodePages().FromUtf16(949, u); }
std::string Gm(const std::u16string& u) {
  const std::string ks = Ks(u);
  std::string out;
  for (size_t i = 0; i + 1 < ks.size(); i += 2) {
    codeconv::DbChar g =
        codeconv::KsCharToGm(codeconv::MakeDb(static_cast<uint8_t>(ks[i] & 0x7F), static_cast<uint8_t>(ks[i + 1])));
    out.push_back(static_cast<char>(codeconv::Lead(g)));
    out.push_back(static_cast<char>(codeconv::Trail(g)));
  }
  return out;
}

struct FileConversion : test::EngineFixture {
  test::TempDir dir;
  std::string path = dir.File("GmV6KS.dic");
  dic::DicEngine dicEngine{PlatformBlockFiles(), feedback, 0};
  DicHanjaDictionary hanja{dicEngine};

  FileConversion() {
    settings.mikakuBytes = 64;
    EXPECT_TRUE(WriteWholeFile(path, dic::NewDictionaryImage()));
    test::DicUser maker(PlatformBlockFiles());
    EXPECT_EQ(maker.engine.DicOpen(path), 0);
    // Each word goes before the others of its reading: 韓 漢 寒 in the end.
    for (const char16_t* w : {u"寒", u"漢", u"韓"}) maker.Add(Gm(u"한"), Gm(w), dic::kKindBothModes);
    maker.Add(Gm(u"한국"), Gm(u"韓國"), dic::kKindBothModes);
    EXPECT_EQ(dicEngine.DicOpen(path), 0);
    engine.SetDictionary(&hanja);
  }
  std::vector<std::string> StoredWords(const std::u16string& reading) {
    test::DicUser reader(PlatformBlockFiles());
    EXPECT_EQ(reader.engine.DicOpen(path), 0);
    return reader.Words(Gm(reading));
  }
  // A key the way the input method's key-down entry point passes it on.
  void EntryKey(unsigned vk, char ch = 0) { ImeKeyDownCore(engine, ctx.blocks, vk | static_cast<unsigned char>(ch) << 8, false); }
};

TEST(FileConversion, ThirdCandidateDeterminedWithTheListOpenIsLearnedInTheFile) {
  FileConversion f;
  f.Type("gks");
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"韓");
  f.Key(0x19);  // the list, on the second word
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.cand.list.dwCount, 3u);
  EXPECT_EQ(f.ctx.CompW(), u"漢");
  f.Key(0x28);  // down: the third
  EXPECT_EQ(f.ctx.CompW(), u"寒");
  f.Key(0x0D);
  EXPECT_EQ(f.ctx.ResultW(), u"寒");
  EXPECT_EQ(f.StoredWords(u"한"), (std::vector<std::string>{Gm(u"寒"), Gm(u"韓"), Gm(u"漢")}));

  f.Type("gks");
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"寒");  // the learned word comes first next time
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"韓");
  EXPECT_TRUE(f.feedback.boxes.empty());
  EXPECT_TRUE(f.feedback.beeps.empty());
}

TEST(FileConversion, DeterminingWithoutTheListLearnsNothing) {
  FileConversion f;
  std::vector<uint8_t> before;
  ASSERT_TRUE(ReadWholeFile(f.path, &before));
  f.Type("gksrnr");
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"韓國");
  f.Key(0x0D);
  EXPECT_EQ(f.ctx.ResultW(), u"韓國");
  f.engine.EndDictionaryAccess();
  std::vector<uint8_t> after;
  ASSERT_TRUE(ReadWholeFile(f.path, &after));
  EXPECT_EQ(after, before);
}

TEST(FileConversion, FileIsFreeBetweenKeysAndChangesOfOthersAreSeen) {
  FileConversion f;
  f.Type("gks");
  f.EntryKey(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"韓");
  EXPECT_EQ(f.dicEngine.State(), dic::kSlotClosed);
  // Another process adds a word while this conversion is showing.
  test::DicUser other(PlatformBlockFiles());
  ASSERT_EQ(other.engine.DicOpen(f.path), 0);
  ASSERT_EQ(other.Add(Gm(u"한"), Gm(u"汗"), dic::kKindBothModes), 0);
  f.EntryKey(0x19);
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.cand.list.dwCount, 4u);
  EXPECT_EQ(f.dicEngine.State(), dic::kSlotClosed);
  f.EntryKey(0x0D, '\r');
  EXPECT_EQ(f.ctx.ResultW(), u"韓");
  EXPECT_EQ(f.StoredWords(u"한").front(), Gm(u"韓"));
  EXPECT_TRUE(f.feedback.boxes.empty());
}


// The words of the alternative mode (kind 0x12) are offered when the input
// context's conversion mode has the bit 0x1000, and only then; the
// module-wide mode does not decide it.
TEST(FileConversion, KindMaskFollowsTheContextsConversionMode) {
  FileConversion f;
  test::DicUser other(PlatformBlockFiles());
  ASSERT_EQ(other.engine.DicOpen(f.path), 0);
  ASSERT_EQ(other.Add(Gm(u"한"), Gm(u"翰"), dic::kKindUserWordAlt), 0);
  ASSERT_EQ(other.Add(Gm(u"한"), Gm(u"限"), dic::kKindUserWord), 0);
  f.settings.conversionMode = kConvNative | dic::kAltKindModeBit;  // not the context's
  f.ctx.blocks.conversionMode = 0x19;
  f.Type("gks");
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"限");
  f.Key(0x19);
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.cand.list.dwCount, 4u) << "限 and the three of both modes";
  f.Key(0x1B);
  f.Key(0x1B);
  f.Key(0x1B);

  f.settings.conversionMode = kConvNative;
  f.ctx.blocks.conversionMode = 0x19 | dic::kAltKindModeBit;
  f.Type("gks");
  f.Key(0x19);
  EXPECT_EQ(f.ctx.CompW(), u"翰");
  f.Key(0x19);
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.cand.list.dwCount, 4u) << "翰 and the three of both modes";
}

// A choice is learned among the words of its context's mode, whatever
// another context looked up in between.
TEST(FileConversion, LearningFindsTheWordInItsContextsMode) {
  FileConversion f;
  test::DicUser other(PlatformBlockFiles());
  ASSERT_EQ(other.engine.DicOpen(f.path), 0);
  ASSERT_EQ(other.Add(Gm(u"한"), Gm(u"翰"), dic::kKindUserWordAlt), 0);
  ASSERT_EQ(other.Add(Gm(u"한"), Gm(u"瀚"), dic::kKindUserWordAlt), 0);
  f.ctx.blocks.conversionMode = 0x19 | dic::kAltKindModeBit;
  f.Type("gks");
  f.Key(0x19);
  f.Key(0x19);  // 瀚 翰 韓 漢 寒, on the second
  ASSERT_TRUE(IsCandidateOpen(f.ctx.blocks));
  EXPECT_EQ(f.ctx.CompW(), u"翰");
  // Another window of the process converts in the normal mode meanwhile.
  std::string w;
  ASSERT_TRUE(f.hanja.Lookup(Gm(u"한"), 0x19, &w));
  f.hanja.EndAccess();
  f.Key(0x0D);
  EXPECT_EQ(f.ctx.ResultW(), u"翰");
  EXPECT_TRUE(f.feedback.beeps.empty());
  test::DicUser reader(PlatformBlockFiles());
  ASSERT_EQ(reader.engine.DicOpen(f.path), 0);
  EXPECT_EQ(reader.Words(Gm(u"한"), dic::kAltKindModeBit),
            (std::vector<std::string>{Gm(u"翰"), Gm(u"瀚"), Gm(u"韓"), Gm(u"漢"), Gm(u"寒")}));
}

}  // namespace
}  // namespace ime
