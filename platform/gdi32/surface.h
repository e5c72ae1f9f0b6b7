// The drawing layer's side of a device context: the pixel buffers it draws
// into and the devices that take pixels elsewhere (a printer). Used by the
// window and printer layers, pidpage and the tests; the program never sees it.
#pragma once

#include "gdi32.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gdi32 {

// Pixels as 0x00RRGGBB, row by row from the top.
struct PixelBuffer {
    PixelBuffer(int width, int height, std::uint32_t fill = 0xFFFFFF);
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A device with no pixels of its own, such as a printer page: the pixels a
// StretchBlt sends to its context are handed over as they are.
class Device {
public:
    virtual ~Device() = default;
    // Copies src's rectangle (sx, sy, sw, sh) to (dx, dy, dw, dh) in device
    // pixels, nearest neighbour. Returns false when the device refused it.
    virtual bool stretchFrom(const PixelBuffer& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                             int dh) = 0;
    // GetDeviceCaps for HORZRES, VERTRES, LOGPIXELSX and LOGPIXELSY; 0 for
    // a device that does not tell.
    virtual int capability(int /*index*/) const { return 0; }
};

// Copies src's rectangle (xSrc, ySrc, wSrc, hSrc) onto dest's (xDest, yDest,
// wDest, hDest), nearest neighbour: each destination pixel takes the source
// pixel under its centre. Pixels off either buffer are left alone; sizes
// must be positive.
void StretchCopy(PixelBuffer& dest, int xDest, int yDest, int wDest, int hDest, const PixelBuffer& src, int xSrc,
                 int ySrc, int wSrc, int hSrc);

// A fresh context (default pen, brush and text state) drawing into buffer,
// which it shares: the window's client area, or a page for pidpage.
HDC CreateBufferDC(std::shared_ptr<PixelBuffer> buffer);
// A fresh context whose drawing goes to device; DeleteDC destroys the device.
HDC CreateDeviceDC(std::unique_ptr<Device> device);
// The device behind a device context, or nullptr for any other handle.
Device* DeviceOf(HDC hdc);
// The buffer a context currently draws into (for a memory context, its
// selected bitmap), or nullptr.
std::shared_ptr<PixelBuffer> BufferOf(HDC hdc);

// Objects of each kind created and not yet deleted (stock objects left out),
// for the tests that check nothing leaks.
struct LiveObjects {
    int pens;
    int brushes;
    int bitmaps;
    int contexts;
    bool operator==(const LiveObjects&) const = default;
};
LiveObjects LiveObjectCounts();

} // namespace gdi32
