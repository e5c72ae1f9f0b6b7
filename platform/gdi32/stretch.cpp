// StretchBlt: a plain source copy, nearest neighbour, clipped to both
// surfaces; onto a device context the pixels are handed to the device.
#include "objects.h"

#include <algorithm>
#include <vector>

using namespace gdi32;

namespace {

// The source coordinate of destination offset i: the source pixel under the
// centre of the destination pixel. Fits in 64 bits: (2i+1) < 2^32, size < 2^31.
std::int64_t SourceOffset(std::int64_t i, std::int64_t sourceSize, std::int64_t destSize)
{
    return (2 * i + 1) * sourceSize / (2 * destSize);
}

} // namespace

void gdi32::StretchCopy(PixelBuffer& dest, int xDest, int yDest, int wDest, int hDest, const PixelBuffer& src,
                        int xSrc, int ySrc, int wSrc, int hSrc)
{
    // Only destination pixels on the destination surface are visited.
    const std::int64_t x0 = std::max<std::int64_t>(xDest, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{xDest} + wDest, dest.width);
    const std::int64_t y0 = std::max<std::int64_t>(yDest, 0);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{yDest} + hDest, dest.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    // Source column for each visible destination column, -1 off the source.
    std::vector<std::int64_t> columns(static_cast<std::size_t>(x1 - x0));
    for (std::int64_t x = x0; x < x1; ++x) {
        const std::int64_t sx = xSrc + SourceOffset(x - xDest, wSrc, wDest);
        columns[static_cast<std::size_t>(x - x0)] = sx >= 0 && sx < src.width ? sx : -1;
    }
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::int64_t sy = ySrc + SourceOffset(y - yDest, hSrc, hDest);
        if (sy < 0 || sy >= src.height)
            continue;
        const std::uint32_t* from = src.pixels.data() + sy * src.width;
        std::uint32_t* to = dest.pixels.data() + y * dest.width + x0;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i] >= 0)
                to[i] = from[columns[i]];
    }
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop)
{
    DeviceContext* dest = FindDC(hdcDest);
    DeviceContext* src = FindDC(hdcSrc);
    if (!dest || !src || !src->buffer || rop != SRCCOPY)
        return FALSE;
    // Mirrored (negative) and empty rectangles are not supported.
    if (wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0)
        return FALSE;
    if (dest->device)
        return dest->device->stretchFrom(*src->buffer, xSrc, ySrc, wSrc, hSrc, xDest, yDest, wDest, hDest) ? TRUE
                                                                                                          : FALSE;
    if (!dest->buffer)
        return FALSE;
    if (dest->buffer == src->buffer) {
        // Copying within one surface reads from a snapshot.
        const PixelBuffer snapshot = *src->buffer;
        StretchCopy(*dest->buffer, xDest, yDest, wDest, hDest, snapshot, xSrc, ySrc, wSrc, hSrc);
    } else {
        StretchCopy(*dest->buffer, xDest, yDest, wDest, hDest, *src->buffer, xSrc, ySrc, wSrc, hSrc);
    }
    return TRUE;
}
