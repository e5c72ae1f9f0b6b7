// Device contexts: on a shared buffer (a window, a page), in memory over a
// selected bitmap, or on a device (a printer); and compatible bitmaps.
#include "objects.h"

#include "../fixme.h"

#include <new>

namespace gdi32 {

PixelBuffer::PixelBuffer(int width, int height, std::uint32_t fill)
    : width(width > 0 ? width : 0), height(height > 0 ? height : 0),
      pixels(static_cast<std::size_t>(this->width) * static_cast<std::size_t>(this->height), fill)
{
}

namespace {

// Larger bitmaps than this are refused rather than attempted.
constexpr int kMaxBitmapSide = 16384;

HDC NewContext(DeviceContext::Target target, std::shared_ptr<PixelBuffer> buffer, std::unique_ptr<Device> device,
               HGDIOBJ bitmap)
{
    DeviceContext dc{target, std::move(buffer), std::move(device), Stock(BLACK_PEN), Stock(WHITE_BRUSH),
                     bitmap,   Pen{nullptr, false, 0x000000},      Brush{false, 0xFFFFFF}};
    return static_cast<HDC>(Register(Kind::DeviceContext, std::move(dc)));
}

} // namespace

HDC CreateBufferDC(std::shared_ptr<PixelBuffer> buffer)
{
    if (!buffer)
        return nullptr;
    return NewContext(DeviceContext::Target::Buffer, std::move(buffer), nullptr, nullptr);
}

HDC CreateDeviceDC(std::unique_ptr<Device> device)
{
    if (!device)
        return nullptr;
    return NewContext(DeviceContext::Target::Device, nullptr, std::move(device), nullptr);
}

Device* DeviceOf(HDC hdc)
{
    DeviceContext* dc = FindDC(hdc);
    return dc ? dc->device.get() : nullptr;
}

std::shared_ptr<PixelBuffer> BufferOf(HDC hdc)
{
    DeviceContext* dc = FindDC(hdc);
    return dc ? dc->buffer : nullptr;
}

} // namespace gdi32

using namespace gdi32;

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (hdc && !FindDC(hdc))
        return nullptr;
    HGDIOBJ bitmap = DefaultBitmap();
    return NewContext(DeviceContext::Target::Memory, FindAs<Bitmap>(bitmap, Kind::Bitmap)->pixels, nullptr, bitmap);
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    if (!FindDC(hdc) || cx <= 0 || cy <= 0 || cx > kMaxBitmapSide || cy > kMaxBitmapSide)
        return nullptr;
    try {
        // A fresh compatible bitmap is black.
        return static_cast<HBITMAP>(Register(Kind::Bitmap, Bitmap{std::make_shared<PixelBuffer>(cx, cy, 0x000000)}));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    Release(dc->pen);
    Release(dc->brush);
    Release(dc->bitmap);
    Destroy(hdc);
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc)
        return 0;
    if (index != HORZRES && index != VERTRES && index != LOGPIXELSX && index != LOGPIXELSY) {
        layer::Fixme("GetDeviceCaps: index %d is not provided", index);
        return 0;
    }
    if (dc->device)
        return dc->device->capability(index);
    // A window or a bitmap: its pixels, at the screen's usual 96 per inch.
    if (index == HORZRES)
        return dc->buffer ? dc->buffer->width : 0;
    if (index == VERTRES)
        return dc->buffer ? dc->buffer->height : 0;
    return 96;
}
