// A dictionary file read whole: the files are small, and each fill opens
// and closes them anew.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lookup {

// False when the file cannot be opened or read, or is larger than any
// dictionary of the library could be.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& out);

}  // namespace lookup
