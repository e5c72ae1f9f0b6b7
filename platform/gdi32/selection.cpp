// Pens, stock objects, selecting into a context and deleting.
#include "objects.h"

#include "../fixme.h"

#include <algorithm>

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

// The pattern of one of the predefined styles; false for another style.
bool SetStockStyle(Pen& pen, int style, bool cosmetic)
{
    switch (style) {
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
        return false;
    }
    return true;
}

// A user style's lengths, in style units of 3 pixels: the unit of a cosmetic
// pen on a screen or bitmap, of which the predefined styles are made (a dot
// is 1 unit, a dash 6). An odd count runs twice, dashes and gaps trading
// places the second time, as GDI repeats it.
std::shared_ptr<const DashPattern> UserStyle(DWORD count, const DWORD* lengths)
{
    constexpr std::uint32_t kStyleUnit = 3;
    auto pattern = std::make_shared<DashPattern>();
    pattern->count = static_cast<int>(count % 2 == 0 ? count : 2 * count);
    pattern->total = 0;
    for (int i = 0; i < pattern->count; ++i) {
        // Lengths beyond what a 32-bit pixel count holds reach past any surface.
        const DWORD length = lengths[static_cast<DWORD>(i) % count];
        pattern->lengths[i] = length > UINT32_MAX / kStyleUnit ? UINT32_MAX : length * kStyleUnit;
        pattern->total += pattern->lengths[i];
    }
    return pattern;
}

} // namespace
} // namespace gdi32

using namespace gdi32;

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color)
{
    Pen pen{nullptr, false, PixelOf(color)};
    // Styled pens wider than a pixel are geometric; GDI draws them solid.
    // Every pen is drawn one pixel wide here.
    if (!SetStockStyle(pen, iStyle, cWidth <= 1))
        return nullptr;
    return static_cast<HPEN>(Register(Kind::Pen, pen));
}

HPEN WINAPI ExtCreatePen(DWORD iPenStyle, DWORD cWidth, const LOGBRUSH* plbrush, DWORD cStyle, const DWORD* pstyle)
{
    const DWORD style = iPenStyle & PS_STYLE_MASK;
    const bool user = style == PS_USERSTYLE;
    // GDI refuses a cosmetic pen wider than 1, a brush that is not solid,
    // and style lengths given to a pen that is not of a user style.
    if ((iPenStyle & PS_TYPE_MASK) != PS_COSMETIC) {
        layer::Fixme("ExtCreatePen: geometric pens (style 0x%lx) are not provided", static_cast<unsigned long>(iPenStyle));
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    if (cWidth != 1 || plbrush == nullptr || plbrush->lbStyle != BS_SOLID
        || (user ? cStyle == 0 || cStyle > 16 || pstyle == nullptr : cStyle != 0 || pstyle != nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Pen pen{nullptr, false, PixelOf(plbrush->lbColor)};
    if (user) {
        if (std::all_of(pstyle, pstyle + cStyle, [](DWORD length) { return length == 0; })) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        pen.userStyle = UserStyle(cStyle, pstyle);
        pen.pattern = pen.userStyle.get();
    } else if (style == PS_ALTERNATE) {
        static const DashPattern alternate{2, {1, 1}, 2};
        pen.pattern = &alternate;
    } else if (!SetStockStyle(pen, static_cast<int>(style), true)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HPEN>(Register(Kind::Pen, pen));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    return static_cast<HBRUSH>(Register(Kind::Brush, Brush{false, PixelOf(color)}));
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
