// The editor document's files on Win32: whole files read at once, saved
// through a new file in the same folder that replaces the old one (so a
// failure while writing never leaves the old file cut short).
#pragma once

#include "doc_seams.h"

namespace brisel {

class Win32FileStore final : public FileStore {
 public:
  std::optional<std::string> ReadAll(std::u16string_view path) override;
  // A GetTempFileNameW file ("brs*.tmp") beside path, written through.
  std::optional<std::u16string> WriteBeside(std::u16string_view path, std::string_view bytes) override;
  // MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH; the
  // new file takes the old one's attributes first. Fails for a read-only
  // target, which stays as it was.
  bool Replace(std::u16string_view path, std::u16string_view temporary) override;
  void Remove(std::u16string_view path) override;
};

}  // namespace brisel
