// The two picture strips of a tool bar written as files: the normal strip
// as a 24-bit .bmp, the disabled one as an 8-bit .bmp whose palette holds
// the colours it uses in order of first use.
#pragma once

#include "canvas.h"

namespace raster {

// False (and the reason on stderr) when a file cannot be written.
bool WriteToolBarStrips(const char* normalPath, const Canvas& normal, const char* disabledPath, const Canvas& disabled);

}  // namespace raster
