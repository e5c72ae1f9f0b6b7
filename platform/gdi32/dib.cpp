// GetDIBits: a bitmap's pixels written out as a device-independent bitmap.
#include "objects.h"

#include "../fixme.h"

#include <algorithm>
#include <cstring>

using namespace gdi32;

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage)
{
    Bitmap* bitmap = FindAs<Bitmap>(hbm, Kind::Bitmap);
    if (FindDC(hdc) == nullptr || bitmap == nullptr || lpbmi == nullptr
        || lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const PixelBuffer& pixels = *bitmap->pixels;
    BITMAPINFOHEADER& header = lpbmi->bmiHeader;
    if (lpvBits == nullptr && header.biBitCount == 0) {
        header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), pixels.width, pixels.height, 1, 32, BI_RGB,
                                  static_cast<DWORD>(pixels.width) * 4u * static_cast<DWORD>(pixels.height),
                                  0, 0, 0, 0};
        return pixels.height > 0 ? pixels.height : 1;
    }
    if (usage != DIB_RGB_COLORS || header.biPlanes != 1 || header.biCompression != BI_RGB
        || (header.biBitCount != 24 && header.biBitCount != 32) || header.biWidth <= 0 || header.biHeight == 0
        || header.biWidth > 65536 || header.biHeight < -65536 || header.biHeight > 65536) {
        layer::Fixme("GetDIBits into %u bits a pixel, compression %u, colours %u, %d x %d", header.biBitCount,
                     header.biCompression, usage, header.biWidth, header.biHeight);
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t bytesPerPixel = header.biBitCount / 8u;
    const std::size_t stride = (static_cast<std::size_t>(header.biWidth) * bytesPerPixel + 3u) & ~std::size_t{3};
    const bool bottomUp = header.biHeight > 0;
    const std::int64_t rows = bottomUp ? header.biHeight : -static_cast<std::int64_t>(header.biHeight);
    header.biSizeImage = static_cast<DWORD>(stride * static_cast<std::size_t>(rows));
    if (lpvBits == nullptr)
        return static_cast<int>(rows);

    // DIB row `line` is the bitmap's row from the top (top-down) or from the
    // bottom (bottom-up); rows and columns past the bitmap are zero, and
    // only the bitmap's own rows count as copied.
    auto* out = static_cast<BYTE*>(lpvBits);
    const int width = std::min<int>(header.biWidth, pixels.width);
    int copied = 0;
    for (std::int64_t line = start; line < static_cast<std::int64_t>(start) + cLines && line < rows; ++line) {
        BYTE* row = out + static_cast<std::size_t>(line - start) * stride;
        std::memset(row, 0, stride);
        std::int64_t y = bottomUp ? pixels.height - 1 - line : line;
        if (y >= 0 && y < pixels.height) {
            for (int x = 0; x < width; ++x) {
                std::uint32_t pixel = pixels.at(x, static_cast<int>(y));
                BYTE* at = row + static_cast<std::size_t>(x) * bytesPerPixel;
                at[0] = static_cast<BYTE>(pixel);
                at[1] = static_cast<BYTE>(pixel >> 8);
                at[2] = static_cast<BYTE>(pixel >> 16);
            }
            ++copied;
        }
    }
    return copied;
}
