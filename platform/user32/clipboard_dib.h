// A CF_DIB block as the image Qt's clipboard offers.
#pragma once

#include "../wintypes.h"

#include <QImage>

#include <optional>
#include <span>

namespace user32 {

// A BITMAPINFOHEADER (or a later, longer header), any colour table it
// announces, and the rows: uncompressed, 24 or 32 bits a pixel, bottom-up or
// top-down. Nothing for anything else, or a block too short for its rows.
std::optional<QImage> ImageFromDib(std::span<const BYTE> block);

} // namespace user32
