#include "display_faces.h"

namespace brisel {

namespace {

int CALLBACK AddFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD fontType, LPARAM lParam) {
  auto* list = reinterpret_cast<FaceList*>(lParam);
  const auto* elf = reinterpret_cast<const ENUMLOGFONTEXW*>(lf);
  list->Add(U16(elf->elfLogFont.lfFaceName), elf->elfLogFont.lfCharSet, elf->elfLogFont.lfPitchAndFamily,
            static_cast<int>(fontType), elf->elfLogFont.lfHeight);
  return 1;
}

class InformationContext {
 public:
  InformationContext() : dc_(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
  ~InformationContext() {
    if (dc_) DeleteDC(dc_);
  }
  InformationContext(const InformationContext&) = delete;
  InformationContext& operator=(const InformationContext&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

FaceList EnumerateDisplayFaces() {
  FaceList list;
  InformationContext ic;
  if (!ic.get()) return list;
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(ic.get(), &all, AddFace, reinterpret_cast<LPARAM>(&list), 0);
  // A raster face's sizes: each of its fonts, enumerated by its name.
  FaceList sized;
  for (const FaceEntry& face : list.Faces()) {
    LOGFONTW one{};
    one.lfCharSet = static_cast<BYTE>(face.charset);
    lstrcpynW(one.lfFaceName, Wide(face.name).c_str(), LF_FACESIZE);
    sized.Add(face.name, face.charset, face.pitchAndFamily, face.fontType, 0);
    if (face.fontType & kRasterFontType) {
      EnumFontFamiliesExW(ic.get(), &one, AddFace, reinterpret_cast<LPARAM>(&sized), 0);
    }
  }
  return sized;
}

int DisplayLogPixelsY() {
  InformationContext ic;
  return ic.get() ? GetDeviceCaps(ic.get(), LOGPIXELSY) : 96;
}

}  // namespace brisel
