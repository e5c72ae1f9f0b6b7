// TextOutA with any bytes, any length and any position on a small memory
// context. Every byte takes an 8-pixel cell, valid or not, so the text covers
// exactly [x, x + 8c) x [y, y + 16) of the bitmap: there every pixel is ink or
// paper, and nothing outside it changes. A negative length is refused and
// draws nothing.
#include "platform/gdi32/objects.h"
#include "platform/gdi32/surface.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

constexpr std::uint32_t kUntouched = 0x00A5C3E1;

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_textout: %s\n", what);
        std::abort();
    }
}

// Mostly the edges where clipping and overflow happen, sometimes anything.
int Coordinate(FuzzedDataProvider& input, int side)
{
    const int edges[] = {INT_MIN, INT_MIN + 1, -100000, -17, -16, -15, -9, -8, -7, -1, 0, 1,
                         side - 9, side - 8, side - 1, side, side + 1, INT_MAX - 16, INT_MAX - 8, INT_MAX};
    const int pick = input.ConsumeIntegralInRange<int>(0, sizeof edges / sizeof edges[0]);
    return pick < static_cast<int>(sizeof edges / sizeof edges[0]) ? edges[pick] : input.ConsumeIntegral<int>();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int width = input.ConsumeIntegralInRange<int>(1, 96);
    const int height = input.ConsumeIntegralInRange<int>(1, 40);
    const int x = Coordinate(input, width);
    const int y = Coordinate(input, height);
    const bool opaque = input.ConsumeBool();
    const int lengthKind = input.ConsumeIntegralInRange<int>(0, 3);
    const int lengthChoice = input.ConsumeIntegral<int>();
    // The text is a copy of exactly the bytes given, so a read past them is
    // caught by the address sanitizer.
    std::vector<char> bytes = input.ConsumeRemainingBytes<char>();
    const int available = static_cast<int>(bytes.size());
    int count;
    switch (lengthKind) {
    case 0: count = available; break;
    case 1: count = available == 0 ? 0 : static_cast<int>(static_cast<unsigned>(lengthChoice) % (available + 1u)); break;
    case 2: count = lengthChoice < 0 ? lengthChoice : -1 - lengthChoice; break;
    default: count = 0; break;
    }

    const gdi32::LiveObjects objectsBefore = gdi32::LiveObjectCounts();
    HDC hdc = CreateCompatibleDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, width, height);
    Check(hdc != NULL && bitmap != NULL, "no memory context");
    HGDIOBJ old = SelectObject(hdc, bitmap);
    // The layer has no SetBkMode (the program never calls it); the flag is
    // set directly so that both modes are drawn.
    gdi32::FindDC(hdc)->opaque = opaque;
    auto page = gdi32::BufferOf(hdc);
    std::fill(page->pixels.begin(), page->pixels.end(), kUntouched);

    const char* text = bytes.empty() ? (lengthKind == 3 ? nullptr : "") : bytes.data();
    BOOL drawn = TextOutA(hdc, x, y, text, count);
    Check(drawn == (count >= 0), count < 0 ? "a negative length was accepted" : "a text was refused");

    const std::int64_t left = x;
    const std::int64_t right = count > 0 ? left + 8 * std::int64_t(count) : left;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const std::uint32_t pixel = page->at(column, row);
            const bool covered = row >= std::int64_t(y) && row < std::int64_t(y) + 16 && column >= left && column < right;
            if (covered)
                Check(pixel == 0x000000 || pixel == 0xFFFFFF, "a pixel of the text is neither ink nor paper");
            else
                Check(pixel == kUntouched, "a pixel outside the text changed");
        }
    }

    SelectObject(hdc, old);
    DeleteObject(bitmap);
    DeleteDC(hdc);
    Check(gdi32::LiveObjectCounts() == objectsBefore, "GDI objects leaked");
    return 0;
}
