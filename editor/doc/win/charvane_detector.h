// The outside code detector "CHARVANE.dll" as the document's and the view's
// CodeDetector: its export Charvane, imported by name through the DLL's
// import library.
#pragma once

#include "view_seams.h"

namespace brisel {

class CharvaneDetector final : public editorview::CodeDetector {
 public:
  unsigned Detect(std::string_view bytes, unsigned mask) override;
};

}  // namespace brisel
