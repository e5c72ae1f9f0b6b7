// Encoding a picture as PNG bytes on a file descriptor.
#pragma once

#include "platform/gdi32/surface.h"

namespace pidpage {

// Writes picture to fd as a lossless PNG: a palette image packed to the
// fewest bits when it has at most 256 colours, 8-bit RGB otherwise. Returns
// 0, or the errno value of the first failure (fd is left open either way).
int WritePng(const gdi32::PixelBuffer& picture, int fd);

} // namespace pidpage
