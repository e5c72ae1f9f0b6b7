// The cursor and zoom driven by the messages the windows get: in a chart
// window the pointer shows the cursor, the wheel zooms around it, a drag
// pans, a double click gives the default range back, the keys step and Esc
// takes the cursor away and then closes; in the main window a click on the
// chart shows the cursor over the page, which Esc or another file removes.
#include "app/compare.h"
#include "app/pidview.h"
#include "app/resource.h"
#include "main_window_fixture.h"
#include "pidfile.h"
#include "platform/gdi32/surface.h"
#include "platform/user32/testing.h"

#include <cstring>

#include <vector>

namespace {

using ChartPointer = MainWindowRunning;

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

// The window's pixels once it has painted.
std::vector<std::uint32_t> Painted(HWND hwnd)
{
    UpdateWindow(hwnd);
    HDC hdc = GetDC(hwnd);
    const auto& buffer = gdi32::BufferOf(hdc)->pixels;
    std::vector<std::uint32_t> pixels(buffer.begin(), buffer.end());
    ReleaseDC(hwnd, hdc);
    return pixels;
}

} // namespace

TEST_F(ChartPointer, the_chart_windows_cursor_and_zoom_follow_the_messages)
{
    static COMPARESET set;
    set.nRuns = 1;
    set.run[0].rec.iPramSamp = 5; // 256 samples at 50 ms: 0 to 12.75 s
    std::strcpy(set.run[0].szName, "A\tB.PID");
    HWND chart = OpenCompareWindow(&set);
    ASSERT_NE(chart, nullptr);
    const CHARTVIEW* view = FindChartView(chart);
    SendMessageA(chart, WM_MOUSEMOVE, 0, At(CMP_LEFT + 57, 150)); // 1.275 s: the sample at 1.3 s
    EXPECT_TRUE(view->bCursor);
    EXPECT_EQ(view->llCursorMs, 1300);
    POINT pt = {CMP_LEFT, 150};
    ClientToScreen(chart, &pt);
    SendMessageA(chart, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), At(pt.x, pt.y));
    EXPECT_EQ(view->axes.llEndMs, 6375); // halved around the cursor at 0
    SendMessageA(chart, WM_CHAR, '+', 0);
    EXPECT_EQ(view->axes.llEndMs - view->axes.llStartMs, 3187);
    SendMessageA(chart, WM_LBUTTONDOWN, MK_LBUTTON, At(300, 150));
    SendMessageA(chart, WM_MOUSEMOVE, MK_LBUTTON, At(300 - 57, 150));
    SendMessageA(chart, WM_LBUTTONUP, 0, At(300 - 57, 150));
    EXPECT_EQ(view->axes.llStartMs, 318); // a tenth of the range
    SendMessageA(chart, WM_LBUTTONDBLCLK, MK_LBUTTON, At(300, 150));
    EXPECT_TRUE(IsDefaultRange(&view->axes));
    SendMessageA(chart, WM_KEYDOWN, VK_END, 0);
    SendMessageA(chart, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(view->llCursorMs, 12700);
    // The copy: the figures' header and the run's line, then the readout.
    SendMessageA(chart, WM_COMMAND, IDM_COMPARE_COPY, 0);
    const std::u16string copied = user32::testing::ClipboardText();
    EXPECT_EQ(copied.substr(0, 5), u"ファイル\t");
    EXPECT_NE(copied.find(u"\r\nA?B.PID\t0\t0\t0\t0\t50\t"), std::u16string::npos); // the name's tab made safe
    const std::u16string readout = u"\r\n時刻 [s]\t1: A?B.PID [rpm]\r\n12.70\t0\r\n";
    EXPECT_EQ(copied.substr(copied.size() - readout.size()), readout);
    SendMessageA(chart, WM_COMMAND, IDM_VIEW_MARKS, 0);
    EXPECT_TRUE(view->bMarks);
    EXPECT_EQ(GetMenuState(GetMenu(chart), IDM_VIEW_MARKS, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    SendMessageA(chart, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(view->bCursor);
    EXPECT_TRUE(IsWindow(chart));
    SendMessageA(chart, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(chart));
}

TEST_F(ChartPointer, the_main_windows_cursor_is_over_the_page_only_while_shown)
{
    pidtest::ScratchDir dir;
    const std::string run = dir.write("run.PID", pidtest::pidImage({})), other = dir.write("other.PID", pidtest::pidImage({}));
    LoadChosenFile(hWnd, run.c_str(), static_cast<UINT>(run.size()));
    const std::vector<std::uint32_t> page = Painted(hWnd);
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, At(150, 200));
    EXPECT_NE(Painted(hWnd), page);
    SendMessageA(hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Painted(hWnd), page);
    SendMessageA(hWnd, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_NE(Painted(hWnd), page);
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, At(700, 450)); // off the chart
    EXPECT_EQ(Painted(hWnd), page);
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, At(150, 200));
    LoadChosenFile(hWnd, other.c_str(), static_cast<UINT>(other.size()));
    EXPECT_EQ(Painted(hWnd), page);
}
