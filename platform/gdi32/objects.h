// The live GDI objects (pens, brushes, bitmaps, device contexts) and the
// handle table that finds them. A handle holds a slot index and the slot's
// generation, so a stale or forged handle is refused in constant time.
#pragma once

#include "raster.h"
#include "surface.h"

#include <cstdint>
#include <memory>
#include <variant>

namespace gdi32 {

struct Pen {
    const DashPattern* pattern; // nullptr for a solid pen
    bool null;
    std::uint32_t color; // 0x00RRGGBB
    // A user style's pattern, which pattern then points to; shared by the
    // copies the contexts keep.
    std::shared_ptr<const DashPattern> userStyle = nullptr;
};

struct Brush {
    bool null;
    std::uint32_t color;
};

struct Bitmap {
    std::shared_ptr<PixelBuffer> pixels;
};

struct DeviceContext {
    enum class Target { Buffer, Memory, Device };
    Target target;
    // What drawing lands in: the shared buffer, or a memory context's bitmap.
    std::shared_ptr<PixelBuffer> buffer;
    std::unique_ptr<Device> device;
    HGDIOBJ pen;
    HGDIOBJ brush;
    HGDIOBJ bitmap; // memory contexts only
    // Copies of the selected objects' values, so drawing needs no look-up.
    Pen penState;
    Brush brushState;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t textColor = 0x000000;
    std::uint32_t backColor = 0xFFFFFF;
    bool opaque = true;
};

enum class Kind : std::uint8_t { Free, Pen, Brush, Bitmap, DeviceContext };

struct Object {
    Kind kind = Kind::Free;
    bool stock = false;
    // Deleted while selected: destroyed when the last context lets it go.
    bool deletePending = false;
    int selectCount = 0;
    std::variant<std::monostate, Pen, Brush, Bitmap, DeviceContext> value;
};

// The live object behind h of any kind, else nullptr.
Object* FindAny(const void* h);
// The object behind h if it is live and of kind, else nullptr. Objects
// marked for deletion are still found: the contexts holding them draw on.
Object* Find(const void* h, Kind kind);
template <class T> T* FindAs(const void* h, Kind kind)
{
    Object* object = Find(h, kind);
    return object ? &std::get<T>(object->value) : nullptr;
}
DeviceContext* FindDC(HDC hdc);

// Registers a new object and returns its handle.
HGDIOBJ Register(Kind kind, decltype(Object::value) value);
// Destroys the object now (the handle goes stale).
void Destroy(const void* h);
// Stock object by GetStockObject index, and the memory contexts' 1x1 bitmap.
HGDIOBJ Stock(int index);
HGDIOBJ DefaultBitmap();

// A context takes hold of / lets go of an object; letting go of one marked
// for deletion destroys it.
void Hold(HGDIOBJ h);
void Release(HGDIOBJ h);

// Colour conversion: COLORREF is 0x00BBGGRR, our pixels 0x00RRGGBB.
constexpr std::uint32_t PixelOf(COLORREF c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

} // namespace gdi32
