#include "eudc_setup.h"

namespace belvo {

const std::array<EudcFont, kFontCount>& EudcFontLinkTable() {
  static constexpr std::array<EudcFont, kFontCount> table{{
      {u"GMMINCHO.TTF", u"GMMINCHO.TTE", u"ＧＭ韓国明朝"},
      {u"GMGOTHIC.TTF", u"GMGOTHIC.TTE", u"ＧＭ韓国ゴシック"},
      {u"GMSMINCH.TTF", u"GMSMINCH.TTE", u"ＧＭ韓国細明朝"},
      {u"GMBMINCH.TTF", u"GMBMINCH.TTE", u"ＧＭ韓国太明朝"},
      {u"GMBGOTHI.TTF", u"GMBGOTHI.TTE", u"ＧＭ韓国太ゴシック"},
      {u"GMRGOTHI.TTF", u"GMRGOTHI.TTE", u"ＧＭ韓国丸ゴシック"},
      {u"GMHEADLN.TTF", u"GMHEADLN.TTE", u"ＧＭ韓国ヘッドライン"},
      {u"GMGRAPHI.TTF", u"GMGRAPHI.TTE", u"ＧＭ韓国グラフィック"},
      {u"GMTSHO.TTF", u"GMTSHO.TTE", u"ＧＭ韓国Ｔ書"},
      {u"GMSASHU.TTF", u"GMSASHU.TTE", u"ＧＭ韓国刺しゅう"},
      {u"GMJUSHO.TTF", u"GMJUSHO.TTE", u"ＧＭ韓国樹書"},
      {u"GMKOSHO.TTF", u"GMKOSHO.TTE", u"ＧＭ韓国古書"},
      {u"GMKYUSHO.TTF", u"GMKYUSHO.TTE", u"ＧＭ韓国宮書"},
      {u"GMTEGAMI.TTF", u"GMTEGAMI.TTE", u"ＧＭ韓国手紙"},
      {u"GMMAGIC.TTF", u"GMMAGIC.TTE", u"ＧＭ韓国マジック"},
      {u"GMSHINMN.TTF", u"GMSHINMN.TTE", u"ＧＭ韓国新聞明朝"},
  }};
  return table;
}

std::optional<std::u16string> ProgramFolder(std::u16string_view installDirectory) {
  if (installDirectory.empty()) return std::nullopt;
  std::u16string folder(installDirectory);
  if (folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
  folder += u"GeulmaruV6\\";
  return folder;
}

std::u16string EudcPath(std::u16string_view programFolder, int row) {
  return std::u16string(programFolder) + u"Gaiji\\" + EudcFontLinkTable()[static_cast<size_t>(row)].eudcFile;
}

PresentRows CheckFontFiles(FileProbe& files, std::u16string_view programFolder) {
  PresentRows present{};
  for (int row = 0; row < kFontCount; ++row) present[static_cast<size_t>(row)] = files.Exists(EudcPath(programFolder, row));
  return present;
}

std::vector<FontLink> LinksFor(std::u16string_view programFolder, const PresentRows& present) {
  std::vector<FontLink> links;
  for (int row = 0; row < kFontCount; ++row) {
    if (present[static_cast<size_t>(row)]) {
      links.push_back({row, EudcFontLinkTable()[static_cast<size_t>(row)].face, EudcPath(programFolder, row)});
    }
  }
  return links;
}

LinkResult RegisterEudcFontLink(SetupRegistry& registry, const FontLink& link) {
  if (!registry.OpenLinkKey()) return LinkResult::kNoKey;
  const bool set = registry.SetLink(link.face, link.path);
  registry.CloseLinkKey();
  return set ? LinkResult::kWritten : LinkResult::kNotWritten;
}

bool ShouldLogOff(SetupOutcome outcome, bool finishingOk, int choice) {
  return outcome == SetupOutcome::kLinked && finishingOk && choice == 0;
}

}  // namespace belvo
