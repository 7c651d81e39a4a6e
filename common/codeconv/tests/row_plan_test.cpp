// The planned remap that the text conversions use gives what RemapGmRow
// gives (alone, and with the fold to KS or the unfold from it), for every 16-bit pair, both directions, both sets of rules, with the
// generated tables, with none, and with one table missing; and the
// converter's texts equal its pairs converted one at a time.
#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"
#include "gm_converter.h"
#include "gm_remap.h"
#include "ime_code.h"

namespace codeconv {
namespace {

TEST(GmRowPlan, EveryPairAsRemapGmRowGivesIt) {
  GmTables onlyToV3;
  onlyToV3.toV3 = test::GeneratedTables().toV3;
  const GmTables* tableSets[] = {&test::GeneratedTables(), nullptr, &onlyToV3};
  const struct {
    const RemapRules* rules;
    const GmRowPlan& (*plan)(int);
  } users[] = {{&kConverterRules, GmRowPlan::Converter}, {&kImeRules, GmRowPlan::Ime}};
  for (const auto& user : users) {
    for (int direction : {kToGmV3, kFromGmV3}) {
      const GmRowPlan& plan = user.plan(direction);
      for (const GmTables* tables : tableSets) {
        int differ = 0;
        for (unsigned p = 0; p <= 0xFFFF; ++p) {
          const auto pair = static_cast<DbChar>(p);
          const DbChar plain = RemapGmRow(tables, direction, pair, *user.rules);
          if (plan.Remap(tables, pair) != plain) ++differ;
          if (direction == kFromGmV3) {
            // GM to KS: the remap, then the fold where the pair has a KS place.
            DbChar ks = plain;
            SjisToEuc(plain, ks);
            if (plan.RemapThenFold(tables, pair) != ks) ++differ;
          } else {
            // KS to GM: the unfold of a KS pair, then the remap.
            DbChar sjis = pair;
            const DbChar gm = EucToSjis(pair, sjis) ? RemapGmRow(tables, direction, sjis, *user.rules) : pair;
            if (plan.UnfoldThenRemap(tables, pair) != gm) ++differ;
          }
        }
        EXPECT_EQ(differ, 0) << "direction " << direction << (tables ? "" : " without tables");
      }
    }
  }
}

TEST(GmRowPlan, ConverterTextsEqualTheirPairsOneAtATime) {
  const GmCodeConverter& c = test::GeneratedConverter();
  // Every pair with a lead byte of each code, one after another.
  std::string gm, ks;
  for (unsigned p = 0x8100; p <= 0xFCFF; ++p) {
    if (!IsGmLeadByte(static_cast<uint8_t>(p >> 8))) continue;
    gm += static_cast<char>(p >> 8);
    gm += static_cast<char>(p & 0xFF);
  }
  for (unsigned p = 0x8000; p <= 0xFEFF; ++p) {
    ks += static_cast<char>(p >> 8);
    ks += static_cast<char>(p & 0xFF);
  }
  std::string toKs(gm.size() + 1, '\0');
  c.GmToKs(toKs.data(), gm.data(), static_cast<unsigned>(gm.size()));
  std::string toGm = ks + '\0';
  c.KsToGm(toGm.data(), static_cast<unsigned>(ks.size()));
  for (size_t i = 0; i < gm.size(); i += 2) {
    const DbChar one = c.GmCharToKs(MakeDb(static_cast<uint8_t>(gm[i]), static_cast<uint8_t>(gm[i + 1])));
    ASSERT_EQ(MakeDb(static_cast<uint8_t>(toKs[i]), static_cast<uint8_t>(toKs[i + 1])), one) << i;
  }
  for (size_t i = 0; i < ks.size(); i += 2) {
    const DbChar one = c.KsCharToGm(MakeDb(static_cast<uint8_t>(ks[i]), static_cast<uint8_t>(ks[i + 1])));
    ASSERT_EQ(MakeDb(static_cast<uint8_t>(toGm[i]), static_cast<uint8_t>(toGm[i + 1])), one) << i;
  }
}

}  // namespace
}  // namespace codeconv
