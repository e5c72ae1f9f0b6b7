// Where pidpage's pictures go: the checks on an output name, and writing a
// PNG file.
#pragma once

#include "platform/gdi32/surface.h"

#include <string>
#include <vector>

namespace pidpage {

// Fails with status 2 when output may not take a picture: a name ending in
// .pid (in any case), another extension than .png (a name without one is
// fine: devices such as /dev/stdout have none), the same file as one of the
// inputs under any spelling, an existing regular file (or a link to one)
// that is neither empty nor a PNG, or "-" (standard output) at a terminal.
void CheckOutputName(const std::string& output, const std::vector<std::string>& inputs);

// Writes the picture as a PNG to path, "-" meaning standard output. A
// regular file (new, or the one a symbolic link points to) is replaced all
// or nothing and keeps its permissions; a pipe, terminal or device is
// written straight. Fails with status 1 and the system's reason.
void SavePng(const gdi32::PixelBuffer& picture, const std::string& path);

} // namespace pidpage
