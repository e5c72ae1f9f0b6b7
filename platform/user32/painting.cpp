// The paint protocol: the update region (kept as its bounding box), paint
// messages, and display contexts on the window's pixel buffer.
#include "window.h"

#include "frame.h"

#include <algorithm>
#include <optional>

using namespace user32;

namespace {

bool isEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

RECT clientRect(const Window& window)
{
    return RECT{0, 0, window.client->width, window.client->height};
}

RECT intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return isEmpty(r) ? RECT{} : r;
}

RECT unite(const RECT& a, const RECT& b)
{
    if (isEmpty(a))
        return b;
    if (isEmpty(b))
        return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// The colours of the stock brushes a class may name as its background.
std::optional<std::uint32_t> brushColour(HBRUSH brush)
{
    static const std::pair<int, std::uint32_t> stock[] = {{WHITE_BRUSH, 0xFFFFFF},  {LTGRAY_BRUSH, 0xC0C0C0},
                                                         {GRAY_BRUSH, 0x808080},   {DKGRAY_BRUSH, 0x404040},
                                                         {BLACK_BRUSH, 0x000000}};
    if (brush == nullptr || brush == static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))
        return std::nullopt;
    for (auto [object, colour] : stock) {
        if (brush == static_cast<HBRUSH>(GetStockObject(object)))
            return colour;
    }
    return 0xFFFFFF;
}

void fill(gdi32::PixelBuffer& buffer, const RECT& rect, std::uint32_t colour)
{
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        auto row = buffer.pixels.begin() + static_cast<std::ptrdiff_t>(y) * buffer.width;
        std::fill(row + rect.left, row + rect.right, colour);
    }
}

HDC newContext(Window& window)
{
    HDC context = gdi32::CreateBufferDC(window.client);
    if (context != nullptr)
        window.contexts.push_back(context);
    return context;
}

bool releaseContext(Window& window, HDC context)
{
    auto found = std::find(window.contexts.begin(), window.contexts.end(), context);
    if (found == window.contexts.end())
        return false;
    window.contexts.erase(found);
    DeleteDC(context);
    return true;
}

} // namespace

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr)
        return FALSE;
    RECT area = intersect(lpRect != nullptr ? *lpRect : clientRect(*window), clientRect(*window));
    if (isEmpty(area))
        return TRUE;
    window->update = unite(window->update, area);
    window->erase = window->erase || bErase;
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr)
        return FALSE;
    // With a bounding box, only a rectangle that covers it empties it.
    RECT covered = lpRect != nullptr ? *lpRect : clientRect(*window);
    if (isEmpty(window->update) || (covered.left <= window->update.left && covered.top <= window->update.top &&
                                    covered.right >= window->update.right && covered.bottom >= window->update.bottom)) {
        window->update = RECT{};
        window->erase = false;
    }
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL /*bErase*/)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr)
        return FALSE;
    if (lpRect != nullptr)
        *lpRect = window->update;
    return !isEmpty(window->update);
}

BOOL WINAPI UpdateWindow(HWND hWnd)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr)
        return FALSE;
    if (!isEmpty(window->update))
        Deliver(*window, WM_PAINT, 0, 0);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr || lpPaint == nullptr)
        return nullptr;
    *lpPaint = PAINTSTRUCT{};
    lpPaint->rcPaint = window->update;
    if (window->erase && !isEmpty(window->update)) {
        auto colour = brushColour(window->background);
        if (colour)
            fill(*window->client, window->update, *colour);
        else
            lpPaint->fErase = TRUE; // no brush: the program erases
    }
    // Beginning to paint validates: whatever is drawn now or not, the part
    // counts as repainted.
    window->update = RECT{};
    window->erase = false;
    lpPaint->hdc = newContext(*window);
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr || lpPaint == nullptr)
        return FALSE;
    releaseContext(*window, lpPaint->hdc);
    window->frame->showPixels(clientRect(*window));
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd)
{
    Window* window = FindTopLevel(hWnd);
    return window != nullptr ? newContext(*window) : nullptr;
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    auto buffer = gdi32::BufferOf(hDC);
    auto colour = brushColour(hbr);
    if (!buffer || lprc == nullptr || !colour)
        return 0;
    // The rectangle's right column and bottom row are outside, as always.
    RECT area = intersect(*lprc, RECT{0, 0, buffer->width, buffer->height});
    if (!isEmpty(area))
        fill(*buffer, area, *colour);
    return 1;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr || !releaseContext(*window, hDC))
        return 0;
    window->frame->showPixels(clientRect(*window));
    return 1;
}
