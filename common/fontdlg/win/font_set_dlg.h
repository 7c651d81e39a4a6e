// CFontSetDlg: a Japanese face, a Korean face, one common size and, in the
// variants that choose them, a colour for each, with a live sample of each
// side. The listening program, the text player and the dictionary program
// open it with their own parameter set (template and control ids, face
// rules, colours or not); the template is the program's own resource.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "dialog.h"
#include "font_rules.h"

namespace fontdlg {

struct FontDialogIds {
  unsigned templateId;
  int japaneseList, koreanList, sizeList;
  int japaneseSample, koreanSample;  // owner-drawn statics
  int japaneseColor, koreanColor;    // owner-drawn combo boxes, 0 when the variant has none
};

struct FontDialogVariant {
  FontDialogIds ids;
  FaceRules rules;
  bool colours;  // false: the colour boxes stay hidden and disabled
};

inline constexpr FontDialogVariant kListeningFontDialog{{144, 1000, 1002, 1003, 1004, 1005, 1006, 1007},
                                                        FaceRules::kListening, false};
inline constexpr FontDialogVariant kPlayerFontDialog{{144, 1000, 1002, 278, 1172, 1005, 0, 0}, FaceRules::kPlayer,
                                                     false};
inline constexpr FontDialogVariant kDictionaryFontDialog{{154, 1014, 1063, 1017, 1037, 1038, 1012, 1011},
                                                         FaceRules::kDictionary, true};

// One side of the choice.
struct FontSide {
  std::wstring face;
  int height = 0;  // LOGFONT height (negative: character height)
  BYTE charset = DEFAULT_CHARSET;
  BYTE pitchAndFamily = 0;
  int color = kAutoColor;  // index of the colour table
};

// The Korean pane's font record: that height and face, normal weight, the
// Hangul character set, fixed pitch.
LOGFONTW KoreanPaneFont(int height, const std::wstring& face);

// The COLORREF of a colour index (kAutoColor: the window-text colour now).
COLORREF ColorOfIndex(int index);

class CFontSetDlg : public fw::Dialog {
 public:
  CFontSetDlg(const fw::Module& module, const FontDialogVariant& variant, FontSide japanese, FontSide korean,
              bool fixedPitchOnly = false);
  ~CFontSetDlg() override;

  // The choice after IDOK (weight 400 is what the callers build fonts with).
  const FontSide& Japanese() const { return japanese_; }
  const FontSide& Korean() const { return korean_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void FillFontLists();
  void AddFace(const LOGFONTW& lf, DWORD fontType, const TEXTMETRICW& tm);
  void FaceChanged(bool korean);
  void SizeChanged();
  void DrawSample(const DRAWITEMSTRUCT& di, const FontSide& side, HFONT& font);
  void DrawColorItem(const DRAWITEMSTRUCT& di);
  int Dpi() const;
  static int CALLBACK EnumFontFamProc(const LOGFONTW* lf, const TEXTMETRICW* tm, DWORD fontType, LPARAM self);

  FontDialogVariant variant_;
  FontSide japanese_, korean_;
  bool fixedPitchOnly_;
  std::vector<BYTE> japanesePitch_, koreanPitch_;
  HFONT japaneseSampleFont_ = nullptr, koreanSampleFont_ = nullptr;
};

}  // namespace fontdlg
