// Pens, brushes, bitmaps and contexts as handles: what SelectObject gives
// back, what a fresh context holds, when objects die, and that bad handles
// get the failure value.
#include "pixels.h"

using namespace pixels;

namespace {

struct Page {
    std::shared_ptr<gdi32::PixelBuffer> buffer = std::make_shared<gdi32::PixelBuffer>(40, 20);
    HDC hdc = gdi32::CreateBufferDC(buffer);
    ~Page() { DeleteDC(hdc); }
};

} // namespace

TEST(gdi_objects, a_fresh_context_holds_the_stock_black_pen_and_white_brush)
{
    Page page;
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    EXPECT_EQ(SelectObject(page.hdc, red), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(page.hdc, GetStockObject(NULL_BRUSH)), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(page.hdc, GetStockObject(BLACK_PEN)), red);
    DeleteObject(red);
    POINT at{-1, -1};
    MoveToEx(page.hdc, 5, 5, &at);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

TEST(gdi_objects, two_contexts_on_one_buffer_keep_their_own_state)
{
    Page page;
    HDC second = gdi32::CreateBufferDC(page.buffer);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ previous = SelectObject(second, red);
    MoveToEx(second, 0, 3, nullptr);
    LineTo(second, 10, 3);
    MoveToEx(page.hdc, 0, 4, nullptr);
    LineTo(page.hdc, 10, 4);
    EXPECT_TRUE(RowIs(*page.buffer, 3, 0, 9, kRed));
    EXPECT_TRUE(RowIs(*page.buffer, 4, 0, 9, kBlack));
    EXPECT_EQ(gdi32::BufferOf(second), page.buffer);
    SelectObject(second, previous);
    DeleteObject(red);
    EXPECT_TRUE(DeleteDC(second));
}

TEST(gdi_objects, the_live_pen_count_follows_create_and_delete)
{
    const int before = gdi32::LiveObjectCounts().pens;
    HPEN a = CreatePen(PS_DASH, 1, RGB(255, 0, 0));
    HPEN b = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, before + 2);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, before);
    GetStockObject(BLACK_PEN);
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, before);
}

TEST(gdi_objects, the_live_counts_follow_contexts_and_bitmaps)
{
    const gdi32::LiveObjects before = gdi32::LiveObjectCounts();
    HDC hdcMem = CreateCompatibleDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(hdcMem, 8, 8);
    SelectObject(hdcMem, bitmap);
    gdi32::LiveObjects both = before;
    ++both.contexts;
    ++both.bitmaps;
    EXPECT_EQ(gdi32::LiveObjectCounts(), both);
    // Still selected: it dies with the context.
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(gdi32::LiveObjectCounts(), both);
    EXPECT_TRUE(DeleteDC(hdcMem));
    EXPECT_EQ(gdi32::LiveObjectCounts(), before);
    GetStockObject(WHITE_BRUSH);
    EXPECT_EQ(gdi32::LiveObjectCounts(), before);
}

TEST(gdi_objects, deleting_a_selected_pen_waits_until_it_is_deselected)
{
    Page page;
    const int before = gdi32::LiveObjectCounts().pens;
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ previous = SelectObject(page.hdc, red);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, before + 1);
    // The context still draws with it.
    MoveToEx(page.hdc, 0, 1, nullptr);
    LineTo(page.hdc, 5, 1);
    EXPECT_TRUE(RowIs(*page.buffer, 1, 0, 4, kRed));
    EXPECT_EQ(SelectObject(page.hdc, previous), red);
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, before);
    EXPECT_EQ(SelectObject(page.hdc, red), nullptr);
}

TEST(gdi_objects, deleting_a_context_lets_go_of_its_objects)
{
    const int before = gdi32::LiveObjectCounts().pens;
    Page page;
    HDC hdc = gdi32::CreateBufferDC(page.buffer);
    HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    SelectObject(hdc, pen);
    DeleteObject(pen);
    EXPECT_TRUE(DeleteDC(hdc));
    EXPECT_EQ(gdi32::LiveObjectCounts().pens, before);
}

TEST(gdi_objects, stock_objects_survive_deletion)
{
    Page page;
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_NE(SelectObject(page.hdc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_TRUE(Rectangle(page.hdc, 0, 0, 10, 10));
    EXPECT_TRUE(PixelIs(*page.buffer, 0, 0, kBlack));
    EXPECT_TRUE(PixelIs(*page.buffer, 5, 5, kWhite));
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(gdi_objects, stale_handles_are_refused)
{
    Page page;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    DeleteObject(pen);
    // The slot is reused by the next object, yet the old handle stays dead.
    HPEN next = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    EXPECT_EQ(SelectObject(page.hdc, pen), nullptr);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(next));

    HDC gone = gdi32::CreateBufferDC(page.buffer);
    EXPECT_TRUE(DeleteDC(gone));
    EXPECT_FALSE(DeleteDC(gone));
    EXPECT_FALSE(MoveToEx(gone, 1, 1, nullptr));
    EXPECT_FALSE(LineTo(gone, 1, 1));
    EXPECT_FALSE(Rectangle(gone, 0, 0, 5, 5));
    EXPECT_FALSE(TextOutA(gone, 0, 0, "x", 1));
    EXPECT_EQ(gdi32::BufferOf(gone), nullptr);
}

TEST(gdi_objects, null_and_wrong_kind_handles_get_the_failure_value)
{
    Page page;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    EXPECT_FALSE(LineTo(reinterpret_cast<HDC>(pen), 3, 3));
    EXPECT_EQ(SelectObject(page.hdc, page.hdc), nullptr);
    EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
    EXPECT_EQ(SelectObject(page.hdc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(page.hdc, reinterpret_cast<HGDIOBJ>(0x1234567)), nullptr);
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteObject(page.hdc));
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(pen)));
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_FALSE(PolylineTo(page.hdc, nullptr, 2));
    EXPECT_FALSE(TextOutA(page.hdc, 0, 0, nullptr, 3));
    EXPECT_EQ(CreatePen(77, 1, 0), nullptr);
    EXPECT_TRUE(DeleteObject(pen));
}

TEST(gdi_objects, a_bitmap_goes_into_one_memory_context_at_a_time)
{
    Page page;
    HDC first = CreateCompatibleDC(page.hdc);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(page.hdc, 8, 8);
    HGDIOBJ original = SelectObject(first, bitmap);
    EXPECT_NE(original, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    // Not into a context on a window's buffer either.
    EXPECT_EQ(SelectObject(page.hdc, bitmap), nullptr);
    EXPECT_EQ(SelectObject(first, original), bitmap);
    EXPECT_NE(SelectObject(second, bitmap), nullptr);
    DeleteDC(first);
    DeleteDC(second);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap));
}
