// Window, menu and global memory handles of destroyed objects stay refused
// when new objects are made, even at the freed addresses; so do calls on a
// clipboard that is not open, on dialog items of a window that is no dialog,
// and handles of one kind given where another is asked for.
#include "platform/shell32/drops.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

namespace {

int userMessages = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_USER)
        return ++userMessages;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Each test may run in a process of its own: each registers the class.
void RegisterTestClass()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CountingProc;
        wc.lpszClassName = "ReuseClass";
        registered = RegisterClassA(&wc) != 0;
    }
}

HWND MakeWindow()
{
    RegisterTestClass();
    return CreateWindowExA(0, "ReuseClass", "", WS_CAPTION, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
}

TEST(StaleHandles, DestroyedWindowStaysStaleWhenAnotherIsCreated)
{
    HWND old = MakeWindow();
    ASSERT_NE(old, nullptr);
    ASSERT_TRUE(DestroyWindow(old));
    HWND current = MakeWindow(); // may take the old one's place
    ASSERT_NE(current, nullptr);
    userMessages = 0;
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(SendMessageA(old, WM_USER, 0, 0), 0);
    EXPECT_EQ(userMessages, 0);
    EXPECT_FALSE(DestroyWindow(old));
    EXPECT_TRUE(IsWindow(current));
    EXPECT_EQ(SendMessageA(current, WM_USER, 0, 0), 1);
    EXPECT_TRUE(DestroyWindow(current));
}

TEST(StaleHandles, DestroyedMenuStaysStaleWhenAnotherIsLoaded)
{
    HMENU old = LoadMenuA(nullptr, "ZARVEN");
    ASSERT_NE(old, nullptr);
    ASSERT_TRUE(DestroyMenu(old));
    HMENU current = LoadMenuA(nullptr, "ZARVEN");
    ASSERT_NE(current, nullptr);
    EXPECT_FALSE(DestroyMenu(old));
    RegisterTestClass();
    EXPECT_EQ(CreateWindowExA(0, "ReuseClass", "", WS_CAPTION, 0, 0, 200, 100, nullptr, old, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    // A handle of one kind is no handle of the other.
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(current)));
    EXPECT_TRUE(DestroyMenu(current));
}

TEST(StaleHandles, FreedMemoryIsRefusedByTheClipboardToo)
{
    HGLOBAL freed = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(freed, nullptr);
    EXPECT_EQ(GlobalFree(freed), nullptr);
    HGLOBAL current = GlobalAlloc(GMEM_MOVEABLE, 16);
    EXPECT_EQ(GlobalLock(freed), nullptr);
    EXPECT_EQ(GlobalFree(freed), freed);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    EXPECT_EQ(SetClipboardData(CF_TEXT, current), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(SetClipboardData(CF_TEXT, freed), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GlobalFree(current), nullptr); // refused data stays the program's

    HWND window = MakeWindow();
    EXPECT_FALSE(SetDlgItemTextA(window, IDOK, "OK"));
    EXPECT_TRUE(DestroyWindow(window));
}

TEST(StaleHandles, DropAndMemoryHandlesAreNotEachOther)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    for (int i = 0; i < 8; i++) // the block's number is among the drops' first eight
        EXPECT_EQ(GlobalSize(reinterpret_cast<HGLOBAL>(shell32::AddDrop({"/tmp/a.PID"}))), 0u);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

} // namespace
