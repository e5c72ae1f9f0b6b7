// Lines, rectangles and text on a context's pixels. A context on a device
// has no pixels: it takes only StretchBlt, and these calls fail on it.
#include "objects.h"
#include "text/text.h"

#include "../fixme.h"

#include <utility>

using namespace gdi32;

namespace {

LineStyle StyleOf(const DeviceContext& dc)
{
    return LineStyle{dc.penState.color, dc.penState.pattern, dc.backColor, dc.opaque};
}

} // namespace

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    if (lppt)
        *lppt = POINT{dc->x, dc->y};
    dc->x = x;
    dc->y = y;
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc || !dc->buffer)
        return FALSE;
    // Each LineTo starts the dash pattern afresh.
    std::uint64_t phase = 0;
    if (!dc->penState.null)
        DrawLine(*dc->buffer, dc->x, dc->y, x, y, StyleOf(*dc), phase);
    dc->x = x;
    dc->y = y;
    return TRUE;
}

BOOL WINAPI PolylineTo(HDC hdc, const POINT* apt, DWORD cpt)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc || !dc->buffer || (!apt && cpt > 0))
        return FALSE;
    // The dash pattern runs on from one point to the next.
    std::uint64_t phase = 0;
    const LineStyle style = StyleOf(*dc);
    for (DWORD i = 0; i < cpt; ++i) {
        if (!dc->penState.null)
            DrawLine(*dc->buffer, dc->x, dc->y, apt[i].x, apt[i].y, style, phase);
        dc->x = apt[i].x;
        dc->y = apt[i].y;
    }
    return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc || !dc->buffer)
        return FALSE;
    std::int64_t l = left, t = top, r = right, b = bottom;
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    if (l == r || t == b)
        return TRUE;
    // The right column and bottom row are left out.
    --r;
    --b;
    PixelBuffer& target = *dc->buffer;
    if (!dc->penState.null) {
        // One closed outline, anticlockwise from the top right as GDI walks
        // it, the dash pattern running on around the corners.
        const std::int64_t corners[5][2] = {{r, t}, {l, t}, {l, b}, {r, b}, {r, t}};
        const LineStyle style = StyleOf(*dc);
        std::uint64_t phase = 0;
        for (int i = 0; i < 4; ++i)
            DrawLine(target, corners[i][0], corners[i][1], corners[i + 1][0], corners[i + 1][1], style, phase);
    }
    if (!dc->brushState.null) {
        // Inside the outline; with no outline the filled area is one pixel
        // narrower and shorter than the rectangle, as in GDI.
        const int inset = dc->penState.null ? 0 : 1;
        FillRect(target, l + inset, t + inset, r, b, dc->brushState.color);
    }
    return TRUE;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc || !dc->buffer || c < 0 || (!lpString && c > 0))
        return FALSE;
    if (!dc->opaque)
        layer::Fixme("TextOutA: text in the TRANSPARENT mode still paints its cells");
    if (c > 0)
        text::DrawCells(*dc->buffer, x, y, std::span<const char>(lpString, static_cast<std::size_t>(c)),
                        dc->textColor, dc->backColor);
    return TRUE;
}

int WINAPI SetBkMode(HDC hdc, int mode)
{
    DeviceContext* dc = FindDC(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    const int previous = dc->opaque ? OPAQUE : TRANSPARENT;
    dc->opaque = mode == OPAQUE;
    return previous;
}
