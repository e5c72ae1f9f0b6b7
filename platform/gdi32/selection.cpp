// Pens, stock objects, selecting into a context and deleting.
#include "objects.h"

namespace gdi32 {
namespace {

// Swaps h in as the context's object in slot, returning what was there.
HGDIOBJ Swap(HGDIOBJ& slot, HGDIOBJ h)
{
    HGDIOBJ previous = slot;
    if (h != previous) {
        Hold(h);
        slot = h;
        Release(previous);
    }
    return previous;
}

} // namespace
} // namespace gdi32

using namespace gdi32;

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color)
{
    Pen pen{nullptr, false, PixelOf(color)};
    // Styled pens wider than a pixel are geometric; GDI draws them solid.
    // Every pen is drawn one pixel wide here.
    const bool cosmetic = cWidth <= 1;
    switch (iStyle) {
    case PS_SOLID:
    case PS_INSIDEFRAME:
        break;
    case PS_DASH:
        pen.pattern = cosmetic ? &kDash : nullptr;
        break;
    case PS_DOT:
        pen.pattern = cosmetic ? &kDot : nullptr;
        break;
    case PS_DASHDOT:
        pen.pattern = cosmetic ? &kDashDot : nullptr;
        break;
    case PS_DASHDOTDOT:
        pen.pattern = cosmetic ? &kDashDotDot : nullptr;
        break;
    case PS_NULL:
        pen.null = true;
        break;
    default:
        return nullptr;
    }
    return static_cast<HPEN>(Register(Kind::Pen, pen));
}

HGDIOBJ WINAPI GetStockObject(int i)
{
    return Stock(i);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    DeviceContext* dc = FindDC(hdc);
    Object* object = FindAny(h);
    // An object marked for deletion cannot be taken up again.
    if (!dc || !object || object->deletePending)
        return nullptr;
    switch (object->kind) {
    case Kind::Pen:
        dc->penState = std::get<Pen>(object->value);
        return Swap(dc->pen, h);
    case Kind::Brush:
        dc->brushState = std::get<Brush>(object->value);
        return Swap(dc->brush, h);
    case Kind::Bitmap:
        // A bitmap goes only into a memory context, and into one at a time.
        if (dc->target != DeviceContext::Target::Memory)
            return nullptr;
        if (h != dc->bitmap && !object->stock && object->selectCount > 0)
            return nullptr;
        dc->buffer = std::get<Bitmap>(object->value).pixels;
        return Swap(dc->bitmap, h);
    default:
        return nullptr;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    Object* object = FindAny(ho);
    if (!object || object->kind == Kind::DeviceContext)
        return FALSE;
    if (object->stock || object->deletePending)
        return TRUE;
    // GDI defers deleting an object that a context still holds until the
    // context lets it go.
    if (object->selectCount > 0)
        object->deletePending = true;
    else
        Destroy(ho);
    return TRUE;
}
