#include "doc_seams.h"

namespace brisel {

std::u16string_view NoticeText(DocNotice notice) {
  switch (notice) {
    case DocNotice::kBadFormat: return u"データの形式が正しくありません。";
    case DocNotice::kNotAllRead: return u"最後までデータを読むことができません";
    case DocNotice::kLineTooLong: return u"データの1行の長さが長すぎます。";
    case DocNotice::kOutOfMemory: return u"";
    case DocNotice::kOpenFailed: return u"ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。";
    case DocNotice::kSaveFailed: return u"ﾌｧｲﾙを保存できませんでした。";
  }
  return u"";
}

bool SaveReplacing(FileStore& store, std::u16string_view path, std::string_view bytes) {
  const std::optional<std::u16string> temporary = store.WriteBeside(path, bytes);
  if (!temporary) return false;
  if (store.Replace(path, *temporary)) return true;
  store.Remove(*temporary);
  return false;
}

}  // namespace brisel
