// The two picture strips of a tool bar written as files: the normal strip
// as a 24-bit .bmp, the disabled one as an 8-bit .bmp whose palette holds
// the colours it uses in order of first use.
#pragma once

#include "canvas.h"

namespace raster {

// False (and the reason on stderr) when a file cannot be written.
bool WriteToolBarStrips(const char* normalPath, const Canvas& normal, const char* disabledPath, const Canvas& disabled);

// The main of a program's strip tool, "<tool> <normal .bmp> <disabled .bmp>":
// 0 when both files were written, 1 when one could not be, 2 (with the
// usage on stderr) for other arguments.
int ToolBarStripsMain(int argc, char** argv, const Canvas& normal, const Canvas& disabled);

}  // namespace raster
