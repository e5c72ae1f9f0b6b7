// Memory contexts, compatible bitmaps and StretchBlt: the print path draws
// into a bitmap and copies it, doubled, to a device.
#include "pixels.h"

#include <vector>

using namespace pixels;

namespace {

struct Window {
    std::shared_ptr<gdi32::PixelBuffer> buffer = std::make_shared<gdi32::PixelBuffer>(40, 30);
    HDC hdc = gdi32::CreateBufferDC(buffer);
    ~Window() { DeleteDC(hdc); }
};

// A device that keeps what it was handed, as a printer page would.
class PageDevice : public gdi32::Device {
public:
    struct Copy {
        int sx, sy, sw, sh, dx, dy, dw, dh;
        std::uint32_t firstPixel;
    };
    explicit PageDevice(std::vector<Copy>& copies) : copies_(copies) {}
    bool stretchFrom(const gdi32::PixelBuffer& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                     int dh) override
    {
        copies_.push_back({sx, sy, sw, sh, dx, dy, dw, dh, src.at(sx, sy)});
        return true;
    }

private:
    std::vector<Copy>& copies_;
};

} // namespace

TEST(stretch_copy, a_memory_context_draws_into_its_selected_bitmap)
{
    Window window;
    HDC memory = CreateCompatibleDC(window.hdc);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(Capture(memory)->width, 1);
    HBITMAP bitmap = CreateCompatibleBitmap(window.hdc, 20, 10);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ original = SelectObject(memory, bitmap);
    auto pixels = Capture(memory);
    ASSERT_EQ(pixels->width, 20);
    ASSERT_EQ(pixels->height, 10);
    EXPECT_TRUE(RowIs(*pixels, 0, 0, 19, kBlack)); // fresh bitmaps are black
    Rectangle(memory, 0, 0, 20, 10);
    MoveToEx(memory, 2, 5, nullptr);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ previousPen = SelectObject(memory, red);
    LineTo(memory, 8, 5);
    SelectObject(memory, previousPen);
    DeleteObject(red);
    EXPECT_TRUE(RowIs(*pixels, 5, 2, 7, kRed));
    EXPECT_TRUE(RowIs(*pixels, 4, 1, 18, kWhite));
    EXPECT_TRUE(RowIs(*window.buffer, 5, 0, 39, kWhite)); // the window is untouched
    EXPECT_EQ(SelectObject(memory, original), bitmap);
    DeleteDC(memory);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(stretch_copy, bitmap_sizes_out_of_range_are_refused)
{
    Window window;
    EXPECT_EQ(CreateCompatibleBitmap(window.hdc, 0, 10), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(window.hdc, 10, -1), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(window.hdc, 16385, 1), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(window.hdc, 1, 2000000000), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 10, 10), nullptr);
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(0x5)), nullptr);
}

TEST(stretch_copy, a_doubled_copy_repeats_every_pixel_twice_each_way)
{
    auto from = std::make_shared<gdi32::PixelBuffer>(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            from->at(x, y) = static_cast<std::uint32_t>(y * 16 + x);
    auto to = std::make_shared<gdi32::PixelBuffer>(10, 8, kRed);
    HDC source = gdi32::CreateBufferDC(from);
    HDC dest = gdi32::CreateBufferDC(to);
    EXPECT_TRUE(StretchBlt(dest, 1, 1, 6, 4, source, 1, 1, 3, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(to->at(1 + x, 1 + y), static_cast<std::uint32_t>((1 + y / 2) * 16 + 1 + x / 2));
    EXPECT_TRUE(RowIs(*to, 0, 0, 9, kRed));
    EXPECT_TRUE(ColumnIs(*to, 7, 0, 7, kRed));
    EXPECT_TRUE(RowIs(*to, 5, 0, 9, kRed));
    DeleteDC(source);
    DeleteDC(dest);
}

TEST(stretch_copy, a_copy_is_clipped_to_both_surfaces)
{
    auto from = std::make_shared<gdi32::PixelBuffer>(4, 4, kBlack);
    auto to = std::make_shared<gdi32::PixelBuffer>(10, 10, kRed);
    HDC source = gdi32::CreateBufferDC(from);
    HDC dest = gdi32::CreateBufferDC(to);
    // Source (2, 2, 4x4) reaches 2 pixels past the source; doubled at (6, 6)
    // the destination shows its first 4x4 only.
    EXPECT_TRUE(StretchBlt(dest, 6, 6, 8, 8, source, 2, 2, 4, 4, SRCCOPY));
    for (int y = 6; y < 10; ++y)
        EXPECT_TRUE(RowIs(*to, y, 6, 9, kBlack));
    EXPECT_TRUE(RowIs(*to, 5, 0, 9, kRed));
    EXPECT_TRUE(StretchBlt(dest, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, source, 0, 0, 4, 4, SRCCOPY));
    DeleteDC(source);
    DeleteDC(dest);
}

TEST(stretch_copy, only_a_plain_source_copy_is_done)
{
    Window window;
    HDC source = gdi32::CreateBufferDC(std::make_shared<gdi32::PixelBuffer>(4, 4, kBlack));
    EXPECT_FALSE(StretchBlt(window.hdc, 0, 0, 4, 4, source, 0, 0, 4, 4, 0x00EE0086 /* SRCPAINT */));
    EXPECT_FALSE(StretchBlt(window.hdc, 0, 0, 4, 4, nullptr, 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(RowIs(*window.buffer, 0, 0, 39, kWhite));
    DeleteDC(source);
}

TEST(stretch_copy, the_print_copy_goes_to_the_device_as_asked)
{
    Window window;
    std::vector<PageDevice::Copy> copies;
    HDC printer = gdi32::CreateDeviceDC(std::make_unique<PageDevice>(copies));
    ASSERT_NE(gdi32::DeviceOf(printer), nullptr);
    EXPECT_EQ(gdi32::DeviceOf(window.hdc), nullptr);
    HDC memory = CreateCompatibleDC(window.hdc);
    HBITMAP bitmap = CreateCompatibleBitmap(window.hdc, 800, 540);
    HGDIOBJ original = SelectObject(memory, bitmap);
    EXPECT_TRUE(StretchBlt(printer, 0, 0, 1590, 1060, memory, 0, 0, 795, 530, SRCCOPY));
    ASSERT_EQ(copies.size(), 1u);
    const auto& copy = copies[0];
    EXPECT_EQ((std::vector<int>{copy.sx, copy.sy, copy.sw, copy.sh, copy.dx, copy.dy, copy.dw, copy.dh}),
              (std::vector<int>{0, 0, 795, 530, 0, 0, 1590, 1060}));
    // Lines on a device context are not drawn.
    EXPECT_FALSE(LineTo(printer, 10, 10));
    SelectObject(memory, original);
    DeleteDC(memory);
    DeleteObject(bitmap);
    EXPECT_TRUE(DeleteDC(printer));
    EXPECT_EQ(gdi32::DeviceOf(printer), nullptr);
}
