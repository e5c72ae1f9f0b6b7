// Writing a page as a PNG file.
#pragma once

#include "platform/gdi32/surface.h"

#include <string>

namespace pidpage {

// Writes the picture as an 8-bit RGB PNG to path; fails with status 1 and
// the reason when it cannot, leaving no partial file.
void SavePng(const gdi32::PixelBuffer& picture, const std::string& path);

} // namespace pidpage
