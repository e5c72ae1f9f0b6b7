// Reading a device-independent bitmap from the clipboard's block. The block
// comes from the program: its header is checked against the block's size
// before a row is read.
#include "clipboard_dib.h"

#include "../gdi32/gdi32.h"

#include <cstring>

namespace user32 {

std::optional<QImage> ImageFromDib(std::span<const BYTE> block)
{
    BITMAPINFOHEADER header;
    if (block.size() < sizeof header)
        return std::nullopt;
    std::memcpy(&header, block.data(), sizeof header);
    // 32-bit DIBs on the clipboard hold no alpha: the fourth byte is ignored.
    if (header.biSize < sizeof header || header.biPlanes != 1 || header.biCompression != BI_RGB
        || (header.biBitCount != 24 && header.biBitCount != 32) || header.biWidth <= 0 || header.biWidth > 32767
        || header.biHeight == 0 || header.biHeight < -32767 || header.biHeight > 32767 || header.biClrUsed > 256)
        return std::nullopt;
    const int width = header.biWidth;
    const int height = header.biHeight > 0 ? header.biHeight : -header.biHeight;
    const std::size_t bytesPerPixel = header.biBitCount / 8u;
    const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3u) & ~std::size_t{3};
    const std::size_t offset = header.biSize + static_cast<std::size_t>(header.biClrUsed) * 4u;
    if (offset > block.size() || (block.size() - offset) / stride < static_cast<std::size_t>(height))
        return std::nullopt;

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    for (int y = 0; y < height; ++y) {
        int row = header.biHeight > 0 ? height - 1 - y : y;
        const BYTE* in = block.data() + offset + static_cast<std::size_t>(row) * stride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += bytesPerPixel)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

} // namespace user32
