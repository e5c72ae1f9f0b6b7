// Cosmetic lines and solid rectangles. A line is the Bresenham walk GDI
// makes, with its tie-breaking bias; it is clipped analytically (the first
// and last visible steps are computed, not walked to), so lines of any 32-bit
// length cost only their visible pixels and keep the dash phase a full walk
// would give.
#include "raster.h"

#include <algorithm>
#include <cwchar>

namespace gdi32 {

// GDI's cosmetic pen styles, in pixels.
const DashPattern kDash{2, {18, 6}, 24};
const DashPattern kDot{2, {3, 3}, 6};
const DashPattern kDashDot{4, {9, 6, 3, 6}, 24};
const DashPattern kDashDotDot{6, {9, 3, 3, 3, 3, 3}, 24};

namespace {

using i64 = std::int64_t;
using u128 = unsigned __int128;

// The place of one pixel in a dash pattern; a solid pen is one endless dash.
class DashCursor {
public:
    DashCursor(const DashPattern* pattern, std::uint64_t phase) : pattern_(pattern)
    {
        if (!pattern_) {
            left_ = INT64_MAX;
            return;
        }
        std::uint64_t offset = phase % pattern_->total;
        while (offset >= pattern_->lengths[index_]) {
            offset -= pattern_->lengths[index_];
            ++index_;
        }
        left_ = static_cast<i64>(pattern_->lengths[index_] - offset);
    }
    bool drawn() const { return index_ % 2 == 0; }
    // Pixels left in the current dash or gap.
    i64 left() const { return left_; }
    // Moves on by n pixels, n <= left().
    void advance(i64 n)
    {
        left_ -= n;
        // A user style may hold lengths of 0: they are passed over.
        while (left_ == 0 && pattern_) {
            index_ = (index_ + 1) % pattern_->count;
            left_ = pattern_->lengths[index_];
        }
    }

private:
    const DashPattern* pattern_;
    int index_ = 0;
    i64 left_ = 0;
};

// Fills n pixels; glibc's wmemset stores 32-bit values about twice as fast
// as a plain loop.
void Fill(std::uint32_t* pixels, i64 n, std::uint32_t color)
{
    if constexpr (sizeof(wchar_t) == sizeof(std::uint32_t))
        std::wmemset(reinterpret_cast<wchar_t*>(pixels), static_cast<wchar_t>(color), static_cast<std::size_t>(n));
    else
        std::fill_n(pixels, n, color);
}

// GDI numbers the octants clockwise from the +x axis (y grows downwards);
// lines in octants 3, 5, 6 and 8 round their ties the other way.
bool TakesBias(i64 dx, i64 dy)
{
    int octant;
    if (dy > 0)
        octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
    else
        octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
    return octant == 3 || octant == 5 || octant == 6 || octant == 8;
}

// The Bresenham walk in closed form: after k major steps the walk has made
// ceil((2k*minor - major + bias) / (2*major)) minor steps. The products need
// 65 bits only for lines longer than 2^31 pixels.
struct Walk {
    std::uint64_t major;
    std::uint64_t minor;
    unsigned bias;

    static std::uint64_t Divide(std::uint64_t a, std::uint64_t b, std::uint64_t add, std::uint64_t divisor)
    {
        // a * b + add, divided, in 64 bits when that cannot overflow.
        if (a <= (std::uint64_t{1} << 31) && b <= (std::uint64_t{1} << 31))
            return (a * b + add) / divisor;
        return static_cast<std::uint64_t>((u128{a} * b + add) / divisor);
    }
    std::uint64_t minorSteps(std::uint64_t k) const { return Divide(2 * k, minor, major + bias - 1, 2 * major); }
    // The first step k (at most major) after which the walk has made m minor steps.
    std::uint64_t firstReaching(i64 m) const
    {
        if (m <= 0)
            return 0;
        if (minor == 0)
            return major;
        // ceil(f(k) / 2major) >= m  <=>  2k*minor > 2major*(m-1) + major - bias
        const std::uint64_t k = Divide(2 * major, static_cast<std::uint64_t>(m - 1), major - bias, 2 * minor) + 1;
        return std::min(k, major);
    }
    // The error term GDI's walk holds before its step k, having made m minor steps.
    i64 errorAt(std::uint64_t k, std::uint64_t m) const
    {
        auto err = static_cast<__int128>(2 * minor) - static_cast<__int128>(major) +
                   static_cast<__int128>(u128{2} * k * minor) - static_cast<__int128>(u128{2} * m * major);
        return static_cast<i64>(err);
    }
};

// Steps k in [first, last] (inclusive) whose coordinate start + step*k lies in [0, limit).
bool VisibleSteps(i64 start, int step, i64 limit, i64& first, i64& last)
{
    if (step > 0) {
        first = std::max(first, -start);
        last = std::min(last, limit - 1 - start);
    } else {
        first = std::max(first, start - (limit - 1));
        last = std::min(last, start);
    }
    return first <= last;
}

// A straight run along one row or column: painted dash by dash.
void DrawRun(PixelBuffer& target, i64 a0, int aStep, i64 b, bool horizontal, i64 first, i64 last,
             const LineStyle& style, DashCursor& dash)
{
    std::uint32_t* pixels = target.pixels.data();
    const auto width = static_cast<i64>(target.width);
    for (i64 k = first; k <= last;) {
        const i64 length = std::min(dash.left(), last - k + 1);
        if (dash.drawn() || style.paintGaps) {
            const std::uint32_t color = dash.drawn() ? style.color : style.gapColor;
            // The run covers k .. k+length-1; its lowest coordinate:
            const i64 low = aStep > 0 ? a0 + k : a0 - k - length + 1;
            if (horizontal) {
                Fill(pixels + b * width + low, length, color);
            } else {
                std::uint32_t* p = pixels + low * width + b;
                for (i64 i = 0; i < length; ++i, p += width)
                    *p = color;
            }
        }
        dash.advance(length);
        k += length;
    }
}

} // namespace

void DrawLine(PixelBuffer& target, i64 x0, i64 y0, i64 x1, i64 y1, const LineStyle& style, std::uint64_t& dashPhase)
{
    const i64 dx = x1 - x0;
    const i64 dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;
    const auto adx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
    const auto ady = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
    const bool xMajor = adx > ady;
    const Walk walk{xMajor ? adx : ady, xMajor ? ady : adx, TakesBias(dx, dy) ? 1u : 0u};

    const std::uint64_t startPhase = dashPhase;
    if (style.pattern) {
        const std::uint64_t total = style.pattern->total;
        dashPhase = (dashPhase % total + walk.major % total) % total;
    }

    // a is the major axis, b the minor one.
    const i64 a0 = xMajor ? x0 : y0;
    const i64 b0 = xMajor ? y0 : x0;
    const int aStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int bStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const i64 aLimit = xMajor ? target.width : target.height;
    const i64 bLimit = xMajor ? target.height : target.width;

    i64 first = 0;
    i64 last = static_cast<i64>(walk.major) - 1;
    if (!VisibleSteps(a0, aStep, aLimit, first, last))
        return;
    // Minor step counts m that keep b0 + bStep*m on the surface.
    i64 mLow = 0;
    i64 mHigh = INT64_MAX;
    if (!VisibleSteps(b0, bStep, bLimit, mLow, mHigh))
        return;
    // A line whose minor coordinate stays on the surface needs no more.
    if (mLow > 0 || mHigh < static_cast<i64>(walk.minor)) {
        first = std::max(first, static_cast<i64>(walk.firstReaching(mLow)));
        last = std::min(last, static_cast<i64>(walk.firstReaching(mHigh + 1)) - 1);
    }
    if (first > last)
        return;

    DashCursor dash(style.pattern, startPhase + static_cast<std::uint64_t>(first));
    if (walk.minor == 0) {
        DrawRun(target, a0, aStep, b0, xMajor, first, last, style, dash);
        return;
    }

    const std::uint64_t m = first == 0 ? 0 : walk.minorSteps(static_cast<std::uint64_t>(first));
    i64 err = first == 0 ? 2 * static_cast<i64>(walk.minor) - static_cast<i64>(walk.major)
                         : walk.errorAt(static_cast<std::uint64_t>(first), m);
    const i64 bias = walk.bias;
    const i64 errMinorStep = 2 * static_cast<i64>(walk.minor) - 2 * static_cast<i64>(walk.major);
    const i64 errMajorStep = 2 * static_cast<i64>(walk.minor);
    i64 a = a0 + aStep * first;
    i64 b = b0 + bStep * static_cast<i64>(m);
    const auto width = static_cast<i64>(target.width);
    std::uint32_t* pixels = target.pixels.data();
    for (i64 k = first; k <= last; ++k) {
        if (dash.drawn() || style.paintGaps) {
            const i64 x = xMajor ? a : b;
            const i64 y = xMajor ? b : a;
            pixels[y * width + x] = dash.drawn() ? style.color : style.gapColor;
        }
        dash.advance(1);
        if (err + bias > 0) {
            b += bStep;
            err += errMinorStep;
        } else {
            err += errMajorStep;
        }
        a += aStep;
    }
}

void FillRect(PixelBuffer& target, i64 left, i64 top, i64 right, i64 bottom, std::uint32_t color)
{
    left = std::max<i64>(left, 0);
    top = std::max<i64>(top, 0);
    right = std::min<i64>(right, target.width);
    bottom = std::min<i64>(bottom, target.height);
    if (left >= right || top >= bottom)
        return;
    const auto width = static_cast<i64>(target.width);
    std::uint32_t* row = target.pixels.data() + top * width + left;
    for (i64 y = top; y < bottom; ++y, row += width)
        Fill(row, right - left, color);
}

} // namespace gdi32
