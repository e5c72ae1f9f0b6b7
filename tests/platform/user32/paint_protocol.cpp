// Painting: the update region, erasing with the class brush, validation by
// BeginPaint, and contexts from GetDC on the same client buffer.
#include "platform/gdi32/surface.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK QuietProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class PaintProtocol : public testing::Test {
protected:
    void SetUp() override
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = QuietProc;
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            wc.lpszClassName = "PaintClass";
            RegisterClassA(&wc);
            registered = true;
        }
        hwnd = CreateWindowExA(0, "PaintClass", "paint", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                               CW_USEDEFAULT, 800, 540, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override { DestroyWindow(hwnd); }

    // Paints the whole client black through a context from GetDC.
    void Blacken()
    {
        HDC hdc = GetDC(hwnd);
        RECT all{0, 0, 794, 496};
        FillRect(hdc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(hwnd, hdc);
    }

    std::uint32_t Pixel(int x, int y)
    {
        HDC hdc = GetDC(hwnd);
        std::uint32_t value = gdi32::BufferOf(hdc)->at(x, y);
        ReleaseDC(hwnd, hdc);
        return value;
    }

    HWND hwnd = nullptr;
};

TEST_F(PaintProtocol, ClientAreaOfTheFixedFrame)
{
    RECT rc;
    ASSERT_TRUE(GetClientRect(hwnd, &rc));
    // 800 x 540 less a 3-pixel frame and a 19-pixel caption (no menu here).
    EXPECT_EQ(rc.right, 794);
    EXPECT_EQ(rc.bottom, 540 - 6 - 19);
}

TEST_F(PaintProtocol, BeginPaintErasesOnlyTheInvalidPartAndValidates)
{
    Blacken();
    RECT part{10, 20, 30, 40};
    InvalidateRect(hwnd, &part, TRUE);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(ps.rcPaint.left, 10);
    EXPECT_EQ(ps.rcPaint.bottom, 40);
    EXPECT_FALSE(ps.fErase);
    EndPaint(hwnd, &ps);
    EXPECT_EQ(Pixel(10, 20), 0xFFFFFFu);
    EXPECT_EQ(Pixel(29, 39), 0xFFFFFFu);
    EXPECT_EQ(Pixel(30, 39), 0x000000u);
    EXPECT_EQ(Pixel(9, 20), 0x000000u);
    RECT left;
    EXPECT_FALSE(GetUpdateRect(hwnd, &left, FALSE));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(PaintProtocol, InvalidateWithoutEraseKeepsThePixels)
{
    Blacken();
    InvalidateRect(hwnd, nullptr, FALSE);
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    EXPECT_EQ(Pixel(100, 100), 0x000000u);
}

TEST_F(PaintProtocol, UpdateWindowPaintsOnlyWhenSomethingIsInvalid)
{
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    InvalidateRect(hwnd, nullptr, TRUE);
    EXPECT_TRUE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    UpdateWindow(hwnd); // DefWindowProcA's paint validates
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(PaintProtocol, ContextsBelongToTheirWindow)
{
    HDC hdc = GetDC(hwnd);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(ReleaseDC(hwnd, hdc), 1);
    EXPECT_EQ(ReleaseDC(hwnd, hdc), 0); // released once only
}

} // namespace
