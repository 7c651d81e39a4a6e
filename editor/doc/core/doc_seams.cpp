#include "doc_seams.h"

#include <cstdio>
#include <initializer_list>

namespace brisel {

std::u16string_view NoticeText(DocNotice notice) {
  switch (notice) {
    case DocNotice::kBadFormat: return u"データの形式が正しくありません。";
    case DocNotice::kNotAllRead: return u"最後までデータを読むことができません";
    case DocNotice::kLineTooLong: return u"データの1行の長さが長すぎます。";
    case DocNotice::kOutOfMemory: return u"";
    case DocNotice::kOpenFailed: return u"ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。";
    case DocNotice::kSaveFailed: return u"ﾌｧｲﾙを保存できませんでした。";
    case DocNotice::kSaveOutOfMemory: return DefaultDocString(kIdsSaveOutOfMemory);
  }
  return u"";
}

namespace {

std::u16string Text(const StringSource& strings, unsigned id) {
  std::u16string text = strings ? strings(id) : std::u16string();
  return text.empty() ? std::u16string(DefaultDocString(id)) : text;
}

std::u16string Number(size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// text with %1 ... %9 replaced by the arguments.
std::u16string Fill(std::u16string_view text, std::initializer_list<std::u16string> arguments) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
      const size_t k = static_cast<size_t>(text[i + 1] - u'1');
      if (k < arguments.size()) out += *(arguments.begin() + k);
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

std::u16string_view DefaultDocString(unsigned id) {
  switch (id) {
    case kIdsReadChangedHead: return u"ﾌｧｲﾙの内容をそのままでは読み込めなかったため、次のように変えて読み込みました。";
    case kIdsReadUndecodable: return u"・この文字ｺｰﾄﾞで読めないﾃﾞｰﾀを含む行: %1 行";
    case kIdsReadDropped: return u"・削除した制御文字: %1 個";
    case kIdsReadLoneCr: return u"・削除した単独の CR (改行にならない復帰文字): %1 個";
    case kIdsReadSplit: return u"・長すぎるため分割した行: %1 か所";
    case kIdsReadChangedTail: return u"元のﾌｧｲﾙを守るため、上書き保存では名前を付けて保存します。";
    case kIdsMissingChars:
      return u"%1 では保存できない文字が %2 個あります。\n最初の文字: %3 (%4 行目)\n\n"
             u"別の文字ｺｰﾄﾞを選んで保存しますか?";
    case kIdsSaveOutOfMemory: return u"ﾒﾓﾘが不足しているため、ﾌｧｲﾙを保存できませんでした。";
    case kIdsSaveCodeUtf8: return u"UTF-8";
    case kIdsSaveCodeUnicode: return u"Unicode";
    case kIdsSaveCodeKs: return u"KSｺｰﾄﾞ";
    case kIdsSaveCodeGm: return u"GMｺｰﾄﾞ";
    default: return u"";
  }
}

std::u16string ReadChangedMessage(const ReadOutcome& read, const StringSource& strings) {
  std::u16string text = Text(strings, kIdsReadChangedHead);
  auto add = [&](size_t count, unsigned id) {
    if (count) text += u"\n" + Fill(Text(strings, id), {Number(count)});
  };
  add(read.undecodableLines, kIdsReadUndecodable);
  add(read.droppedControls, kIdsReadDropped);
  add(read.loneCrs, kIdsReadLoneCr);
  add(read.splitLines, kIdsReadSplit);
  text += u"\n\n" + Text(strings, kIdsReadChangedTail);
  return text;
}

std::u16string SaveCodeName(int outFileType, const StringSource& strings) {
  switch (outFileType) {
    case kOutUnicode: return Text(strings, kIdsSaveCodeUnicode);
    case kOutGm: return Text(strings, kIdsSaveCodeGm);
    case kOutKs:
    case kOutFontCode: return Text(strings, kIdsSaveCodeKs);
    default: return Text(strings, kIdsSaveCodeUtf8);
  }
}

std::u16string MissingCharactersMessage(const MissingCharacters& missing, int outFileType,
                                        const StringSource& strings) {
  std::u16string character = u"「";
  if (missing.first >= 0x10000) {
    character.push_back(static_cast<char16_t>(0xD800 + ((missing.first - 0x10000) >> 10)));
    character.push_back(static_cast<char16_t>(0xDC00 + ((missing.first - 0x10000) & 0x3FF)));
  } else {
    character.push_back(static_cast<char16_t>(missing.first));
  }
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(missing.first));
  character += u"」";
  character += u" ";
  for (const char* p = code; *p; ++p) character.push_back(static_cast<char16_t>(*p));
  return Fill(Text(strings, kIdsMissingChars),
              {SaveCodeName(outFileType, strings), Number(missing.count), character,
               Number(static_cast<size_t>(missing.firstLine + 1))});
}

bool SaveReplacing(FileStore& store, std::u16string_view path, std::string_view bytes) {
  const std::optional<std::u16string> temporary = store.WriteBeside(path, bytes);
  if (!temporary) return false;
  if (store.Replace(path, *temporary)) return true;
  store.Remove(*temporary);
  return false;
}

}  // namespace brisel
