// The message queue: sent messages at once, posted ones in order, paints made
// up when the queue is empty, timers after them, the quit message last.
#include "platform/user32/testing.h"
#include "platform/user32/window.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> received;

// The focus comes from the window system in its own time: it is left out.
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS)
        received.push_back(msg);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(const char* className)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    received.clear();
    return CreateWindowExA(0, className, "test", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 200, 100,
                           nullptr, nullptr, nullptr, nullptr);
}

// Runs the loop until the quit message; returns GetMessageA's exit code.
int RunLoop()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return static_cast<int>(msg.wParam);
}

TEST(MessageOrder, CreateShowPaintCloseQuit)
{
    HWND hwnd = MakeWindow("OrderClass");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(received, (std::vector<UINT>{WM_CREATE}));
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    UpdateWindow(hwnd);
    EXPECT_EQ(received, (std::vector<UINT>{WM_CREATE, WM_SHOWWINDOW, WM_PAINT}));

    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunLoop(), 7);
    EXPECT_EQ(received, (std::vector<UINT>{WM_CREATE, WM_SHOWWINDOW, WM_PAINT, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(MessageOrder, PostedInOrderThenPaintThenQuit)
{
    HWND hwnd = MakeWindow("QueueClass");
    ShowWindow(hwnd, SW_SHOW); // leaves the whole client waiting to be painted
    received.clear();
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunLoop(), 7);
    // Posted messages come before the made-up paint; the window is gone before it.
    EXPECT_EQ(received, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST(MessageOrder, PaintMadeUpWhenQueueEmpty)
{
    HWND hwnd = MakeWindow("PaintClass");
    ShowWindow(hwnd, SW_SHOW);
    received.clear();
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    DispatchMessageA(&msg);
    // Painted and validated: no second paint.
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(hwnd);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(MessageOrder, TimerAfterPostedAndPaintUntilKilled)
{
    HWND hwnd = MakeWindow("TimerClass");
    ShowWindow(hwnd, SW_SHOW);
    received.clear();
    ASSERT_EQ(SetTimer(hwnd, 5, 10, nullptr), 5u);
    PostMessageA(hwnd, WM_USER, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER)
        DispatchMessageA(&msg);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(received, (std::vector<UINT>{WM_USER, WM_PAINT}));

    EXPECT_TRUE(KillTimer(hwnd, 5));
    user32::testing::AfterMilliseconds(50, [hwnd] { PostMessageA(hwnd, WM_USER + 1, 0, 0); });
    ASSERT_GT(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    SetTimer(hwnd, 6, 10, nullptr);
    DestroyWindow(hwnd);
    EXPECT_FALSE(KillTimer(hwnd, 6)); // gone with the window
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(MessageOrder, StaleAndNullHandlesAreRefused)
{
    HWND hwnd = MakeWindow("StaleClass");
    DestroyWindow(hwnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_EQ(BeginPaint(hwnd, nullptr), nullptr);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    EXPECT_EQ(GetMessageA(&msg, hwnd, 0, 0), -1);
    EXPECT_EQ(EndDialog(nullptr, 1), FALSE);
}

TEST(MessageOrder, WindowDestroyedWhileBeingHidden)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_SHOWWINDOW && !wParam)
            DestroyWindow(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    };
    wc.lpszClassName = "HideClass";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "HideClass", "hide", WS_CAPTION | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(MessageOrder, DestroyWindowFromItsOwnDestroyMessage)
{
    static int destroys = 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_DESTROY) {
            ++destroys;
            DestroyWindow(hwnd);
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    };
    wc.lpszClassName = "TwiceDestroyedClass";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "TwiceDestroyedClass", "", WS_CAPTION, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(destroys, 1);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(MessageOrder, ClassNamesAreUniqueWithoutRegardToCase)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "TwiceClass";
    EXPECT_NE(RegisterClassA(&wc), 0);
    wc.lpszClassName = "TWICECLASS";
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
}

} // namespace
